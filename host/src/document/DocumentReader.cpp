#include "JsonReader.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/JsonLimits.h"

#include <cctype>
#include <cstdint>
#include <cstring>

namespace pello::host {

namespace {

struct NamedCode {
  const char *name;
  long code;
};

constexpr NamedCode kArtTypes[] = {{"unknown", kUnknownArt},
                                   {"group", kGroupArt},
                                   {"path", kPathArt},
                                   {"compoundPath", kCompoundPathArt},
                                   {"text", kTextArt},
                                   {"textPath", kTextPathArt},
                                   {"textRun", kTextRunArt},
                                   {"placed", kPlacedArt},
                                   {"mysteryPath", kMysteryPathArt},
                                   {"raster", kRasterArt}};
constexpr NamedCode kColorKinds[] = {{"gray", kGrayColor},    {"fourColor", kFourColor},
                                     {"pattern", kPattern},   {"customColor", kCustomColor},
                                     {"gradient", kGradient}, {"threeColor", kThreeColor},
                                     {"none", kNoneColor}};
constexpr NamedCode kCaps[] = {
    {"butt", kAIButtCap}, {"round", kAIRoundCap}, {"projecting", kAIProjectingCap}};
constexpr NamedCode kJoins[] = {{"miter", kAIMiterJoin}, {"round", kAIRoundJoin}, {"bevel", kAIBevelJoin}};

// A name from `table`, or a number within min..max.
template <std::size_t N>
long namedCode(const JsonNode &node, const NamedCode (&table)[N], long min, long max) {
  if (node.value().is_string()) {
    const std::string name = node.string();
    for (const NamedCode &entry : table)
      if (name == entry.name) return entry.code;
    std::string names;
    for (const NamedCode &entry : table)
      names += (names.empty() ? "" : ", ") + std::string(entry.name);
    node.fail("unknown name \"" + name + "\" (expected one of " + names + " or a number)");
  }
  return node.integer(min, max);
}

ASReal readReal(const JsonNode &n) {
  return n.real();
}
ASBoolean readBoolean(const JsonNode &n) {
  return n.boolean();
}

class Reader {
public:
  explicit Reader(DocumentModel &model) : model_(model) {}

  void document(const JsonNode &root) {
    root.expectObject({"units", "modified", "patterns", "art", "selection"});
    if (root.has("units")) model_.units = units(root.member("units"));
    if (root.has("patterns")) patterns(root.member("patterns"));
    if (root.has("art")) artList(root.member("art"), "", 1);
    if (root.has("selection")) selection(root.member("selection"));
    model_.modified = root.optional("modified", ASBoolean{0}, readBoolean) != 0;
  }

private:
  Units units(const JsonNode &node) {
    const std::string name = node.string();
    for (Units u :
         {Units::points, Units::picas, Units::inches, Units::millimeters, Units::centimeters, Units::pixels})
      if (name == unitsName(u)) return u;
    node.fail("unknown units \"" + name + "\"");
  }

  void patterns(const JsonNode &list) {
    const std::size_t n = list.expectArray();
    for (std::size_t i = 0; i < n; ++i) {
      JsonNode p = list.element(i);
      p.expectObject({"name", "tile", "shapes"});
      JsonNode nameNode = p.member("name");
      std::string name = nameNode.string();
      if (name.empty()) nameNode.fail("a pattern needs a name");
      if (model_.findPattern(name)) nameNode.fail("the pattern name \"" + name + "\" is used twice");
      RealRect tile = p.member("tile").rect();
      std::vector<PatternShape> shapes;
      if (p.has("shapes")) {
        JsonNode list2 = p.member("shapes");
        const std::size_t m = list2.expectArray();
        for (std::size_t k = 0; k < m; ++k)
          shapes.push_back(shape(list2.element(k)));
      }
      model_.addPattern(std::move(name), tile, std::move(shapes));
    }
  }

