// What single host calls cost in the stand-in host with the call log off:
// the frame alone (a translation through the real math suite), the string
// comparison, an art object's type, a path style read and written, and the
// selection query with its list given back (per selected object). These
// make up every floor; the report uses them to show that the host's own
// costs are in proportion.
#include "AIMenu.h"
#include "artDocuments.h"
#include "benchOptions.h"
#include "benchSession.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr std::size_t kObjects = 10000;

struct Setup {
  BenchSession &session;
  const ArtSuites &suites;
  std::vector<AIArtHandle> paths;
};

Setup prepare() {
  BenchSession &session = BenchSession::withPalette();
  useArtDocument(session.document, ArtKind::patternPaths, kObjects);
  const ArtSuites &suites = session.suites();
  std::vector<AIArtHandle> paths;
  AIArtHandle **matches = nullptr;
  ai_int32 count = 0;
  suites.matchingArt->GetSelectedArt(&matches, &count);
  paths.assign(*matches, *matches + count);
  suites.blocks->FreeBlock(matches);
  return Setup{session, suites, std::move(paths)};
}

// Runs `call(path)` over every path of the document per iteration.
template <class Call> void perPath(benchmark::State &state, Call call) {
  Setup setup = prepare();
  for (auto _ : state)
    for (AIArtHandle path : setup.paths)
      call(setup.suites, path);
  // Seconds per call ("35n" is 35 ns).
  state.counters["per_call"] =
      benchmark::Counter(static_cast<double>(setup.paths.size()),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void frameOnly(benchmark::State &state) {
  ASRealMatrix m{1, 0, 0, 1, 0, 0};
  perPath(state,
          [&m](const ArtSuites &s, AIArtHandle) { s.realMath->AIRealMatrixConcatTranslate(&m, 1, 0); });
  benchmark::DoNotOptimize(m);
}

void artType(benchmark::State &state) {
  perPath(state, [](const ArtSuites &s, AIArtHandle path) {
    ai_int16 type = 0;
    s.art->GetArtType(path, &type);
    benchmark::DoNotOptimize(type);
  });
}

void readStyle(benchmark::State &state) {
  perPath(state, [](const ArtSuites &s, AIArtHandle path) {
    AIPathStyle style;
    s.pathStyle->GetPathStyle(path, &style);
    benchmark::DoNotOptimize(style);
  });
}

void readWriteStyle(benchmark::State &state) {
  perPath(state, [](const ArtSuites &s, AIArtHandle path) {
    AIPathStyle style;
    s.pathStyle->GetPathStyle(path, &style);
    s.pathStyle->SetPathStyle(path, &style);
  });
}

void selection(benchmark::State &state) {
  Setup setup = prepare();
  for (auto _ : state) {
    AIArtHandle **matches = nullptr;
    ai_int32 count = 0;
    setup.suites.matchingArt->GetSelectedArt(&matches, &count);
    setup.suites.blocks->FreeBlock(matches);
  }
  state.counters["per_object"] =
      benchmark::Counter(static_cast<double>(kObjects),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

void registerHostCallBenchmarks() {
  auto add = [](const char *name, void (*fn)(benchmark::State &)) {
    auto *b = benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMicrosecond);
    if (quickRun()) b->Iterations(2);
  };
  add("HostCall/frameOnly", frameOnly);
  add("HostCall/getArtType", artType);
  add("HostCall/getPathStyle", readStyle);
  add("HostCall/getAndSetPathStyle", readWriteStyle);
  add("HostCall/selectionPer10000", selection);
}
