// cycles: the module loaded and unloaded many times in one process, bare and
// as whole runs of a host, must leave the process as the first cycle left it:
// no thread-local storage slot, handle, heap block or resident page kept per
// load. A host unloads plug-ins it does not need and loads them again, so a
// long session meets every load's leak many times over.
#include "pello/harness/ArtDocuments.h"
#include "pello/host/PluginModule.h"
#include "pello/validate/HostSession.h"
#include "pello/validate/ProcessCounters.h"

#include <algorithm>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

namespace {

constexpr int kDefaultLoads = 1000;
// A whole run costs about as much as ten bare loads.
constexpr int kLoadsPerRun = 10;
// The first cycles may fill caches of the host and the system once; the
// counters are compared from the end of these on.
constexpr int kWarmUpCycles = 10;
// The heap may still move by a few hundred bytes once (a cache of the host
// or the C library filled late); a block kept per cycle is 16 bytes or more,
// so over a thousand cycles it is well above this. The working set moves by
// pages without anything leaking.
constexpr long long kHeapSlack = 4 * 1024;
// Whether that one-off growth happens depends on what the process did
// before the check (the run before the fork, the checks before it in one
// process): growth up to this much is the allocator's and not reported, so
// that the same seed gives the same warnings. Sixteen bytes kept per cycle
// still warn from 64 cycles on.
constexpr long long kHeapNoise = 1024;
constexpr long long kResidentSlack = 1024 * 1024;

int loadCount(const CheckContext &context) {
  return context.cycles > 0 ? context.cycles : kDefaultLoads;
}

void expectNoGrowth(CheckContext &context, const char *what, int cycles, const ProcessCounters &first,
                    const ProcessCounters &last) {
  const int compared = cycles - kWarmUpCycles;
  const std::string after =
      " over the last " + std::to_string(compared) + " of " + std::to_string(cycles) + " " + what;
  // `counted`: what the difference counts, e.g. "bytes of heap".
  auto compare = [&](const char *counted, long long before, long long now, long long slack) {
    if (before < 0) return;
    if (!context.expect(now >= 0, std::string("no ") + counted + " left" + after)) return;
    context.expect(now - before <= slack, std::to_string(now - before) + " more " + counted + after + " (" +
                                              std::to_string(before) + " -> " + std::to_string(now) + ")");
  };
  compare("thread-local storage slots", first.tlsSlots, last.tlsSlots, 0);
  compare("handles", first.handles, last.handles, 0);
  compare("bytes of heap", first.heapBytes, last.heapBytes, kHeapSlack);
  // Within the slack, but the heap grew by more than the allocator's noise:
  // no fault, yet worth a look.
  const long long heapGrowth = last.heapBytes - first.heapBytes;
  if (first.heapBytes >= 0 && last.heapBytes >= 0 && heapGrowth > kHeapNoise && heapGrowth <= kHeapSlack)
    context.warn(std::to_string(heapGrowth) + " more bytes of heap" + after + ", within the " +
                 std::to_string(kHeapSlack) + " bytes allowed");
  compare("bytes of resident memory", first.residentBytes, last.residentBytes, kResidentSlack);
  context.summarize(std::to_string(cycles) + " " + what + ": " + countersText(first) + " after " +
                    std::to_string(kWarmUpCycles) + "; " + countersText(last) + " at the end");
}

bool loadOnce(CheckContext &context) {
  std::string error;
  std::unique_ptr<PluginModule> module = PluginModule::open(context.plugin, error);
  return context.expect(module != nullptr, "the host refuses the module: " + error);
}

// Runs `cycle` `count` times (at least twice the warm-up); the counters after
// the warm-up and at the end must agree.
void expectSteadyCycles(CheckContext &context, const char *what, int count, bool (*cycle)(CheckContext &)) {
  count = std::max(count, 2 * kWarmUpCycles);
  context.stage(std::string(what) + ", the first " + std::to_string(kWarmUpCycles));
  for (int done = 0; done < kWarmUpCycles; ++done)
    if (!cycle(context)) return;
  const ProcessCounters first = readProcessCounters();
  context.stage(std::string(what) + ", " + std::to_string(count) + " in all");
  for (int done = kWarmUpCycles; done < count; ++done)
    if (!cycle(context)) return;
  expectNoGrowth(context, what, count, first, readProcessCounters());
}

void checkLoadUnload(CheckContext &context) {
  expectSteadyCycles(context, "loads", loadCount(context), loadOnce);
}

// Load, startup, application started, clicks on every kind of button, the
// option menu, shutdown, unload, reload; the host then closes.
bool runHost(CheckContext &context) {
  HostSession session(context);
  session.host.log().setEnabled(false);
  if (!session.bringUp()) return false;
  if (!session.open(documentOf({patternPath("p1", {1, 0, 0, 1, 3, 4}), dashedPath("d1", {3, 2}, 0.5f),
                                textArt("t1", {{2, 0, 0, 2, 10, 20}})})))
    return false;
  for (int item : {kRightArrow, kDownRightArrow, kDashLeftButton, kDashRightButton})
    session.click(item, {kVkShift});
  session.choose(kCopyEntry);
  session.choose(kPasteEntry);
  session.click(kUntransformButton);
  ASErr error = session.plugin.shutdown();
  if (!context.expect(error == kASNoError, "shutdown returned " + codeText(error))) return false;
  error = session.plugin.unload();
  if (!context.expect(error == kASNoError, "unload returned " + codeText(error))) return false;
  error = session.plugin.reload();
  if (!context.expect(error == kASNoError, "reload returned " + codeText(error))) return false;
  session.checkClean();
  return !context.failed();
}

void checkHostRuns(CheckContext &context) {
  expectSteadyCycles(context, "host runs", loadCount(context) / kLoadsPerRun, runHost);
}

} // namespace

std::vector<Check> cyclesChecks() {
  return {
      {"cycles", "cycles.load-unload",
       "the module loaded and unloaded --cycles times: no slot, handle or memory kept per load",
       checkLoadUnload},
      {"cycles", "cycles.host-runs",
       "startup, clicks, shutdown, unload, reload in a host, --cycles / 10 times: nothing kept per run",
       checkHostRuns},
  };
}

} // namespace pello::validate
