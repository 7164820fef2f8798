#include "pello/host/DocumentJson.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace pello::host {

Json realToJson(ASReal value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  // The shortest text that reads back to this float, kept as the double it
  // reads as, so that the JSON shows "0.1" rather than 0.10000000149011612.
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text - 1, value);
  if (ec == std::errc()) {
    *end = '\0';
    const double shortest = std::strtod(text, nullptr);
    const float back = static_cast<float>(shortest);
    if (std::memcmp(&back, &value, sizeof value) == 0) return shortest;
  }
  // Rounding through the double could land on a neighbouring float: the
  // float's own value as a double always comes back exactly.
  return static_cast<double>(value);
}

namespace {

Json boolean(ASBoolean value) {
  if (value == 0) return false;
  if (value == 1) return true;
  return value;
}

Json point(const ASRealPoint &p) {
  return Json::array({realToJson(p.h), realToJson(p.v)});
}

Json rect(const RealRect &r) {
  return Json::array({realToJson(r.left), realToJson(r.top), realToJson(r.right), realToJson(r.bottom)});
}

Json matrix(const ASRealMatrix &m) {
  return Json::array({realToJson(m.a), realToJson(m.b), realToJson(m.c), realToJson(m.d), realToJson(m.tx),
                      realToJson(m.ty)});
}

const char *artTypeName(ai_int16 type) {
  switch (type) {
  case kUnknownArt:
    return "unknown";
  case kGroupArt:
    return "group";
  case kPathArt:
    return "path";
  case kCompoundPathArt:
    return "compoundPath";
  case kTextArt:
    return "text";
  case kTextPathArt:
    return "textPath";
  case kTextRunArt:
    return "textRun";
  case kPlacedArt:
    return "placed";
  case kMysteryPathArt:
    return "mysteryPath";
  case kRasterArt:
    return "raster";
  default:
    return nullptr;
  }
}

Json named(const char *name, long code) {
  return name ? Json(name) : Json(code);
}

Json cap(ai_int16 v) {
  static const char *names[] = {"butt", "round", "projecting"};
  return named(v >= 0 && v < 3 ? names[v] : nullptr, v);
}

Json join(ai_int16 v) {
  static const char *names[] = {"miter", "round", "bevel"};
  return named(v >= 0 && v < 3 ? names[v] : nullptr, v);
}

class Writer {
public:
  explicit Writer(const DocumentModel &model) : model_(model) {}

  Json document() {
    Json out = Json::object();
    out["units"] = unitsName(model_.units);
    out["modified"] = model_.modified;
    Json patterns = Json::array();
    for (const Pattern &p : model_.patterns())
      patterns.push_back(pattern(p));
    out["patterns"] = std::move(patterns);
    Json art = Json::array();
    for (Serial s : model_.topLevel())
      art.push_back(object(*model_.object(s)));
    out["art"] = std::move(art);
    Json selection = Json::array();
    for (Serial s : model_.selection())
      selection.push_back(model_.object(s)->id);
    out["selection"] = std::move(selection);
    return out;
  }

  static Json pattern(const Pattern &p) {
    Json shapes = Json::array();
    for (const PatternShape &shape : p.shapes) {
      Json s = Json::object();
      switch (shape.kind) {
      case PatternShape::Kind::rectangle:
        s["kind"] = "rectangle";
        s["bounds"] = rect(shape.bounds);
        break;
      case PatternShape::Kind::ellipse:
        s["kind"] = "ellipse";
        s["bounds"] = rect(shape.bounds);
        break;
      case PatternShape::Kind::polygon: {
        s["kind"] = "polygon";
        Json points = Json::array();
        for (const ASRealPoint &pt : shape.points)
          points.push_back(point(pt));
        s["points"] = std::move(points);
        break;
      }
      }
      s["color"] = shape.color;
      shapes.push_back(std::move(s));
    }
    return Json{{"name", p.name}, {"tile", rect(p.tile)}, {"shapes", std::move(shapes)}};
  }

