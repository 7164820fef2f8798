#include "pello/host/Host.h"

namespace pello::host {

void registerAdmSuites(SuiteRegistry &registry) { (void)registry; }

} // namespace pello::host
