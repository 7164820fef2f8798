// "AI Document Suite" version 7: whether the current document has changed.
#include "AIDocument.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI GetDocumentModified(ASBoolean *modified) {
  PELLO_HOST_CALL(call, "AIDocument::GetDocumentModified");
  if (ASErr e = call.injected()) return call.done(e);
  Document &document = currentDocument();
  if (!document.isOpen()) return call.done(kAINoDocumentError);
  if (!modified) return call.done(kSPBadParameterError);
  *modified = document.model().modified ? 1 : 0;
  call.arg("modified", *modified);
  return call.done(kASNoError);
}

ASErr ASAPI SetDocumentModified(ASBoolean modified) {
  PELLO_HOST_CALL(call, "AIDocument::SetDocumentModified");
  call.arg("modified", modified);
  if (ASErr e = call.injected()) return call.done(e);
  Document &document = currentDocument();
  if (!document.isOpen()) return call.done(kAINoDocumentError);
  document.model().modified = modified != 0;
  return call.done(kASNoError);
}

AIDocumentSuite gSuite = {GetDocumentModified, SetDocumentModified};

} // namespace

void registerDocumentSuite(SuiteRegistry &registry) {
  registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &gSuite);
}

} // namespace pello::host
