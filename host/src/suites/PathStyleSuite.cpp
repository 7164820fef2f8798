// "AI Path Style Suite" version 5: a path's whole style, read and written as
// one record.
#include "AIPathStyle.h"
#include "pello/host/DocumentDiff.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

namespace {

ASErr findPath(AIArtHandle path, ArtObject *&object) {
  object = currentDocument().resolve(path);
  if (!object) return kSPBadParameterError;
  return object->type == kPathArt ? kASNoError : kAIWrongArtTypeError;
}

// A pattern colour must name one of the document's patterns, or none.
bool knownPattern(const AIColor &color) {
  return color.kind != kPattern || !color.c.p.pattern || currentDocument().resolve(color.c.p.pattern);
}

ASErr ASAPI GetPathStyle(AIArtHandle path, AIPathStyle *style) {
  PELLO_HOST_CALL(call, "AIPathStyle::GetPathStyle");
  logArt(call, "art", path);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findPath(path, object)) return call.done(e);
  if (!style) return call.done(kSPBadParameterError);
  *style = object->style;
  return call.done(kASNoError);
}

ASErr ASAPI SetPathStyle(AIArtHandle path, const AIPathStyle *style) {
  PELLO_HOST_CALL(call, "AIPathStyle::SetPathStyle");
  logArt(call, "art", path);
  ArtObject *object = nullptr;
  ASErr found = findPath(path, object);
  if (call.logging() && found == kASNoError && style)
    call.arg("changes", std::make_shared<const ChangeList>(
                            styleChanges(currentDocument().model(), object->id, object->style, *style)));
  if (ASErr e = call.injected()) return call.done(e);
  if (found != kASNoError) return call.done(found);
  if (!style || !knownPattern(style->fill.color) || !knownPattern(style->stroke.color))
    return call.done(kSPBadParameterError);
  object->style = *style;
  currentDocument().model().modified = true;
  return call.done(kASNoError);
}

AIPathStyleSuite gSuite = {GetPathStyle, SetPathStyle};

} // namespace

void registerPathStyleSuite(SuiteRegistry &registry) {
  registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &gSuite);
}

} // namespace pello::host
