#include "pello/host/Host.h"

namespace pello::host {

void registerShellSuites(SuiteRegistry &registry) { (void)registry; }

} // namespace pello::host