  PatternShape shape(const JsonNode &node) {
    node.expectObject({"kind", "bounds", "points", "color"});
    PatternShape shape;
    JsonNode kind = node.member("kind");
    const std::string k = kind.string();
    if (k == "rectangle" || k == "ellipse") {
      shape.kind = k == "rectangle" ? PatternShape::Kind::rectangle : PatternShape::Kind::ellipse;
      if (node.has("points")) node.member("points").fail("a " + k + " has bounds, not points");
      shape.bounds = node.member("bounds").rect();
    } else if (k == "polygon") {
      shape.kind = PatternShape::Kind::polygon;
      if (node.has("bounds")) node.member("bounds").fail("a polygon has points, not bounds");
      JsonNode points = node.member("points");
      const std::size_t n = points.expectArray();
      for (std::size_t i = 0; i < n; ++i)
        shape.points.push_back(points.element(i).point());
    } else {
      kind.fail("unknown shape kind \"" + k + "\" (expected rectangle, ellipse or polygon)");
    }
    if (node.has("color")) shape.color = color(node.member("color"));
    return shape;
  }

  static std::string color(const JsonNode &node) {
    const std::string text = node.string();
    bool ok = text.size() == 7 && text[0] == '#';
    for (std::size_t i = 1; ok && i < text.size(); ++i)
      ok = std::isxdigit(static_cast<unsigned char>(text[i]));
    if (!ok) node.fail("expected a colour \"#rrggbb\", found \"" + text + "\"");
    return text;
  }

  // `level`: 1 at the top level, one more in each group or compound path.
  void artList(const JsonNode &list, const std::string &parentId, std::size_t level) {
    const std::size_t n = list.expectArray();
    if (n > 0 && level > kMaxArtNesting)
      list.fail("art nests at most " + std::to_string(kMaxArtNesting) +
                " levels deep (groups and compound paths within one another)");
    for (std::size_t i = 0; i < n; ++i)
      art(list.element(i), parentId, level);
  }

  void art(const JsonNode &node, const std::string &parentId, std::size_t level) {
    if (!node.value().is_object()) node.expectObject({});
    ArtObject object;
    object.type = static_cast<ai_int16>(namedCode(node.member("type"), kArtTypes, INT16_MIN, INT16_MAX));
    if (object.hasStyle()) {
      node.expectObject({"id", "type", "name", "style", "segments", "closed", "rectangle", "polygon"});
    } else if (object.hasChildren()) {
      node.expectObject({"id", "type", "name", "children"});
    } else if (object.hasTextPaths()) {
      node.expectObject({"id", "type", "name", "textPaths"});
    } else if (object.type == kPlacedArt) {
      node.expectObject({"id", "type", "name", "matrix", "size", "file"});
    } else if (object.type == kRasterArt) {
      node.expectObject({"id", "type", "name", "matrix", "size"});
    } else {
      node.expectObject({"id", "type", "name"});
    }
    JsonNode idNode = node.member("id");
    object.id = idNode.string();
    if (object.id.empty()) idNode.fail("an art object needs an id");
    if (model_.find(object.id)) idNode.fail("the id \"" + object.id + "\" is used twice");
    if (node.has("name")) object.name = node.member("name").string();
    if (object.hasStyle()) {
      if (node.has("style")) object.style = style(node.member("style"));
      object.geometry = geometry(node);
    }
    if (object.hasTextPaths() && node.has("textPaths")) {
      JsonNode list = node.member("textPaths");
      const std::size_t n = list.expectArray();
      for (std::size_t i = 0; i < n; ++i) {
        JsonNode t = list.element(i);
        t.expectObject({"matrix", "text"});
        TextPath path;
        if (t.has("matrix")) path.matrix = t.member("matrix").matrix();
        if (t.has("text")) path.text = t.member("text").string();
        object.textPaths.push_back(std::move(path));
      }
    }
    if (object.hasMatrix()) {
      if (node.has("matrix")) object.matrix = node.member("matrix").matrix();
      if (node.has("size")) object.size = node.member("size").point();
      if (node.has("file")) object.file = node.member("file").string();
    }
    const std::string id = object.id;
    model_.add(std::move(object), parentId);
    if (node.has("children")) artList(node.member("children"), id, level + 1);
  }

