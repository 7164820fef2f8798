#include "SvgPicture.h"

#include "SvgArtShapes.h"
#include "SvgText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>

namespace pello::cli {

using host::ArtObject;
using svg::num;

namespace {

constexpr double kScale = 1.5;
constexpr const char *kSelectionColor = "#1a73e8";
constexpr const char *kNotDrawnColor = "#d0021b";
constexpr double kCaptionCharWidth = 7.2; // bold sans-serif at 12
constexpr double kCaptionLine = 15;

std::string hex(double r, double g, double b) {
  auto channel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(r), channel(g), channel(b));
  return text;
}

} // namespace

void SvgPicture::art(const ArtObject &o, int depth) {
  if (depth == 0) {
    if (std::string field = nonFiniteField(model_, o); !field.empty()) {
      notDrawn(o, field);
      return;
    }
  }
  switch (o.type) {
  case kPathArt:
  case kMysteryPathArt:
    path(o, pathData(o.geometry));
    break;
  case kGroupArt:
    body_ += "<g id=\"" + svg::escape(o.id) + "\">\n";
    for (host::Serial child : o.children)
      if (const ArtObject *c = model_.object(child)) art(*c, depth + 1);
    body_ += "</g>\n";
    break;
  case kCompoundPathArt:
    compound(o);
    break;
  case kTextArt:
  case kTextPathArt:
    text(o);
    break;
  case kPlacedArt:
    placed(o);
    break;
  case kRasterArt:
    raster(o);
    break;
  default:
    break;
  }
  if (depth == 0) label(o);
}

void SvgPicture::selection() {
  for (host::Serial serial : model_.selection()) {
    const ArtObject *o = model_.object(serial);
    if (!o) continue;
    Box b = bounds(model_, *o);
    if (b.empty) continue;
    marks_ += "<rect x=\"" + num(b.left - 2) + "\" y=\"" + num(b.top - 2) + "\" width=\"" +
              num(b.right - b.left + 4) + "\" height=\"" + num(b.bottom - b.top + 4) +
              "\" fill=\"none\" stroke=\"" + kSelectionColor +
              "\" stroke-width=\"1\" stroke-dasharray=\"4 2\"/>\n";
    for (double x : {b.left - 2, b.right + 2})
      for (double y : {b.top - 2, b.bottom + 2})
        marks_ += "<rect x=\"" + num(x - 2.5) + "\" y=\"" + num(y - 2.5) +
                  "\" width=\"5\" height=\"5\" fill=\"#ffffff\" stroke=\"" + kSelectionColor + "\"/>\n";
  }
}

std::string SvgPicture::svg(const View &view, const std::string &caption) const {
  auto [head, background] = frame(view, caption);
  if (!defs_.empty()) head += "<defs>\n" + defs_ + "</defs>\n";
  return head + background + body_ + marks_ + "</svg>\n";
}

PictureParts SvgPicture::parts(const View &view, const std::string &caption) {
  std::vector<std::pair<std::string, std::string>> art;
  Uses uses;
  for (host::Serial s : model_.topLevel())
    if (const ArtObject *o = model_.object(s)) art.emplace_back(o->id, topLevel(*o, uses));
  PictureParts out = frameParts(view, caption);
  out.art = std::move(art);
  return out;
}

std::string SvgPicture::topLevel(const ArtObject &o, Uses &uses) {
  uses = {};
  uses_ = &uses;
  body_.clear();
  art(o, 0);
  uses_ = nullptr;
  return std::exchange(body_, {});
}

bool SvgPicture::reuse(const Uses &uses) {
  for (const TileUse &use : uses.tiles) {
    // A placement known in this picture is found by its name, else drawn.
    auto known = use.placed.empty() ? patternIds_.end() : patternIds_.find(use.placed);
    if (known == patternIds_.end()) {
      std::string placed;
      if (tile(use.style, "", placed) != use.paint) return false;
    } else if (use.paint != "url(#" + known->second + ")") {
      return false;
    }
  }
  notDrawn_.insert(notDrawn_.end(), uses.notes.begin(), uses.notes.end());
  return true;
}

PictureParts SvgPicture::frameParts(const View &view, const std::string &caption) {
  PictureParts out;
  body_.clear();
  selection();
  std::tie(out.head, out.frame) = frame(view, caption);
  out.patterns = std::move(patternParts_);
  out.marks = std::move(marks_);
  return out;
}

