// PluginMain for "AI Menu" / "AI Update", the host's question about the menu
// item's check mark, beside what the call has to cost:
//   vsStrings:   the five string comparisons through the host's IsEqual that
//                the dispatch makes (caller against "SP Access", "SP
//                Interface", "AI Menu"; selector against "AI Go", "AI Update");
//   vsHostCalls: those, the two calls of the handler (the palette's
//                visibility, the check mark) and, without the palette, the
//                walk of the 32-row suite table to acquire and to release.
// With the palette up the suites stay held and the call makes no suite
// traffic. Calls are timed in batches; the counters give ns per call.
#include "ADMDialog.h"
#include "AIMenu.h"
#include "benchOptions.h"
#include "benchSession.h"
#include "pairedTiming.h"
#include "pello/harness/PluginSurface.h"

using pello::harness::kSuiteTable;
using pello::harness::SuiteRow;

namespace {

constexpr int kBatch = 1000;

// The plug-in's own copies of the names it compares against: other
// addresses than the host's strings, as in the plug-in.
char gAccess[] = "SP Access";
char gInterface[] = "SP Interface";
char gMenu[] = "AI Menu";
char gGo[] = "AI Go";
char gUpdate[] = "AI Update";

// What the host hands PluginMain: its own caller and selector strings.
const char *const kCaller = kAIMenuCaller;
const char *const kSelector = kAIMenuUpdateSelector;

void compareStrings(SPBasicSuite *basic) {
  benchmark::DoNotOptimize(basic->IsEqual(kCaller, gAccess));
  benchmark::DoNotOptimize(basic->IsEqual(kCaller, gInterface));
  benchmark::DoNotOptimize(basic->IsEqual(kCaller, gMenu));
  benchmark::DoNotOptimize(basic->IsEqual(kSelector, gGo));
  benchmark::DoNotOptimize(basic->IsEqual(kSelector, gUpdate));
}

struct HandlerSuites {
  ADMDialogSuite3 *dialog = nullptr;
  AIMenuSuite *menu = nullptr;
};

void runMenuUpdate(benchmark::State &state, bool palette, bool withHostCalls) {
  BenchSession &session = palette ? BenchSession::withPalette() : BenchSession::withoutPalette();
  SPBasicSuite *basic = session.plugin.basic();
  HandlerSuites suites;
  const void *table = nullptr;
  basic->AcquireSuite(kADMDialogSuite, kADMDialogSuiteVersion, &table);
  suites.dialog = static_cast<ADMDialogSuite3 *>(const_cast<void *>(table));
  basic->AcquireSuite(kAIMenuSuite, kAIMenuSuiteVersion, &table);
  suites.menu = static_cast<AIMenuSuite *>(const_cast<void *>(table));
  ADMDialogRef dialog = session.dialogs.palette();
  AIMenuItemHandle item = session.menuItem();
  SPPluginMainProc entry = session.plugin.module()->entry();

  AIMenuMessage message{};
  message.d.self = session.plugin.ref();
  message.d.globals = session.plugin.globalsSlot();
  message.d.basic = basic;
  message.menuItem = item;

  auto pluginMain = [&] {
    for (int i = 0; i < kBatch; ++i)
      benchmark::DoNotOptimize(entry(kCaller, kSelector, &message));
  };
  auto floor = [&] {
    for (int i = 0; i < kBatch; ++i) {
      if (withHostCalls && !palette)
        for (const SuiteRow &row : kSuiteTable) {
          const void *table = nullptr;
          basic->AcquireSuite(row.name, row.version, &table);
        }
      compareStrings(basic);
      if (withHostCalls) suites.menu->CheckItem(item, suites.dialog->IsVisible(dialog));
      if (withHostCalls && !palette)
        for (const SuiteRow &row : kSuiteTable)
          basic->ReleaseSuite(row.name, row.version);
    }
  };

  const auto callCalls = hostCallsOf(session.host, [&] { entry(kCaller, kSelector, &message); });
  const auto floorCalls = hostCallsOf(session.host, [&] {
    // One call's worth of the floor.
    compareStrings(basic);
    if (withHostCalls) {
      if (!palette)
        for (const SuiteRow &row : kSuiteTable) {
          const void *table = nullptr;
          basic->AcquireSuite(row.name, row.version, &table);
          basic->ReleaseSuite(row.name, row.version);
        }
      suites.menu->CheckItem(item, suites.dialog->IsVisible(dialog));
    }
  });

  PairedTimes times;
  for (auto _ : state)
    state.SetIterationTime(times.run(pluginMain, floor));
  times.report(state, kBatch, "call");
  state.counters["host_calls"] = static_cast<double>(totalCalls(callCalls));
  state.counters["floor_calls"] = static_cast<double>(totalCalls(floorCalls));
  state.SetItemsProcessed(state.iterations() * kBatch);

  basic->ReleaseSuite(kADMDialogSuite, kADMDialogSuiteVersion);
  basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
}

} // namespace

void registerPluginMainBenchmarks() {
  const benchmark::IterationCount batches = quickRun() ? 2 : 400;
  struct Case {
    const char *name;
    bool palette, hostCalls;
  };
  for (Case c :
       {Case{"MenuUpdate/palette/vsStrings", true, false}, Case{"MenuUpdate/palette/vsHostCalls", true, true},
        Case{"MenuUpdate/noPalette/vsStrings", false, false},
        Case{"MenuUpdate/noPalette/vsHostCalls", false, true}}) {
    benchmark::RegisterBenchmark(c.name,
                                 [c](benchmark::State &s) { runMenuUpdate(s, c.palette, c.hostCalls); })
        ->UseManualTime()
        ->Iterations(c.palette ? batches : batches / 4 + 1)
        ->Unit(benchmark::kMicrosecond);
  }
}
