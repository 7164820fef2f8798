// random: seeded sessions mixing everything the other groups do. Each
// failing session's seed is printed; --seed replays it first.
#include "Shrink.h"
#include "pello/validate/SessionDriver.h"

namespace pello::validate {

namespace {

constexpr int kSessions = 12;

// A failing session is shrunk and written where it outlives the check's
// folder: the system's temporary folder.
std::filesystem::path shrunkSessionFile(const CheckContext &context, const std::string &check,
                                        std::uint64_t seed) {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
  if (ec) dir = ".";
  return dir / ("pello-validate-" + context.plugin.stem().string() + "-" + check + "-seed-" +
                std::to_string(seed) + "-steps-" + std::to_string(context.steps) + ".session.json");
}

// The failing session, shrunk: what to run to see the failure again.
std::string shrunkReport(const CheckContext &context, const std::string &check, std::uint64_t seed,
                         bool faults, const ActionScript &script, const std::string &firstMessage,
                         std::string &actions) {
  ShrinkOptions options;
  options.faults = faults;
  options.file = shrunkSessionFile(context, check, seed);
  options.title = "validate " + check + ", session seed " + std::to_string(seed) + " (--steps " +
                  std::to_string(context.steps) + "), shrunk: " + failureKind(firstMessage);
  const ShrinkResult shrunk = shrinkSession(context, script, failureKind(firstMessage), options);
  for (const std::string &note : shrunk.notes)
    actions += (actions.empty() ? "" : "; ") + note;
  const std::string size = "shrunk to " + std::to_string(shrunk.to) + " of its " +
                           std::to_string(shrunk.from) + " actions (" + std::to_string(shrunk.trials) +
                           " runs)";
  if (!shrunk.file.empty())
    return size + ", a session that fails the same way: pello-host run " + shrunk.file.string() +
           " --plugin " + context.plugin.string();
  return size + ", no session file: " + shrunk.why;
}

void runSessions(CheckContext &context, bool faults) {
  context.summarize(std::to_string(kSessions) + " sessions of " + std::to_string(context.steps) +
                    " actions from seed " + std::to_string(context.seed));
  for (int index = 0; index < kSessions; ++index) {
    const std::uint64_t seed = context.seed + static_cast<std::uint64_t>(index);
    const int before = context.failureCount();
    RandomChooser random(seed * 2 + (faults ? 1 : 0));
    ActionScript script;
    RecordingChooser chooser(random, script);
    DriverOptions options;
    options.steps = context.steps;
    options.faults = faults;
    options.label = "session seed " + std::to_string(seed);
    const std::size_t messagesBefore = context.messages.size();
    runDrivenSession(context, chooser, options);
    if (context.failureCount() > before) {
      // A crash while a subset runs ends the check here, its failures told.
      context.stage("shrinking the failing session seed " + std::to_string(seed) + " (--steps " +
                    std::to_string(context.steps) + ")");
      std::string shrunk, actions;
      if (context.messages.size() > messagesBefore)
        shrunk = "; " + shrunkReport(context, faults ? "random.sessions" : "random.quiet-sessions", seed,
                                     faults, script, context.messages[messagesBefore], actions);
      context.stage("");
      context.fail("session seed " + std::to_string(seed) + " failed; replay it with --seed " +
                   std::to_string(seed) + " --steps " + std::to_string(context.steps) + shrunk);
      if (!actions.empty()) context.fail("the shrunk session's actions: " + actions);
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