  PathGeometry geometry(const JsonNode &node) {
    const int forms = node.has("segments") + node.has("rectangle") + node.has("polygon");
    if (forms > 1) node.fail("give one of segments, rectangle and polygon");
    if (node.has("rectangle")) {
      if (node.has("closed")) node.member("closed").fail("a rectangle is always closed");
      RealRect r = node.member("rectangle").rect();
      return PathGeometry::rectangle(r.left, r.top, r.right, r.bottom);
    }
    const bool closed = node.optional("closed", ASBoolean{0}, readBoolean) != 0;
    if (node.has("polygon")) {
      JsonNode list = node.member("polygon");
      std::vector<ASRealPoint> points;
      const std::size_t n = list.expectArray();
      checkSegmentCount(list, n);
      for (std::size_t i = 0; i < n; ++i)
        points.push_back(list.element(i).point());
      return PathGeometry::polygon(points, node.has("closed") ? closed : true);
    }
    PathGeometry geometry;
    geometry.closed = closed;
    if (node.has("segments")) {
      JsonNode list = node.member("segments");
      const std::size_t n = list.expectArray();
      checkSegmentCount(list, n);
      for (std::size_t i = 0; i < n; ++i)
        geometry.segments.push_back(segment(list.element(i)));
    }
    return geometry;
  }

  static void checkSegmentCount(const JsonNode &list, std::size_t n) {
    if (n > static_cast<std::size_t>(INT16_MAX))
      list.fail("a path holds at most " + std::to_string(INT16_MAX) + " segments");
  }

  static AIPathSegment segment(const JsonNode &node) {
    if (node.value().is_array()) {
      ASRealPoint p = node.point();
      return AIPathSegment{p, p, p, 1};
    }
    node.expectObject({"p", "in", "out", "corner"});
    AIPathSegment s{};
    s.p = node.member("p").point();
    s.in = node.has("in") ? node.member("in").point() : s.p;
    s.out = node.has("out") ? node.member("out").point() : s.p;
    s.corner = node.optional("corner", ASBoolean{1}, readBoolean);
    return s;
  }

  AIPathStyle style(const JsonNode &node) {
    node.expectObject(
        {"fillPaint", "strokePaint", "fill", "stroke", "clip", "lockClip", "evenodd", "resolution"});
    AIPathStyle s = defaultPathStyle();
    s.fillPaint = node.optional("fillPaint", s.fillPaint, readBoolean);
    s.strokePaint = node.optional("strokePaint", s.strokePaint, readBoolean);
    if (node.has("fill")) {
      JsonNode fill = node.member("fill");
      fill.expectObject({"color", "overprint"});
      if (fill.has("color")) s.fill.color = colorStyle(fill.member("color"));
      s.fill.overprint = fill.optional("overprint", s.fill.overprint, readBoolean);
    }
    if (node.has("stroke")) stroke(node.member("stroke"), s.stroke);
    s.clip = node.optional("clip", s.clip, readBoolean);
    s.lockClip = node.optional("lockClip", s.lockClip, readBoolean);
    s.evenodd = node.optional("evenodd", s.evenodd, readBoolean);
    s.resolution = node.optional("resolution", s.resolution, readReal);
    return s;
  }

  void stroke(const JsonNode &node, AIStrokeStyle &s) {
    node.expectObject({"color", "overprint", "width", "dash", "cap", "join", "miterLimit"});
    if (node.has("color")) s.color = colorStyle(node.member("color"));
    s.overprint = node.optional("overprint", s.overprint, readBoolean);
    s.width = node.optional("width", s.width, readReal);
    if (node.has("dash")) s.dash = dash(node.member("dash"));
    if (node.has("cap"))
      s.cap = static_cast<ai_int16>(namedCode(node.member("cap"), kCaps, INT16_MIN, INT16_MAX));
    if (node.has("join"))
      s.join = static_cast<ai_int16>(namedCode(node.member("join"), kJoins, INT16_MIN, INT16_MAX));
    s.miterLimit = node.optional("miterLimit", s.miterLimit, readReal);
  }

  static AIDashStyle dash(const JsonNode &node) {
    node.expectObject({"length", "offset", "array"});
    AIDashStyle d{};
    std::size_t given = 0;
    if (node.has("array")) {
      JsonNode array = node.member("array");
      given = array.expectArray();
      if (given > kMaxDashComponents)
        array.fail("a dash array holds at most " + std::to_string(kMaxDashComponents) + " entries, found " +
                   std::to_string(given));
      for (std::size_t i = 0; i < given; ++i)
        d.array[i] = array.element(i).real();
    }
    d.length = node.has("length") ? static_cast<ai_int16>(node.member("length").integer(INT16_MIN, INT16_MAX))
                                  : static_cast<ai_int16>(given);
    d.offset = node.optional("offset", ASReal{0}, readReal);
    return d;
  }

