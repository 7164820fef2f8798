// Platform (Windows): no fork; checks run in this process, so a plug-in that
// crashes ends the run there.
#include "Isolation.h"

namespace pello::validate {

bool isolationAvailable() {
  return false;
}

CheckOutcome runIsolated(const Check &check, const CheckContext &context, bool) {
  return runInProcess(check, context);
}

} // namespace pello::validate
