// The benchmark program: the art operations against their floors, PluginMain
// for the menu item's update, and clicks per second.
#include "benchOptions.h"
#include "benchSession.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <thread>

void registerOperationBenchmarks();
void registerPluginMainBenchmarks();
void registerClickBenchmarks();
void registerHostCallBenchmarks();

namespace {
bool gQuick = false;
bool gFailed = false;
} // namespace

bool quickRun() {
  return gQuick;
}

void failBenchmark(benchmark::State &state, const std::string &why) {
  gFailed = true;
  state.SkipWithError(why.c_str());
}

int main(int argc, char **argv) {
  // Our own options go before Google Benchmark sees the rest.
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--pello_quick") == 0)
      gQuick = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::AddCustomContext("cpu_model", cpuModel());
  benchmark::AddCustomContext("memory_total_kib", std::to_string(totalMemoryKiB()));
  benchmark::AddCustomContext("hardware_threads", std::to_string(std::thread::hardware_concurrency()));

  registerHostCallBenchmarks();
  registerOperationBenchmarks();
  registerPluginMainBenchmarks();
  registerClickBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  BenchSession::end();
  benchmark::Shutdown();
  return gFailed ? 1 : 0;
}