// The <svg> tag with the title; the background and the caption.
std::pair<std::string, std::string> SvgPicture::frame(View view, const std::string &caption) const {
  // A long caption is wrapped to the picture's width; the picture grows
  // upward to hold its lines.
  const auto perLine =
      static_cast<std::size_t>(std::max(20.0, (view.right - view.left - 16) / kCaptionCharWidth));
  std::vector<std::string> lines = svg::wrap(caption, perLine);
  const std::size_t captionLines = lines.size(); // the lines after it say what is not drawn
  for (const std::string &note : notDrawn_)
    for (std::string &line : svg::wrap(note, perLine))
      lines.push_back(std::move(line));
  view.top -= kCaptionLine * static_cast<double>(lines.size() - 1);
  std::string head = svg::header(view.left, view.top, view.right - view.left, view.bottom - view.top, kScale);
  head += "<title>" + svg::escape(caption) + "</title>\n";
  std::string out = "<rect x=\"" + num(view.left) + "\" y=\"" + num(view.top) + "\" width=\"" +
                    num(view.right - view.left) + "\" height=\"" + num(view.bottom - view.top) +
                    "\" fill=\"#ffffff\"/>\n";
  out += "<text font-family=\"sans-serif\" font-size=\"12\" font-weight=\"bold\" fill=\"#333333\">";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool note = i >= captionLines;
    out += "<tspan x=\"" + num(view.left + 8) + "\" y=\"" + num(view.top + 16 + kCaptionLine * double(i)) +
           "\"" + (note ? std::string(" fill=\"") + kNotDrawnColor + "\"" : "") + ">" +
           svg::escape(lines[i]) + "</tspan>";
  }
  out += "</text>\n";
  return {std::move(head), std::move(out)};
}

std::string SvgPicture::color(const AIColor &c, const std::string &owner) {
  switch (c.kind) {
  case kGrayColor: {
    double v = 1.0 - c.c.g.gray; // an amount of ink: 0 white, 1 black
    return hex(v, v, v);
  }
  case kFourColor: {
    const AIFourColorStyle &f = c.c.f;
    double k = 1.0 - f.black;
    return hex((1.0 - f.cyan) * k, (1.0 - f.magenta) * k, (1.0 - f.yellow) * k);
  }
  case kThreeColor:
    return hex(c.c.rgb.red, c.c.rgb.green, c.c.rgb.blue);
  case kPattern:
    return pattern(c.c.p, owner);
  case kNoneColor:
    return "none";
  case kCustomColor:
    return "#a07cc0";
  case kGradient:
    return "#7fa7c0";
  default:
    return "#999999";
  }
}

std::string SvgPicture::pattern(const AIPatternStyle &style, const std::string &owner) {
  std::string placed;
  std::string paint = tile(style, owner, placed);
  if (uses_) uses_->tiles.push_back(TileUse{style, std::move(placed), paint});
  return paint;
}

// A <pattern> for one use of a pattern: its tile, placed by `style.transform`
// (`placed` names the pattern and placement).
std::string SvgPicture::tile(const AIPatternStyle &style, const std::string &owner, std::string &placed) {
  const host::Pattern *p = model_.pattern(host::serialOf(style.pattern));
  if (!p) return "#bbbbbb";
  double w = p->tile.right - p->tile.left, h = p->tile.bottom - p->tile.top;
  if (!(w > 0) || !(h > 0)) return "#bbbbbb";
  // Uses of the same pattern placed alike share one <pattern>, which a
  // browser then draws once for all of them.
  placed =
      std::to_string(style.pattern ? host::serialOf(style.pattern) : 0) + " " + svg::matrix(style.transform);
  if (auto drawn = patternIds_.find(placed); drawn != patternIds_.end()) return "url(#" + drawn->second + ")";
  std::string id = stableIds_ ? stableId(placed) : "pattern-" + std::to_string(++patterns_) + "-";
  if (!stableIds_)
    for (char c : owner)
      if (std::isalnum(static_cast<unsigned char>(c)) || c == '-') id += c;
  patternIds_.emplace(placed, id);
  const std::size_t start = defs_.size();
  defs_ += "<pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\" x=\"" + num(p->tile.left) + "\" y=\"" +
           num(p->tile.top) + "\" width=\"" + num(w) + "\" height=\"" + num(h) + "\" patternTransform=\"" +
           svg::matrix(style.transform) + "\">\n";
  for (const host::PatternShape &s : p->shapes) {
    const std::string fill = " fill=\"" + svg::escape(s.color) + "\"/>\n";
    double l = std::min(s.bounds.left, s.bounds.right), t = std::min(s.bounds.top, s.bounds.bottom);
    double sw = std::fabs(s.bounds.right - s.bounds.left), sh = std::fabs(s.bounds.bottom - s.bounds.top);
    switch (s.kind) {
    case host::PatternShape::Kind::rectangle:
      defs_ += "  <rect x=\"" + num(l) + "\" y=\"" + num(t) + "\" width=\"" + num(sw) + "\" height=\"" +
               num(sh) + "\"" + fill;
      break;
    case host::PatternShape::Kind::ellipse:
      defs_ += "  <ellipse cx=\"" + num(l + sw / 2) + "\" cy=\"" + num(t + sh / 2) + "\" rx=\"" +
               num(sw / 2) + "\" ry=\"" + num(sh / 2) + "\"" + fill;
      break;
    case host::PatternShape::Kind::polygon: {
      std::string points;
      for (const ASRealPoint &q : s.points)
        points += (points.empty() ? "" : " ") + num(q.h) + "," + num(q.v);
      defs_ += "  <polygon points=\"" + points + "\"" + fill;
      break;
    }
    }
  }
  defs_ += "</pattern>\n";
  patternParts_.emplace_back(id, defs_.substr(start));
  return "url(#" + id + ")";
}

