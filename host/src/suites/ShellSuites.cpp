#include "pello/host/Host.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

void registerShellSuites(SuiteRegistry &registry) {
  registerBlocksSuite(registry);
  registerAccessSuite(registry);
  registerMathSuites(registry);
  registerUserSuite(registry);
  registerContextSuite(registry);
  registerPreferenceSuite(registry);
  registerRuntimeSuite(registry);
  registerASLibSuite(registry);
  registerMenuSuite(registry);
  registerNotifierSuite(registry);
}

} // namespace pello::host
