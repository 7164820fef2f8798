// "AI Notifier Suite" version 2 over the host's notifiers.
#include "AINotifier.h"
#include "pello/host/HostCall.h"
#include "pello/host/Notifiers.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI AddNotifier(SPPluginRef self, const char *name, const char *type, AINotifierHandle *notifier) {
  PELLO_HOST_CALL(call, "AINotifier::AddNotifier");
  call.arg("name", name).arg("type", type);
  if (ASErr e = call.injected()) return call.done(e);
  if (!name || !type || !notifier) return call.done(kSPBadParameterError);
  *notifier = Host::current().get<Notifiers>().add(self, name, type)->handle();
  call.arg("notifier", static_cast<const void *>(*notifier));
  return call.done(kASNoError);
}

ASErr ASAPI SetNotifierActive(AINotifierHandle notifier, ASBoolean active) {
  PELLO_HOST_CALL(call, "AINotifier::SetNotifierActive");
  call.arg("notifier", static_cast<const void *>(notifier)).arg("active", active);
  if (ASErr e = call.injected()) return call.done(e);
  Notifier *found = Host::current().get<Notifiers>().find(notifier);
  if (!found) return call.done(kSPBadParameterError);
  found->active = active != 0;
  return call.done(kASNoError);
}

AINotifierSuite gSuite = {AddNotifier, SetNotifierActive};

} // namespace

void registerNotifierSuite(SuiteRegistry &registry) {
  registry.add(kAINotifierSuite, kAINotifierSuiteVersion, &gSuite);
}

} // namespace pello::host