  // With `children` false, a container's children are left out.
  Json object(const ArtObject &o, bool children = true) {
    Json out = Json::object();
    out["id"] = o.id;
    out["type"] = named(artTypeName(o.type), o.type);
    if (!o.name.empty()) out["name"] = o.name;
    if (o.hasStyle()) {
      out["style"] = style(o.style);
      Json segments = Json::array();
      for (const AIPathSegment &s : o.geometry.segments)
        segments.push_back(segment(s));
      out["segments"] = std::move(segments);
      out["closed"] = o.geometry.closed;
    }
    if (o.hasChildren() && children) {
      Json list = Json::array();
      for (Serial s : o.children)
        list.push_back(object(*model_.object(s)));
      out["children"] = std::move(list);
    }
    if (o.hasTextPaths()) {
      Json paths = Json::array();
      for (const TextPath &t : o.textPaths)
        paths.push_back(Json{{"matrix", matrix(t.matrix)}, {"text", t.text}});
      out["textPaths"] = std::move(paths);
    }
    if (o.hasMatrix()) {
      out["matrix"] = matrix(o.matrix);
      out["size"] = point(o.size);
      if (o.type == kPlacedArt) out["file"] = o.file;
    }
    return out;
  }

  static Json segment(const AIPathSegment &s) {
    auto same = [](const ASRealPoint &x, const ASRealPoint &y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    if (s.corner == 1 && same(s.in, s.p) && same(s.out, s.p)) return point(s.p);
    return Json{{"p", point(s.p)}, {"in", point(s.in)}, {"out", point(s.out)}, {"corner", boolean(s.corner)}};
  }

public:
  Json style(const AIPathStyle &s) {
    const AIDashStyle &d = s.stroke.dash;
    Json array = Json::array();
    for (ASReal v : d.array)
      array.push_back(realToJson(v));
    return Json{
        {"fillPaint", boolean(s.fillPaint)},
        {"strokePaint", boolean(s.strokePaint)},
        {"fill", {{"color", color(s.fill.color)}, {"overprint", boolean(s.fill.overprint)}}},
        {"stroke",
         {{"color", color(s.stroke.color)},
          {"overprint", boolean(s.stroke.overprint)},
          {"width", realToJson(s.stroke.width)},
          {"dash", {{"length", d.length}, {"offset", realToJson(d.offset)}, {"array", std::move(array)}}},
          {"cap", cap(s.stroke.cap)},
          {"join", join(s.stroke.join)},
          {"miterLimit", realToJson(s.stroke.miterLimit)}}},
        {"clip", boolean(s.clip)},
        {"lockClip", boolean(s.lockClip)},
        {"evenodd", boolean(s.evenodd)},
        {"resolution", realToJson(s.resolution)}};
  }

private:
  Json color(const AIColor &c) {
    switch (c.kind) {
    case kGrayColor:
      return Json{{"kind", "gray"}, {"gray", realToJson(c.c.g.gray)}};
    case kFourColor:
      return Json{{"kind", "fourColor"},
                  {"cyan", realToJson(c.c.f.cyan)},
                  {"magenta", realToJson(c.c.f.magenta)},
                  {"yellow", realToJson(c.c.f.yellow)},
                  {"black", realToJson(c.c.f.black)}};
    case kThreeColor:
      return Json{{"kind", "threeColor"},
                  {"red", realToJson(c.c.rgb.red)},
                  {"green", realToJson(c.c.rgb.green)},
                  {"blue", realToJson(c.c.rgb.blue)}};
    case kPattern: {
      const AIPatternStyle &p = c.c.p;
      const Pattern *defined = model_.pattern(serialOf(p.pattern));
      return Json{{"kind", "pattern"},
                  {"pattern", defined ? Json(defined->name) : Json(nullptr)},
                  {"shiftDist", realToJson(p.shiftDist)},
                  {"shiftAngle", realToJson(p.shiftAngle)},
                  {"scale", point(p.scale)},
                  {"rotate", realToJson(p.rotate)},
                  {"reflect", boolean(p.reflect)},
                  {"reflectAngle", realToJson(p.reflectAngle)},
                  {"shearAngle", realToJson(p.shearAngle)},
                  {"shearAxis", realToJson(p.shearAxis)},
                  {"transform", matrix(p.transform)}};
    }
    case kCustomColor:
      return Json{{"kind", "customColor"}};
    case kGradient:
      return Json{{"kind", "gradient"}};
    case kNoneColor:
      return Json{{"kind", "none"}};
    default:
      return Json{{"kind", c.kind}};
    }
  }

  const DocumentModel &model_;
};

} // namespace

Json writeDocument(const DocumentModel &model) {
  return Writer(model).document();
}

Json writeOwnArt(const DocumentModel &model, const ArtObject &object) {
  return Writer(model).object(object, false);
}

Json writePattern(const Pattern &pattern) {
  return Writer::pattern(pattern);
}

Json writePathStyle(const DocumentModel &model, const AIPathStyle &style) {
  return Writer(model).style(style);
}

std::string formatDocument(const DocumentModel &model) {
  return writeDocument(model).dump(2) + "\n";
}

} // namespace pello::host