  AIColor colorStyle(const JsonNode &node) {
    if (!node.value().is_object()) node.expectObject({});
    JsonNode kindNode = node.member("kind");
    AIColor c{};
    c.kind = static_cast<AIColorTag>(namedCode(kindNode, kColorKinds, 0, 255));
    switch (c.kind) {
    case kGrayColor:
      node.expectObject({"kind", "gray"});
      c.c.g.gray = node.optional("gray", ASReal{0}, readReal);
      break;
    case kFourColor:
      node.expectObject({"kind", "cyan", "magenta", "yellow", "black"});
      c.c.f.cyan = node.optional("cyan", ASReal{0}, readReal);
      c.c.f.magenta = node.optional("magenta", ASReal{0}, readReal);
      c.c.f.yellow = node.optional("yellow", ASReal{0}, readReal);
      c.c.f.black = node.optional("black", ASReal{0}, readReal);
      break;
    case kThreeColor:
      node.expectObject({"kind", "red", "green", "blue"});
      c.c.rgb.red = node.optional("red", ASReal{0}, readReal);
      c.c.rgb.green = node.optional("green", ASReal{0}, readReal);
      c.c.rgb.blue = node.optional("blue", ASReal{0}, readReal);
      break;
    case kPattern: {
      node.expectObject({"kind", "pattern", "shiftDist", "shiftAngle", "scale", "rotate", "reflect",
                         "reflectAngle", "shearAngle", "shearAxis", "transform"});
      c = patternColor(nullptr);
      if (node.has("pattern") && !node.member("pattern").value().is_null()) {
        JsonNode name = node.member("pattern");
        const Pattern *p = model_.findPattern(name.string());
        if (!p) name.fail("the document defines no pattern \"" + name.string() + "\"");
        c.c.p.pattern = patternHandle(p->serial);
      }
      AIPatternStyle &p = c.c.p;
      p.shiftDist = node.optional("shiftDist", p.shiftDist, readReal);
      p.shiftAngle = node.optional("shiftAngle", p.shiftAngle, readReal);
      if (node.has("scale")) p.scale = node.member("scale").point();
      p.rotate = node.optional("rotate", p.rotate, readReal);
      p.reflect = node.optional("reflect", p.reflect, readBoolean);
      p.reflectAngle = node.optional("reflectAngle", p.reflectAngle, readReal);
      p.shearAngle = node.optional("shearAngle", p.shearAngle, readReal);
      p.shearAxis = node.optional("shearAxis", p.shearAxis, readReal);
      if (node.has("transform")) p.transform = node.member("transform").matrix();
      break;
    }
    default:
      node.expectObject({"kind"});
      break;
    }
    return c;
  }

  void selection(const JsonNode &list) {
    const std::size_t n = list.expectArray();
    for (std::size_t i = 0; i < n; ++i) {
      JsonNode entry = list.element(i);
      const std::string id = entry.string();
      const ArtObject *o = model_.find(id);
      if (!o) entry.fail("no object \"" + id + "\"");
      if (o->selected) entry.fail("\"" + id + "\" is selected twice");
      model_.addToSelection(id);
    }
  }

  DocumentModel &model_;
};

} // namespace

DocumentModel readDocument(const Json &json) {
  DocumentModel model;
  Reader(model).document(JsonNode(json));
  return model;
}

DocumentModel parseDocument(std::string_view text) {
  Json json;
  try {
    json = parseBoundedJson<Json>(text);
  } catch (const JsonNestingError &e) {
    throw DocumentFormatError(e.what());
  } catch (const Json::exception &e) {
    // e.what() reads "[json.exception.parse_error.101] parse error at line 3, column 7: ...", or for
    // a number beyond a double's range "[json.exception.out_of_range.406] number overflow parsing '1e400'".
    const char *what = e.what();
    const char *at = std::strstr(what, "] ");
    throw DocumentFormatError(std::string("document: not JSON: ") + (at ? at + 2 : what));
  }
  return readDocument(json);
}

} // namespace pello::host
