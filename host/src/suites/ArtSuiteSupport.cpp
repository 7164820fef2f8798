#include "pello/host/Host.h"
#include "suites/ArtSuiteTables.h"

#include <charconv>
#include <cstring>

namespace pello::host {

Document &currentDocument() {
  return Host::current().get<Document>();
}

void logArt(HostCall &call, const char *name, AIArtHandle art) {
  if (call.logging()) call.arg(name, currentDocument().describe(art));
}

std::string formatReal(ASReal value) {
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string("?");
}

std::string formatMatrix(const ASRealMatrix &m) {
  return "(" + formatReal(m.a) + ", " + formatReal(m.b) + ", " + formatReal(m.c) + ", " + formatReal(m.d) +
         ", " + formatReal(m.tx) + ", " + formatReal(m.ty) + ")";
}

namespace {

bool same(ASReal x, ASReal y) {
  return std::memcmp(&x, &y, sizeof x) == 0;
}

class Changes {
public:
  explicit Changes(const DocumentModel &model) : model_(model) {}

  void real(const std::string &name, ASReal x, ASReal y) {
    if (!same(x, y)) add(name, formatReal(y));
  }
  void integer(const std::string &name, long x, long y) {
    if (x != y) add(name, std::to_string(y));
  }
  void point(const std::string &name, const ASRealPoint &x, const ASRealPoint &y) {
    if (!same(x.h, y.h) || !same(x.v, y.v)) add(name, "(" + formatReal(y.h) + ", " + formatReal(y.v) + ")");
  }
  void matrix(const std::string &name, const ASRealMatrix &x, const ASRealMatrix &y) {
    if (!identical(x, y)) add(name, formatMatrix(y));
  }

  void color(const std::string &name, const AIColor &x, const AIColor &y) {
    // A new kind shows every value of the new colour.
    AIColor from = x;
    if (x.kind != y.kind) {
      integer(name + ".kind", x.kind, y.kind);
      std::memset(&from.c, 0xff, sizeof from.c);
    }
    const std::string p = name + ".";
    switch (y.kind) {
    case kGrayColor:
      real(p + "gray", from.c.g.gray, y.c.g.gray);
      break;
    case kFourColor:
      real(p + "cyan", from.c.f.cyan, y.c.f.cyan);
      real(p + "magenta", from.c.f.magenta, y.c.f.magenta);
      real(p + "yellow", from.c.f.yellow, y.c.f.yellow);
      real(p + "black", from.c.f.black, y.c.f.black);
      break;
    case kThreeColor:
      real(p + "red", from.c.rgb.red, y.c.rgb.red);
      real(p + "green", from.c.rgb.green, y.c.rgb.green);
      real(p + "blue", from.c.rgb.blue, y.c.rgb.blue);
      break;
    case kPattern: {
      const AIPatternStyle &a = from.c.p, &b = y.c.p;
      if (a.pattern != b.pattern) {
        const Pattern *defined = model_.pattern(serialOf(b.pattern));
        add(p + "pattern",
            defined ? "\"" + defined->name + "\"" : std::string(b.pattern ? "unknown" : "null"));
      }
      real(p + "shiftDist", a.shiftDist, b.shiftDist);
      real(p + "shiftAngle", a.shiftAngle, b.shiftAngle);
      point(p + "scale", a.scale, b.scale);
      real(p + "rotate", a.rotate, b.rotate);
      integer(p + "reflect", a.reflect, b.reflect);
      real(p + "reflectAngle", a.reflectAngle, b.reflectAngle);
      real(p + "shearAngle", a.shearAngle, b.shearAngle);
      real(p + "shearAxis", a.shearAxis, b.shearAxis);
      matrix(p + "transform", a.transform, b.transform);
      break;
    }
    default:
      break;
    }
  }

