// The basic suite: acquisition by name and version over the host's registry,
// and the host's string comparison.
#include "pello/host/Host.h"
#include "pello/host/HostCall.h"
#include "suites/ShellSuiteTables.h"

#include <cstring>

namespace pello::host {

namespace {

ASErr ASAPI AcquireSuite(const char *name, ai_int32 version, const void **suite) {
  PELLO_HOST_CALL(call, "SPBasic::AcquireSuite");
  call.arg("name", name).arg("version", version);
  if (ASErr e = call.injected()) return call.done(e);
  if (!name) return call.done(kSPBadParameterError);
  return call.done(Host::current().suites().acquire(name, version, suite));
}

ASErr ASAPI ReleaseSuite(const char *name, ai_int32 version) {
  PELLO_HOST_CALL(call, "SPBasic::ReleaseSuite");
  call.arg("name", name).arg("version", version);
  if (ASErr e = call.injected()) return call.done(e);
  if (!name) return call.done(kSPBadParameterError);
  return call.done(Host::current().suites().release(name, version));
}

ASBoolean ASAPI IsEqual(const char *token1, const char *token2) {
  PELLO_HOST_CALL(call, "SPBasic::IsEqual");
  call.arg("token1", token1).arg("token2", token2);
  if (call.faulted()) return false;
  bool equal = token1 == token2 || (token1 && token2 && std::strcmp(token1, token2) == 0);
  call.done(0);
  return equal;
}

SPBasicSuite gBasic = {AcquireSuite, ReleaseSuite, IsEqual};

} // namespace

SPBasicSuite *basicSuite() {
  return &gBasic;
}

} // namespace pello::host
