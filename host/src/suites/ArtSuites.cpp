#include "pello/host/Host.h"

namespace pello::host {

void registerArtSuites(SuiteRegistry &registry) { (void)registry; }

} // namespace pello::host
