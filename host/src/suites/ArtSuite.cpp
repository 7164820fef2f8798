// "AI Art Suite" version 9: the type and the container of an art object.
#include "AIArt.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI GetArtType(AIArtHandle art, ai_int16 *type) {
  PELLO_HOST_CALL(call, "AIArt::GetArtType");
  logArt(call, "art", art);
  if (ASErr e = call.injected()) return call.done(e);
  const ArtObject *object = currentDocument().resolve(art);
  if (!object || !type) return call.done(kSPBadParameterError);
  *type = object->type;
  call.arg("type", object->type);
  return call.done(kASNoError);
}

ASErr ASAPI GetArtParent(AIArtHandle art, AIArtHandle *parent) {
  PELLO_HOST_CALL(call, "AIArt::GetArtParent");
  logArt(call, "art", art);
  if (ASErr e = call.injected()) return call.done(e);
  const ArtObject *object = currentDocument().resolve(art);
  if (!object || !parent) return call.done(kSPBadParameterError);
  *parent = object->parent ? artHandle(object->parent) : nullptr;
  logArt(call, "parent", *parent);
  return call.done(kASNoError);
}

AIArtSuite gSuite = {GetArtType, GetArtParent};

} // namespace

void registerArtSuite(SuiteRegistry &registry) {
  registry.add(kAIArtSuite, kAIArtSuiteVersion, &gSuite);
}

} // namespace pello::host
