// "AI Context Suite" version 3.
#include "AIContext.h"
#include "pello/host/AppContext.h"
#include "pello/host/HostCall.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI PushAppContext(SPPluginRef plugin, AIAppContextHandle *appContext) {
  PELLO_HOST_CALL(call, "AIAppContext::PushAppContext");
  call.arg("plugin", static_cast<const void *>(plugin));
  if (ASErr e = call.injected()) return call.done(e);
  if (!appContext) return call.done(kSPBadParameterError);
  *appContext = Host::current().get<AppContexts>().push(plugin);
  call.arg("context", static_cast<const void *>(*appContext));
  return call.done(kASNoError);
}

ASErr ASAPI PopAppContext(AIAppContextHandle appContext) {
  PELLO_HOST_CALL(call, "AIAppContext::PopAppContext");
  call.arg("context", static_cast<const void *>(appContext));
  if (ASErr e = call.injected()) return call.done(e);
  return call.done(Host::current().get<AppContexts>().pop(appContext) ? kASNoError : kSPBadParameterError);
}

AIAppContextSuite gSuite = {PushAppContext, PopAppContext};

} // namespace

void registerContextSuite(SuiteRegistry &registry) {
  registry.add(kAIAppContextSuite, kAIAppContextSuiteVersion, &gSuite);
}

} // namespace pello::host
