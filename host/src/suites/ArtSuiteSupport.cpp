#include "pello/host/Host.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

Document &currentDocument() {
  return Host::current().get<Document>();
}

void logArt(HostCall &call, const char *name, AIArtHandle art) {
  if (call.logging()) call.arg(name, Label{currentDocument().describe(art)});
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
  if (call.logging()) call.arg("matrix", *matrix);
  return call.done(kASNoError);
}

ASErr setArtMatrix(HostCall &call, AIArtHandle art, ai_int16 type, const ASRealMatrix *matrix) {
  logArt(call, "art", art);
  if (matrix && call.logging()) call.arg("matrix", *matrix);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findMatrixArt(art, type, object)) return call.done(e);
  if (!matrix) return call.done(kSPBadParameterError);
  object->matrix = *matrix;
  currentDocument().model().modified = true;
  return call.done(kASNoError);
}

} // namespace pello::host