// "pattern-" and a hash of the placement; another placement of the same
// hash (most unlikely) gets a letter more.
std::string SvgPicture::stableId(const std::string &placed) {
  std::string id = "pattern-" + svg::hashed(placed);
  while (!stableIdsUsed_.insert(id).second)
    id += 'x';
  return id;
}

std::string SvgPicture::paintAttributes(const ArtObject &o) {
  const AIPathStyle &s = o.style;
  std::string a = " fill=\"" + (s.fillPaint ? color(s.fill.color, o.id + "-fill") : "none") + "\"";
  if (s.evenodd) a += " fill-rule=\"evenodd\"";
  if (!s.strokePaint) return a + " stroke=\"none\"";
  const AIStrokeStyle &k = s.stroke;
  a += " stroke=\"" + color(k.color, o.id + "-stroke") + "\" stroke-width=\"" +
       num(k.width > 0 ? k.width : 0.5) + "\"";
  static const char *caps[] = {"butt", "round", "square"};
  static const char *joins[] = {"miter", "round", "bevel"};
  if (k.cap >= 0 && k.cap <= 2) a += std::string(" stroke-linecap=\"") + caps[k.cap] + "\"";
  if (k.join >= 0 && k.join <= 2) a += std::string(" stroke-linejoin=\"") + joins[k.join] + "\"";
  if (k.miterLimit >= 1) a += " stroke-miterlimit=\"" + num(k.miterLimit) + "\"";
  int n = std::min<int>(k.dash.length, kMaxDashComponents);
  std::string dashes;
  double total = 0;
  bool usable = n > 0;
  for (int i = 0; i < n; ++i) {
    usable = usable && std::isfinite(k.dash.array[i]) && k.dash.array[i] >= 0;
    total += k.dash.array[i];
    dashes += (i ? " " : "") + num(k.dash.array[i]);
  }
  if (usable && total > 0)
    a += " stroke-dasharray=\"" + dashes + "\" stroke-dashoffset=\"" + num(k.dash.offset) + "\"";
  return a;
}

void SvgPicture::path(const ArtObject &o, const std::string &d) {
  if (d.empty()) return;
  body_ += "<path id=\"" + svg::escape(o.id) + "\" d=\"" + d + "\"" + paintAttributes(o) + "/>\n";
}

// A compound path paints its children's outlines as one, in the style of
// its first path.
void SvgPicture::compound(const ArtObject &o) {
  std::string d;
  const ArtObject *styled = nullptr;
  for (host::Serial child : o.children) {
    const ArtObject *c = model_.object(child);
    if (!c || !c->hasStyle()) continue;
    if (!styled) styled = c;
    d += (d.empty() ? "" : " ") + pathData(c->geometry);
  }
  if (styled) {
    ArtObject shown = *styled;
    shown.id = o.id;
    path(shown, d);
  }
}

