#include "SvgArtShapes.h"

#include "SvgText.h"

#include <algorithm>
#include <cmath>

namespace pello::cli {

using host::ArtObject;
using host::DocumentModel;
using svg::num;

namespace {

bool finite(const ASRealMatrix &m) {
  return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
         std::isfinite(m.tx) && std::isfinite(m.ty);
}

std::string nonFiniteInColor(const AIColor &c, const std::string &where) {
  if (c.kind != kPattern) return "";
  const AIPatternStyle &p = c.c.p;
  if (!finite(p.transform)) return where + ".color.transform";
  for (double v :
       {p.shiftDist, p.shiftAngle, p.scale.h, p.scale.v, p.rotate, p.reflectAngle, p.shearAngle, p.shearAxis})
    if (!std::isfinite(v)) return where + ".color";
  return "";
}

} // namespace

double textWidth(const std::string &text) {
  return 0.55 * kTextSize * std::max<std::size_t>(text.size(), 1);
}

Box bounds(const DocumentModel &model, const ArtObject &o) {
  Box box;
  if (o.hasStyle()) {
    for (const AIPathSegment &s : o.geometry.segments) {
      box.add(s.p.h, s.p.v);
      box.add(s.in.h, s.in.v);
      box.add(s.out.h, s.out.v);
    }
  } else if (o.hasChildren()) {
    for (host::Serial child : o.children)
      if (const ArtObject *c = model.object(child)) box.add(bounds(model, *c));
  } else if (o.hasTextPaths()) {
    for (const host::TextPath &t : o.textPaths)
      box.addMappedRect(t.matrix, 0, -0.8 * kTextSize, textWidth(t.text), 0.25 * kTextSize);
  } else if (o.hasMatrix()) {
    box.addMappedRect(o.matrix, 0, 0, o.size.h, o.size.v);
  }
  return box;
}

std::string pathData(const host::PathGeometry &g) {
  const auto &s = g.segments;
  if (s.empty()) return {};
  auto point = [](const ASRealPoint &p) { return num(p.h) + " " + num(p.v); };
  auto same = [](const ASRealPoint &a, const ASRealPoint &b) { return a.h == b.h && a.v == b.v; };
  auto piece = [&](const AIPathSegment &from, const AIPathSegment &to) {
    if (same(from.out, from.p) && same(to.in, to.p)) return " L" + point(to.p);
    return " C" + point(from.out) + " " + point(to.in) + " " + point(to.p);
  };
  std::string d = "M" + point(s[0].p);
  for (std::size_t i = 1; i < s.size(); ++i)
    d += piece(s[i - 1], s[i]);
  if (g.closed && s.size() > 1) d += piece(s.back(), s.front()) + " Z";
  return d;
}

// The label over a top-level object: its id and, but for paths, its kind.
std::string labelText(const ArtObject &o) {
  switch (o.type) {
  case kGroupArt:
    return o.id + " group";
  case kCompoundPathArt:
    return o.id + " compound path";
  case kTextArt:
  case kTextPathArt:
    return o.id + " text";
  case kPlacedArt:
    return o.id + " placed";
  case kMysteryPathArt:
    return o.id + " mystery path";
  case kRasterArt:
    return o.id + " raster";
  default:
    return o.id;
  }
}

// The first field of `o` (or of its children) that holds a NaN or an
// infinity, "" when every number is finite. Such an object cannot be drawn
// as it stands: it is marked instead of being drawn with zeros.
std::string nonFiniteField(const DocumentModel &model, const ArtObject &o) {
  if (o.hasStyle()) {
    for (const AIPathSegment &s : o.geometry.segments)
      for (double v : {s.p.h, s.p.v, s.in.h, s.in.v, s.out.h, s.out.v})
        if (!std::isfinite(v)) return "geometry";
    if (std::string f = nonFiniteInColor(o.style.fill.color, "fill"); !f.empty()) return f;
    if (std::string f = nonFiniteInColor(o.style.stroke.color, "stroke"); !f.empty()) return f;
    const AIStrokeStyle &k = o.style.stroke;
    if (!std::isfinite(k.width) || !std::isfinite(k.miterLimit)) return "stroke";
    if (!std::isfinite(k.dash.offset)) return "stroke.dash.offset";
    for (int i = 0; i < std::min<int>(k.dash.length, kMaxDashComponents); ++i)
      if (!std::isfinite(k.dash.array[i])) return "stroke.dash.array";
  } else if (o.hasChildren()) {
    for (host::Serial child : o.children)
      if (const ArtObject *c = model.object(child))
        if (std::string f = nonFiniteField(model, *c); !f.empty()) return c->id + " " + f;
  } else if (o.hasTextPaths()) {
    for (std::size_t i = 0; i < o.textPaths.size(); ++i)
      if (!finite(o.textPaths[i].matrix)) return "textPaths[" + std::to_string(i) + "].matrix";
  } else if (o.hasMatrix()) {
    if (!finite(o.matrix)) return "matrix";
    if (!std::isfinite(o.size.h) || !std::isfinite(o.size.v)) return "size";
  }
  return "";
}

} // namespace pello::cli
