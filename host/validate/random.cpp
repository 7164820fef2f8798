// random: seeded sessions mixing everything the other groups do. Each
// failing session's seed is printed; --seed replays it first.
#include "pello/validate/SessionDriver.h"

namespace pello::validate {

namespace {

constexpr int kSessions = 12;

void runSessions(CheckContext &context, bool faults) {
  context.summarize(std::to_string(kSessions) + " sessions of " + std::to_string(context.steps) +
                    " actions from seed " + std::to_string(context.seed));
  for (int index = 0; index < kSessions; ++index) {
    const std::uint64_t seed = context.seed + static_cast<std::uint64_t>(index);
    const int before = context.failureCount();
    RandomChooser chooser(seed * 2 + (faults ? 1 : 0));
    DriverOptions options;
    options.steps = context.steps;
    options.faults = faults;
    options.label = "session seed " + std::to_string(seed);
    runDrivenSession(context, chooser, options);
    if (context.failureCount() > before) {
      context.stage("");
      context.fail("session seed " + std::to_string(seed) + " failed; replay it with --seed " +
                   std::to_string(seed) + " --steps " + std::to_string(context.steps));
      return;
    }
  }
}

void checkSessions(CheckContext &context) {
  runSessions(context, true);
}

void checkQuietSessions(CheckContext &context) {
  runSessions(context, false);
}

} // namespace

std::vector<Check> randomChecks() {
  return {
      {"random", "random.sessions",
       "seeded sessions of every host action, with faults, missing suites, odd prefs", checkSessions},
      {"random", "random.quiet-sessions", "seeded sessions without host faults: no error alert at all",
       checkQuietSessions},
  };
}

} // namespace pello::validate
