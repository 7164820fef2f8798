#include "pello/host/Host.h"

#include <cstdio>
#include <cstdlib>

namespace pello::host {

namespace {
Host *gActive = nullptr;
std::uint64_t gHosts = 0;
} // namespace

Host::Host() : generation_(++gHosts) {
  if (gActive) {
    std::fprintf(stderr, "pello-host: a second host was created while one is running\n");
    std::abort();
  }
  gActive = this;
  faults_.resetCounts();
  registerAllSuites(suites_);
}

Host::~Host() {
  while (!owned_.empty()) owned_.pop_back();
  components_.clear();
  faults_.clear();
  gActive = nullptr;
}

Host &Host::current() {
  if (!gActive) {
    std::fprintf(stderr, "pello-host: a host suite was called with no host running\n");
    std::abort();
  }
  return *gActive;
}

Host *Host::active() { return gActive; }

void registerAllSuites(SuiteRegistry &registry) {
  registerShellSuites(registry);
  registerArtSuites(registry);
  registerAdmSuites(registry);
}

} // namespace pello::host