  std::string text() const { return text_.empty() ? "none" : text_; }

private:
  void add(const std::string &name, const std::string &value) {
    if (!text_.empty()) text_ += ", ";
    text_ += name + "=" + value;
  }
  const DocumentModel &model_;
  std::string text_;
};

} // namespace

std::string describeStyleChanges(const AIPathStyle &x, const AIPathStyle &y, const DocumentModel &model) {
  Changes c(model);
  c.integer("fillPaint", x.fillPaint, y.fillPaint);
  c.integer("strokePaint", x.strokePaint, y.strokePaint);
  c.color("fill.color", x.fill.color, y.fill.color);
  c.integer("fill.overprint", x.fill.overprint, y.fill.overprint);
  c.color("stroke.color", x.stroke.color, y.stroke.color);
  c.integer("stroke.overprint", x.stroke.overprint, y.stroke.overprint);
  c.real("stroke.width", x.stroke.width, y.stroke.width);
  c.integer("stroke.dash.length", x.stroke.dash.length, y.stroke.dash.length);
  c.real("stroke.dash.offset", x.stroke.dash.offset, y.stroke.dash.offset);
  for (int i = 0; i < kMaxDashComponents; ++i)
    c.real("stroke.dash.array[" + std::to_string(i) + "]", x.stroke.dash.array[i], y.stroke.dash.array[i]);
  c.integer("stroke.cap", x.stroke.cap, y.stroke.cap);
  c.integer("stroke.join", x.stroke.join, y.stroke.join);
  c.real("stroke.miterLimit", x.stroke.miterLimit, y.stroke.miterLimit);
  c.integer("clip", x.clip, y.clip);
  c.integer("lockClip", x.lockClip, y.lockClip);
  c.integer("evenodd", x.evenodd, y.evenodd);
  c.real("resolution", x.resolution, y.resolution);
  return c.text();
}

ASRealMatrix concatMatrix(const ASRealMatrix &m, const ASRealMatrix &t) {
  auto f = [](double v) { return static_cast<ASReal>(v); };
  return ASRealMatrix{
      f(double(t.a) * m.a + double(t.c) * m.b),          f(double(t.b) * m.a + double(t.d) * m.b),
      f(double(t.a) * m.c + double(t.c) * m.d),          f(double(t.b) * m.c + double(t.d) * m.d),
      f(double(t.a) * m.tx + double(t.c) * m.ty + t.tx), f(double(t.b) * m.tx + double(t.d) * m.ty + t.ty)};
}

ASRealPoint transformPoint(const ASRealMatrix &t, const ASRealPoint &p) {
  return ASRealPoint{static_cast<ASReal>(double(t.a) * p.h + double(t.c) * p.v + t.tx),
                     static_cast<ASReal>(double(t.b) * p.h + double(t.d) * p.v + t.ty)};
}

} // namespace pello::host

namespace pello::host {

namespace {
ASErr findMatrixArt(AIArtHandle art, ai_int16 type, ArtObject *&object) {
  object = currentDocument().resolve(art);
  if (!object) return kSPBadParameterError;
  return object->type == type ? kASNoError : kAIWrongArtTypeError;
}
} // namespace

ASErr getArtMatrix(HostCall &call, AIArtHandle art, ai_int16 type, ASRealMatrix *matrix) {
  logArt(call, "art", art);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findMatrixArt(art, type, object)) return call.done(e);
  if (!matrix) return call.done(kSPBadParameterError);
  *matrix = object->matrix;
  if (call.logging()) call.arg("matrix", formatMatrix(*matrix));
  return call.done(kASNoError);
}

ASErr setArtMatrix(HostCall &call, AIArtHandle art, ai_int16 type, const ASRealMatrix *matrix) {
  logArt(call, "art", art);
  if (matrix && call.logging()) call.arg("matrix", formatMatrix(*matrix));
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findMatrixArt(art, type, object)) return call.done(e);
  if (!matrix) return call.done(kSPBadParameterError);
  object->matrix = *matrix;
  currentDocument().model().modified = true;
  return call.done(kASNoError);
}

} // namespace pello::host
