#include "pello/host/Document.h"

#include <cstring>
#include <functional>

namespace pello::host {

namespace {

bool same(ASReal x, ASReal y) {
  return std::memcmp(&x, &y, sizeof x) == 0;
}
bool same(const ASRealPoint &x, const ASRealPoint &y) {
  return same(x.h, y.h) && same(x.v, y.v);
}

using SamePattern = std::function<bool(AIPatternHandle, AIPatternHandle)>;

bool sameColor(const AIColor &x, const AIColor &y, const SamePattern &samePattern) {
  if (x.kind != y.kind) return false;
  switch (x.kind) {
  case kGrayColor:
    return same(x.c.g.gray, y.c.g.gray);
  case kFourColor:
    return same(x.c.f.cyan, y.c.f.cyan) && same(x.c.f.magenta, y.c.f.magenta) &&
           same(x.c.f.yellow, y.c.f.yellow) && same(x.c.f.black, y.c.f.black);
  case kThreeColor:
    return same(x.c.rgb.red, y.c.rgb.red) && same(x.c.rgb.green, y.c.rgb.green) &&
           same(x.c.rgb.blue, y.c.rgb.blue);
  case kPattern: {
    const AIPatternStyle &p = x.c.p, &q = y.c.p;
    return samePattern(p.pattern, q.pattern) && same(p.shiftDist, q.shiftDist) &&
           same(p.shiftAngle, q.shiftAngle) && same(p.scale, q.scale) && same(p.rotate, q.rotate) &&
           p.reflect == q.reflect && same(p.reflectAngle, q.reflectAngle) &&
           same(p.shearAngle, q.shearAngle) && same(p.shearAxis, q.shearAxis) &&
           identical(p.transform, q.transform);
  }
  default:
    return true; // the other kinds carry no values
  }
}

bool sameStyle(const AIPathStyle &x, const AIPathStyle &y, const SamePattern &samePattern) {
  const AIStrokeStyle &s = x.stroke, &t = y.stroke;
  bool dashes = s.dash.length == t.dash.length && same(s.dash.offset, t.dash.offset);
  for (int i = 0; i < kMaxDashComponents; ++i)
    dashes = dashes && same(s.dash.array[i], t.dash.array[i]);
  return x.fillPaint == y.fillPaint && x.strokePaint == y.strokePaint &&
         sameColor(x.fill.color, y.fill.color, samePattern) && x.fill.overprint == y.fill.overprint &&
         sameColor(s.color, t.color, samePattern) && s.overprint == t.overprint && same(s.width, t.width) &&
         dashes && s.cap == t.cap && s.join == t.join && same(s.miterLimit, t.miterLimit) &&
         x.clip == y.clip && x.lockClip == y.lockClip && x.evenodd == y.evenodd &&
         same(x.resolution, y.resolution);
}

bool sameRect(const RealRect &x, const RealRect &y) {
  return same(x.left, y.left) && same(x.top, y.top) && same(x.right, y.right) && same(x.bottom, y.bottom);
}

bool samePatternDefinition(const Pattern &x, const Pattern &y) {
  if (x.name != y.name || !sameRect(x.tile, y.tile) || x.shapes.size() != y.shapes.size()) return false;
  for (std::size_t i = 0; i < x.shapes.size(); ++i) {
    const PatternShape &s = x.shapes[i], &t = y.shapes[i];
    if (s.kind != t.kind || !sameRect(s.bounds, t.bounds) || s.color != t.color ||
        s.points.size() != t.points.size())
      return false;
    for (std::size_t k = 0; k < s.points.size(); ++k)
      if (!same(s.points[k], t.points[k])) return false;
  }
  return true;
}

// All but the children, the parent and the selection.
bool sameOwn(const ArtObject &x, const ArtObject &y, const SamePattern &samePattern) {
  if (x.id != y.id || x.name != y.name || x.type != y.type || x.textPaths.size() != y.textPaths.size())
    return false;
  if (x.hasStyle()) {
    if (!sameStyle(x.style, y.style, samePattern) || x.geometry.closed != y.geometry.closed ||
        x.geometry.segments.size() != y.geometry.segments.size())
      return false;
    for (std::size_t i = 0; i < x.geometry.segments.size(); ++i) {
      const AIPathSegment &s = x.geometry.segments[i], &t = y.geometry.segments[i];
      if (!same(s.p, t.p) || !same(s.in, t.in) || !same(s.out, t.out) || s.corner != t.corner) return false;
    }
  }
  for (std::size_t i = 0; i < x.textPaths.size(); ++i)
    if (!identical(x.textPaths[i].matrix, y.textPaths[i].matrix) ||
        x.textPaths[i].text != y.textPaths[i].text)
      return false;
  return !x.hasMatrix() || (identical(x.matrix, y.matrix) && same(x.size, y.size) && x.file == y.file);
}

bool sameObject(const DocumentModel &mx, const ArtObject &x, const DocumentModel &my, const ArtObject &y,
                const SamePattern &samePattern) {
  if (x.selected != y.selected || x.children.size() != y.children.size() || !sameOwn(x, y, samePattern))
    return false;
  for (std::size_t i = 0; i < x.children.size(); ++i)
    if (!sameObject(mx, *mx.object(x.children[i]), my, *my.object(y.children[i]), samePattern)) return false;
  return true;
}

} // namespace

bool identical(const ASRealMatrix &x, const ASRealMatrix &y) {
  return same(x.a, y.a) && same(x.b, y.b) && same(x.c, y.c) && same(x.d, y.d) && same(x.tx, y.tx) &&
         same(x.ty, y.ty);
}

bool identical(const AIPathStyle &x, const AIPathStyle &y) {
  return sameStyle(x, y, [](AIPatternHandle p, AIPatternHandle q) { return p == q; });
}

bool identicalOwn(const ArtObject &x, const ArtObject &y) {
  return sameOwn(x, y, [](AIPatternHandle p, AIPatternHandle q) { return p == q; });
}

bool identical(const DocumentModel &x, const DocumentModel &y) {
  if (x.units != y.units || x.modified != y.modified || x.patterns().size() != y.patterns().size() ||
      x.topLevel().size() != y.topLevel().size() || x.selection().size() != y.selection().size() ||
      x.objectCount() != y.objectCount())
    return false;
  for (std::size_t i = 0; i < x.patterns().size(); ++i)
    if (!samePatternDefinition(x.patterns()[i], y.patterns()[i])) return false;
  // Patterns are the same when they have the same name in their documents.
  SamePattern samePattern = [&](AIPatternHandle p, AIPatternHandle q) {
    const Pattern *a = x.pattern(serialOf(p));
    const Pattern *b = y.pattern(serialOf(q));
    return a && b ? a->name == b->name : (!a && !b);
  };
  for (std::size_t i = 0; i < x.topLevel().size(); ++i)
    if (!sameObject(x, *x.object(x.topLevel()[i]), y, *y.object(y.topLevel()[i]), samePattern)) return false;
  for (std::size_t i = 0; i < x.selection().size(); ++i)
    if (x.object(x.selection()[i])->id != y.object(y.selection()[i])->id) return false;
  return true;
}

} // namespace pello::host
