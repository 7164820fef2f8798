// "SP Access Suite" version 3: references that keep a plug-in loaded.
#include "SPAccess.h"
#include "pello/host/HostCall.h"
#include "pello/host/Plugin.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI AcquirePlugin(SPPluginRef plugin, SPAccessRef *access) {
  PELLO_HOST_CALL(call, "SPAccess::AcquirePlugin");
  call.arg("plugin", static_cast<const void *>(plugin));
  if (ASErr e = call.injected()) return call.done(e);
  Host &host = Host::current();
  if (!access || !plugin || plugin != host.get<Plugin>().ref()) return call.done(kSPBadParameterError);
  *access = host.get<AccessRefs>().acquire(plugin);
  call.arg("access", static_cast<const void *>(*access));
  return call.done(kASNoError);
}

ASErr ASAPI ReleasePlugin(SPAccessRef access) {
  PELLO_HOST_CALL(call, "SPAccess::ReleasePlugin");
  call.arg("access", static_cast<const void *>(access));
  if (ASErr e = call.injected()) return call.done(e);
  return call.done(Host::current().get<AccessRefs>().release(access) ? kASNoError : kSPBadParameterError);
}

SPAccessSuite gSuite = {AcquirePlugin, ReleasePlugin};

} // namespace

void registerAccessSuite(SuiteRegistry &registry) {
  registry.add(kSPAccessSuite, kSPAccessSuiteVersion, &gSuite);
}

} // namespace pello::host
