// "AI Runtime Suite" version 7.
#include "AIRuntime.h"
#include "pello/host/HostCall.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

namespace {

constexpr const char *kAppName = "Pello stand-in host";
constexpr ai_int32 kAppMajorVersion = 10;

ASErr ASAPI GetAppName(const char **name) {
  PELLO_HOST_CALL(call, "AIRuntime::GetAppName");
  if (ASErr e = call.injected()) return call.done(e);
  if (!name) return call.done(kSPBadParameterError);
  *name = kAppName;
  return call.done(kASNoError);
}

ASErr ASAPI GetAppMajorVersion(ai_int32 *major) {
  PELLO_HOST_CALL(call, "AIRuntime::GetAppMajorVersion");
  if (ASErr e = call.injected()) return call.done(e);
  if (!major) return call.done(kSPBadParameterError);
  *major = kAppMajorVersion;
  return call.done(kASNoError);
}

AIRuntimeSuite gSuite = {GetAppName, GetAppMajorVersion};

} // namespace

void registerRuntimeSuite(SuiteRegistry &registry) {
  registry.add(kAIRuntimeSuite, kAIRuntimeSuiteVersion, &gSuite);
}

} // namespace pello::host
