#include "pello/host/Host.h"
#include "suites/AdmSuiteTables.h"

namespace pello::host {

void registerAdmSuites(SuiteRegistry &registry) {
  registerAdmBasicSuite(registry);
  registerAdmDialogSuite(registry);
  registerAdmItemSuite(registry);
  registerAdmIconSuite(registry);
  registerAdmListSuites(registry);
  registerAdmDialogGroupSuite(registry);
  registerAdmEventSuites(registry);
}

} // namespace pello::host
