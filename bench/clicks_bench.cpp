// Clicks per second, end to end: the stand-in host's click action (tracker
// events, the notification, the plug-in's handler and operation) on 10^4
// selected objects of mixed art. items_per_second is clicks per second.
#include "artDocuments.h"
#include "benchOptions.h"
#include "benchSession.h"
#include "pello/harness/PluginSurface.h"

#include <benchmark/benchmark.h>

#include <functional>

using namespace pello::harness;

namespace {

void runClicks(benchmark::State &state, const std::function<bool(BenchSession &)> &click) {
  BenchSession &session = BenchSession::withPalette();
  useArtDocument(session.document, ArtKind::mixedArt, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    if (!click(session)) {
      failBenchmark(state, "the host refused the click");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
}

} // namespace

void registerClickBenchmarks() {
  const std::int64_t objects = quickRun() ? 100 : 10000;
  struct Case {
    const char *name;
    std::function<bool(BenchSession &)> click;
  };
  const Case cases[] = {
      {"ClicksPerSecond/arrowWithShift", [](BenchSession &s) { return s.click(kUpLeftArrow, {kVkShift}); }},
      {"ClicksPerSecond/dash", [](BenchSession &s) { return s.click(kDashRightButton); }},
      {"ClicksPerSecond/untransform", [](BenchSession &s) { return s.click(kUntransformButton); }},
      {"ClicksPerSecond/copyMatrix", [](BenchSession &s) { return s.chooseEntry(kCopyEntry); }},
      {"ClicksPerSecond/pasteMatrix", [](BenchSession &s) { return s.chooseEntry(kPasteEntry); }},
  };
  for (const Case &c : cases) {
    auto *b =
        benchmark::RegisterBenchmark(c.name, [click = c.click](benchmark::State &s) { runClicks(s, click); })
            ->Arg(objects)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    if (quickRun())
      b->Iterations(2);
    else
      b->MinTime(1.0);
  }
}
