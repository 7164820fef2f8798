// The memory check: many palette clicks on a small selection, with the host's
// live blocks, its handles and the process's memory read at checkpoints.
// Nothing may grow from the first checkpoint to the last.
//
//   pello-bench-memory [--clicks 1000,1000000] [--rss-slack-kib 256]
//
// The clicks go round every palette button (with modifier keys on the
// arrows) and every option-menu entry. The suite holds include the eight
// that the benchmark session itself holds for its floors. The host keeps each alert for its
// tests; "Show transformation matrix" brings one, and that record is
// cleared after each, as the user dismissing it.
#include "artDocuments.h"
#include "benchSession.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/AppContext.h"
#include "pello/host/Blocks.h"
#include "pello/host/DialogManager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

using namespace pello::harness;
using namespace pello::host;

namespace {

// AddressSanitizer keeps freed memory in quarantine, so the process's memory
// grows under it whatever the program does: the peak is then shown, not
// judged.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kJudgePeak = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kJudgePeak = false;
#else
constexpr bool kJudgePeak = true;
#endif
#else
constexpr bool kJudgePeak = true;
#endif

struct Snapshot {
  long long clicks = 0;
  std::size_t liveBlocks = 0, liveBlockBytes = 0;
  std::size_t dialogs = 0, items = 0, lists = 0, entries = 0, notifiers = 0, trackers = 0, icons = 0;
  int suiteHolds = 0, accessRefs = 0;
  std::size_t contexts = 0, alertsKept = 0, logRecords = 0;
  ProcessMemory memory;

  // Everything the host hands out or keeps: must not change.
  std::vector<long long> handles() const {
    return {static_cast<long long>(liveBlocks),
            static_cast<long long>(liveBlockBytes),
            static_cast<long long>(dialogs),
            static_cast<long long>(items),
            static_cast<long long>(lists),
            static_cast<long long>(entries),
            static_cast<long long>(notifiers),
            static_cast<long long>(trackers),
            static_cast<long long>(icons),
            suiteHolds,
            accessRefs,
            static_cast<long long>(contexts),
            static_cast<long long>(alertsKept),
            static_cast<long long>(logRecords)};
  }
};

Snapshot snapshot(BenchSession &session, long long clicks) {
  Snapshot s;
  s.clicks = clicks;
  Blocks &blocks = session.host.get<Blocks>();
  s.liveBlocks = blocks.liveCount();
  s.liveBlockBytes = blocks.liveBytes();
  const DialogManager::LiveObjects adm = session.dialogs.liveObjects();
  s.dialogs = adm.dialogs;
  s.items = adm.items;
  s.lists = adm.lists;
  s.entries = adm.entries;
  s.notifiers = adm.notifiers;
  s.trackers = adm.trackers;
  s.icons = adm.icons;
  s.suiteHolds = session.host.suites().totalHolds();
  s.accessRefs = session.host.get<AccessRefs>().held();
  s.contexts = session.host.get<AppContexts>().depth();
  s.alertsKept = session.dialogs.alerts().size();
  s.logRecords = session.host.log().records().size();
  s.memory = readProcessMemory();
  return s;
}

// Click number `n` of the round.
bool clickNumber(BenchSession &session, long long n) {
  switch (n % 16) {
  case 0:
    return session.click(kRightArrow);
  case 1:
    return session.click(kUpRightArrow, {kVkShift});
  case 2:
    return session.click(kUpArrow, {kVkAlt});
  case 3:
    return session.click(kUpLeftArrow, {kVkShift, kVkControl});
  case 4:
    return session.click(kLeftArrow, {kVkLeftWindows, kVkAlt, kVkControl});
  case 5:
    return session.click(kDownLeftArrow);
  case 6:
    return session.click(kDownArrow, {kVkShift, kVkLeftWindows});
  case 7:
    return session.click(kDownRightArrow);
  case 8:
    return session.click(kDashLeftButton);
  case 9:
    return session.click(kDashRightButton, {kVkShift});
  case 10:
    return session.click(kDashRightButton);
  case 11:
    return session.click(kUntransformButton);
  case 12:
    return session.chooseEntry(kCopyEntry);
  case 13:
    return session.chooseEntry(kPasteEntry);
  case 14: {
    const bool shown = session.chooseEntry(kShowEntry);
    session.dialogs.clearAlerts();
    return shown;
  }
  default:
    return session.click(kLeftArrow, {kVkShift});
  }
}

std::vector<long long> parseCounts(const char *text) {
  std::vector<long long> counts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ','))
    counts.push_back(std::atoll(part.c_str()));
  return counts;
}