void SvgPicture::text(const ArtObject &o) {
  body_ += "<g id=\"" + svg::escape(o.id) + "\" font-family=\"serif\" font-size=\"" + num(kTextSize) +
           "\" fill=\"#202020\">\n";
  for (const host::TextPath &t : o.textPaths)
    body_ += "  <text transform=\"" + svg::matrix(t.matrix) + "\">" + svg::escape(t.text) + "</text>\n";
  body_ += "</g>\n";
}

void SvgPicture::placed(const ArtObject &o) {
  double w = o.size.h, h = o.size.v;
  body_ += "<g id=\"" + svg::escape(o.id) + "\" transform=\"" + svg::matrix(o.matrix) + "\">\n";
  body_ += "  <rect width=\"" + num(w) + "\" height=\"" + num(h) +
           "\" fill=\"#eef3fb\" stroke=\"#4a6fa5\" stroke-width=\"1.5\"/>\n";
  body_ += "  <path d=\"M0 0 L" + num(w) + " " + num(h) + " M" + num(w) + " 0 L0 " + num(h) +
           "\" stroke=\"#9db3d3\" stroke-width=\"1\"/>\n";
  body_ += "  <text x=\"" + num(w / 2) + "\" y=\"" + num(h / 2 + 4) +
           "\" text-anchor=\"middle\" font-family=\"sans-serif\" font-size=\"11\" fill=\"#2d4d7a\">" +
           svg::escape(o.file.empty() ? "placed" : o.file) + "</text>\n";
  body_ += "</g>\n";
}

// Raster art as a small picture of coloured cells over its pixel area.
void SvgPicture::raster(const ArtObject &o) {
  double w = o.size.h, h = o.size.v;
  int cols = std::clamp(static_cast<int>(w), 1, 8), rows = std::clamp(static_cast<int>(h), 1, 8);
  body_ += "<g id=\"" + svg::escape(o.id) + "\" transform=\"" + svg::matrix(o.matrix) + "\">\n";
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x) {
      double fx = (x + 0.5) / cols, fy = (y + 0.5) / rows;
      double sun = std::hypot(fx - 0.7, fy - 0.3) < 0.2 ? 1.0 : 0.0;
      std::string fill = fy > 0.6 ? hex(0.25 + 0.2 * fx, 0.55 - 0.2 * fy + 0.1 * fx, 0.25)
                                  : hex(0.45 + 0.5 * sun + 0.1 * fy, 0.65 + 0.3 * sun, 0.95 - 0.6 * sun);
      body_ += "  <rect x=\"" + num(w * x / cols) + "\" y=\"" + num(h * y / rows) + "\" width=\"" +
               num(w / cols + 0.05) + "\" height=\"" + num(h / rows + 0.05) + "\" fill=\"" + fill + "\"/>\n";
    }
  body_ += "  <rect width=\"" + num(w) + "\" height=\"" + num(h) +
           "\" fill=\"none\" stroke=\"#404040\" stroke-width=\"0.5\"/>\n";
  body_ += "</g>\n";
}

void SvgPicture::label(const ArtObject &o) {
  Box b = bounds(model_, o);
  if (b.empty) return;
  body_ += "<text x=\"" + num(b.left) + "\" y=\"" + num(b.top - 5) +
           "\" font-family=\"sans-serif\" font-size=\"9\" fill=\"#808080\">" + svg::escape(labelText(o)) +
           "</text>\n";
}

// An object with a NaN or an infinity: a red frame where its finite
// points are, and a line under the caption saying which field.
void SvgPicture::notDrawn(const ArtObject &o, const std::string &field) {
  const std::string why =
      o.id + " is not drawn: its " + field + " holds a value that is not finite (NaN or infinity)";
  notDrawn_.push_back(why);
  if (uses_) uses_->notes.push_back(why);
  Box b = bounds(model_, o);
  if (b.empty) return;
  body_ += "<rect x=\"" + num(b.left) + "\" y=\"" + num(b.top) + "\" width=\"" + num(b.right - b.left) +
           "\" height=\"" + num(b.bottom - b.top) + "\" fill=\"none\" stroke=\"" + kNotDrawnColor +
           "\" stroke-width=\"1.5\" stroke-dasharray=\"3 2\"><title>" + svg::escape(why) +
           "</title></rect>\n";
  body_ += "<text x=\"" + num(b.left) + "\" y=\"" + num(b.top - 5) +
           "\" font-family=\"sans-serif\" font-size=\"9\" fill=\"" + kNotDrawnColor + "\">" +
           svg::escape(o.id + ": " + field + " not finite") + "</text>\n";
}

} // namespace pello::cli
