// "AS Lib Suite" version 1: the host's string functions.
#include "ASLib.h"
#include "pello/host/HostCall.h"
#include "suites/ShellSuiteTables.h"

#include <cstring>

namespace pello::host {

namespace {

// An injected fault means "no result": nothing copied, null returned.
char *ASAPI Strcpy(char *dest, const char *src) {
  PELLO_HOST_CALL(call, "ASLib::strcpy");
  call.arg("src", src);
  if (call.injected() || !dest || !src) return nullptr;
  return std::strcpy(dest, src);
}

size_t ASAPI Strlen(const char *src) {
  PELLO_HOST_CALL(call, "ASLib::strlen");
  call.arg("src", src);
  if (call.injected() || !src) return 0;
  return std::strlen(src);
}

ASLibSuite gSuite = {Strcpy, Strlen};

} // namespace

void registerASLibSuite(SuiteRegistry &registry) {
  registry.add(kASLibSuite, kASLibSuiteVersion, &gSuite);
}

} // namespace pello::host
