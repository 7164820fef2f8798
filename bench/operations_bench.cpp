// Each art operation as a palette click over 10^3 to 10^6 selected objects,
// beside its floor: the same host calls on the same document, made directly
// (floorOperations.h). Counters:
//   object_ns, floor_object_ns  median time per selected object;
//   ratio, ratio_min            plug-in / floor (median of the pairs, and
//                               of the fastest runs);
//   host_calls, floor_calls     host calls of one click and of one floor run.
#include "artDocuments.h"
#include "benchOptions.h"
#include "benchSession.h"
#include "floorOperations.h"
#include "pairedTiming.h"
#include "pello/harness/PluginSurface.h"

#include <functional>
#include <string>
#include <vector>

using namespace pello::harness;

namespace {

struct Operation {
  const char *name;
  std::vector<ArtKind> documents;
  std::function<bool(BenchSession &)> click;
  std::function<void(const ArtSuites &)> floor;
};

ASRealMatrix gFloorHeld{1, 0, 0, 1, 0, 0};

// A plain click on the right arrow is pelloPattern(1, -0); the left dash
// button is pelloDashes(+1); paste writes the held matrix, the identity
// from startup (copy over dashed paths finds none).
const std::vector<Operation> &operations() {
  static const std::vector<Operation> ops = {
      {"PatternShift",
       {ArtKind::patternPaths, ArtKind::mixedArt},
       [](BenchSession &s) { return s.click(kRightArrow); },
       [](const ArtSuites &s) { floorPatternShift(s, 1.0f, -0.0f); }},
      {"DashShift",
       {ArtKind::dashedPaths, ArtKind::mixedArt},
       [](BenchSession &s) { return s.click(kDashLeftButton); },
       [](const ArtSuites &s) { floorDashShift(s, 1.0f); }},
      {"Untransform",
       {ArtKind::patternPaths, ArtKind::dashedPaths, ArtKind::mixedArt},
       [](BenchSession &s) { return s.click(kUntransformButton); },
       [](const ArtSuites &s) { floorUntransform(s); }},
      {"PasteMatrix",
       {ArtKind::patternPaths, ArtKind::mixedArt},
       [](BenchSession &s) { return s.chooseEntry(kPasteEntry); },
       [](const ArtSuites &s) { floorPasteMatrix(s, gFloorHeld); }},
      // No dashed path has a pattern fill: the search for a matrix visits
      // every object.
      {"CopyMatrix",
       {ArtKind::dashedPaths},
       [](BenchSession &s) { return s.chooseEntry(kCopyEntry); },
       [](const ArtSuites &s) { floorCopyMatrix(s, gFloorHeld); }},
  };
  return ops;
}

// The per-object host calls of the click must be those of the floor: the
// click may only add calls of its own (the notifier type, the dialog, the
// palette's items, the keyboard).
bool sameObjectCalls(const std::map<std::string, long long> &click,
                     const std::map<std::string, long long> &floor, std::string &why) {
  for (const auto &[op, n] : floor) {
    auto it = click.find(op);
    const long long made = it == click.end() ? 0 : it->second;
    if (made != n) {
      why = op + ": click " + std::to_string(made) + ", floor " + std::to_string(n);
      return false;
    }
  }
  return true;
}

void runOperation(benchmark::State &state, const Operation &op, ArtKind kind) {
  const auto objects = static_cast<std::size_t>(state.range(0));
  BenchSession &session = BenchSession::withPalette();
  useArtDocument(session.document, kind, objects);
  const ArtSuites &suites = session.suites();

  bool clicked = true;
  const auto clickCalls = hostCallsOf(session.host, [&] { clicked = op.click(session); });
  const auto floorCalls = hostCallsOf(session.host, [&] { op.floor(suites); });
  std::string why;
  if (!clicked) return failBenchmark(state, "the host refused the click");
  if (!sameObjectCalls(clickCalls, floorCalls, why)) return failBenchmark(state, why);

  PairedTimes times;
  times.reserve(static_cast<std::size_t>(state.max_iterations));
  for (auto _ : state)
    state.SetIterationTime(times.run([&] { op.click(session); }, [&] { op.floor(suites); }));

  times.report(state, static_cast<double>(objects), "object");
  state.counters["host_calls"] = static_cast<double>(totalCalls(clickCalls));
  state.counters["floor_calls"] = static_cast<double>(totalCalls(floorCalls));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * objects));
}

// The fixed cost of a click: the arrow on an empty selection, beside the
// one host call its floor makes (the selection query). Timed in batches.
void runEmptyClick(benchmark::State &state) {
  constexpr int kBatch = 100;
  BenchSession &session = BenchSession::withPalette();
  useArtDocument(session.document, ArtKind::patternPaths, 0);
  const ArtSuites &suites = session.suites();
  const auto clickCalls = hostCallsOf(session.host, [&] { session.click(kRightArrow); });
  PairedTimes times;
  for (auto _ : state)
    state.SetIterationTime(times.run(
        [&] {
          for (int i = 0; i < kBatch; ++i)
            session.click(kRightArrow);
        },
        [&] {
          for (int i = 0; i < kBatch; ++i)
            floorPatternShift(suites, 1.0f, -0.0f);
        }));
  times.report(state, kBatch, "click");
  state.counters["host_calls"] = static_cast<double>(totalCalls(clickCalls));
}

// Enough pairs for a stable median; fewer for the large sizes.
benchmark::IterationCount pairsFor(std::size_t objects) {
  if (quickRun()) return 2;
  const auto pairs = static_cast<benchmark::IterationCount>(2'000'000 / objects);
  return std::clamp<benchmark::IterationCount>(pairs, 7, 2000);
}

} // namespace

void registerOperationBenchmarks() {
  const std::vector<std::size_t> sizes =
      quickRun() ? std::vector<std::size_t>{1000} : std::vector<std::size_t>{1000, 10000, 100000, 1000000};
  benchmark::RegisterBenchmark("Click/emptySelection", runEmptyClick)
      ->UseManualTime()
      ->Iterations(quickRun() ? 2 : 2000)
      ->Unit(benchmark::kMicrosecond);
  // Size by size and document by document, so each document is built once.
  for (std::size_t objects : sizes) {
    for (ArtKind kind : {ArtKind::patternPaths, ArtKind::dashedPaths, ArtKind::mixedArt}) {
      for (const Operation &op : operations()) {
        if (std::find(op.documents.begin(), op.documents.end(), kind) == op.documents.end()) continue;
        const std::string name = std::string(op.name) + "/" + artKindName(kind);
        benchmark::RegisterBenchmark(name.c_str(),
                                     [&op, kind](benchmark::State &s) { runOperation(s, op, kind); })
            ->Arg(static_cast<std::int64_t>(objects))
            ->UseManualTime()
            ->Iterations(pairsFor(objects))
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
}