void print(const Snapshot &s) {
  std::printf("%12lld %8zu %9zu %5zu/%zu/%zu/%zu/%zu/%zu/%zu %6d %6d %8zu %7zu %7zu %10ld %10ld\n", s.clicks,
              s.liveBlocks, s.liveBlockBytes, s.dialogs, s.items, s.lists, s.entries, s.notifiers, s.trackers,
              s.icons, s.suiteHolds, s.accessRefs, s.contexts, s.alertsKept, s.logRecords,
              s.memory.residentKiB, s.memory.peakKiB);
}

} // namespace

int main(int argc, char **argv) {
  std::vector<long long> checkpoints{1000, 1000000};
  long slackKiB = 256;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--clicks") == 0)
      checkpoints = parseCounts(argv[i + 1]);
    else if (std::strcmp(argv[i], "--rss-slack-kib") == 0)
      slackKiB = std::atol(argv[i + 1]);
    else {
      std::fprintf(stderr, "usage: %s [--clicks N,M,...] [--rss-slack-kib K]\n", argv[0]);
      return 2;
    }
  }
  if (checkpoints.size() < 2) {
    std::fprintf(stderr, "pello-bench-memory: give at least two checkpoints\n");
    return 2;
  }

  BenchSession &session = BenchSession::withPalette();
  openArtDocument(session.document, ArtKind::mixedArt, 8);
  std::printf(
      "selection: 8 objects of mixed art (one of each kind); clicks go round 16 buttons and entries\n");
  std::printf("%12s %8s %9s %23s %6s %6s %8s %7s %7s %10s %10s\n", "clicks", "blocks", "bytes",
              "dlg/itm/lst/ent/ntf/trk/ico", "holds", "access", "contexts", "alerts", "log", "rss_kib",
              "peak_kib");
  // One round first: whatever the host sets up on first use is not growth.
  long long done = 0;
  for (; done < 16; ++done)
    if (!clickNumber(session, done)) {
      std::fprintf(stderr, "pello-bench-memory: the host refused click %lld\n", done);
      return 2;
    }
  print(snapshot(session, done));

  std::vector<Snapshot> taken;
  for (long long target : checkpoints) {
    for (; done < target; ++done)
      if (!clickNumber(session, done)) {
        std::fprintf(stderr, "pello-bench-memory: the host refused click %lld\n", done);
        return 2;
      }
    taken.push_back(snapshot(session, done));
    print(taken.back());
  }

  // The clicks did their work: every selection list the host handed out
  // came back.
  const long long queries = session.host.faults().count("AIMatchingArt::GetSelectedArt");
  const long long givenBack = session.host.faults().count("SPBlocks::FreeBlock");
  long long calls = 0;
  for (const auto &[op, n] : session.host.faults().counts())
    calls += n;
  std::printf("host calls: %lld (%.1f per click); selection lists: %lld handed out, %lld given back\n", calls,
              static_cast<double>(calls) / static_cast<double>(done), queries, givenBack);

  const Snapshot &first = taken.front(), &last = taken.back();
  const bool handlesSame = first.handles() == last.handles();
  const long peakGrowth = last.memory.peakKiB - first.memory.peakKiB;
  const bool peakFlat = peakGrowth <= slackKiB || !kJudgePeak;
  std::printf("host blocks and handles: %s\n", handlesSame ? "no growth" : "GROWTH");
  std::printf("peak RSS: %+ld KiB from %lld to %lld clicks (allowed %ld KiB): %s\n", peakGrowth, first.clicks,
              last.clicks, slackKiB,
              !kJudgePeak ? "not judged under AddressSanitizer"
              : peakFlat  ? "no growth"
                          : "GROWTH");
  BenchSession::end();
  return handlesSame && peakFlat && queries == givenBack ? 0 : 1;
}
