// "AI Text Path Suite" version 4: the text paths of a text object, walked
// first to next, and their matrices.
#include "AITextPath.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

namespace {

ASErr findText(AIArtHandle text, ArtObject *&object) {
  object = currentDocument().resolve(text);
  if (!object) return kSPBadParameterError;
  return object->hasTextPaths() ? kASNoError : kAIWrongArtTypeError;
}

ASErr ASAPI GetFirstTextPath(AIArtHandle text, AIArtHandle *textPath) {
  PELLO_HOST_CALL(call, "AITextPath::GetFirstTextPath");
  logArt(call, "text", text);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findText(text, object)) return call.done(e);
  if (!textPath) return call.done(kSPBadParameterError);
  *textPath = object->textPaths.empty() ? nullptr : artHandle(object->textPaths.front().serial);
  logArt(call, "first", *textPath);
  return call.done(kASNoError);
}

ASErr ASAPI GetNextTextPath(AIArtHandle text, AIArtHandle textPath, AIArtHandle *next) {
  PELLO_HOST_CALL(call, "AITextPath::GetNextTextPath");
  logArt(call, "text", text);
  logArt(call, "textPath", textPath);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findText(text, object)) return call.done(e);
  DocumentModel::TextPathRef ref = currentDocument().resolveTextPath(textPath);
  if (!ref.path || ref.owner != object || !next) return call.done(kSPBadParameterError);
  const std::size_t after = ref.index + 1;
  *next = after < object->textPaths.size() ? artHandle(object->textPaths[after].serial) : nullptr;
  logArt(call, "next", *next);
  return call.done(kASNoError);
}

ASErr ASAPI GetTextPathMatrix(AIArtHandle textPath, ASRealMatrix *matrix) {
  PELLO_HOST_CALL(call, "AITextPath::GetTextPathMatrix");
  logArt(call, "textPath", textPath);
  if (ASErr e = call.injected()) return call.done(e);
  DocumentModel::TextPathRef ref = currentDocument().resolveTextPath(textPath);
  if (!ref.path || !matrix) return call.done(kSPBadParameterError);
  *matrix = ref.path->matrix;
  if (call.logging()) call.arg("matrix", *matrix);
  return call.done(kASNoError);
}

ASErr ASAPI SetTextPathMatrix(AIArtHandle textPath, const ASRealMatrix *matrix) {
  PELLO_HOST_CALL(call, "AITextPath::SetTextPathMatrix");
  logArt(call, "textPath", textPath);
  if (matrix && call.logging()) call.arg("matrix", *matrix);
  if (ASErr e = call.injected()) return call.done(e);
  DocumentModel::TextPathRef ref = currentDocument().resolveTextPath(textPath);
  if (!ref.path || !matrix) return call.done(kSPBadParameterError);
  ref.path->matrix = *matrix;
  currentDocument().model().modified = true;
  return call.done(kASNoError);
}

AITextPathSuite gSuite = {GetFirstTextPath, GetNextTextPath, GetTextPathMatrix, SetTextPathMatrix};

} // namespace

void registerTextPathSuite(SuiteRegistry &registry) {
  registry.add(kAITextPathSuite, kAITextPathSuiteVersion, &gSuite);
}

} // namespace pello::host
