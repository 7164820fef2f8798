// random: seeded sessions mixing everything the other groups do. Each
// failing session's seed is printed; --seed replays it first.
#include "ChildRun.h"
#include "Shrink.h"
#include "pello/validate/SessionDriver.h"

namespace pello::validate {

namespace {

constexpr int kSessions = 12;

// A failing session is shrunk and written where it outlives the check's
// folder: --artifacts, else the system's temporary folder.
std::filesystem::path shrunkSessionFile(const CheckContext &context, const std::string &check,
                                        std::uint64_t seed) {
  std::error_code ec;
  std::filesystem::path dir = context.artifactsDir;
  if (dir.empty()) dir = std::filesystem::temp_directory_path(ec);
  if (ec) dir = ".";
  return dir / ("pello-validate-" + context.plugin.stem().string() + "-" + check + "-seed-" +
                std::to_string(seed) + "-steps-" + std::to_string(context.steps) + ".session.json");
}

// The failing session, shrunk: what to run to see the failure again.
std::string shrunkReport(const CheckContext &context, const std::string &check, std::uint64_t seed,
                         bool faults, const ActionScript &script, const std::string &kind,
                         std::string &actions) {
  ShrinkOptions options;
  options.faults = faults;
  options.file = shrunkSessionFile(context, check, seed);
  options.title = "validate " + check + ", session seed " + std::to_string(seed) + " (--steps " +
                  std::to_string(context.steps) + "), shrunk: " + kind;
  const ShrinkResult shrunk = shrinkSession(context, script, kind, options);
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

// One session, in a child process where there is fork: its stages, failures
// and warnings reach `context` as they come, its choices shared memory.
ChildEnd runSession(CheckContext &context, std::uint64_t seed, bool faults, SharedChoices &choices) {
  return runInChild(
      [&](const std::function<void(const std::string &)> &send) {
        CheckContext mine = context;
        mine.sink = contextLines(send);
        RandomChooser random(seed * 2 + (faults ? 1 : 0));
        SharedRecordingChooser chooser(random, choices);
        DriverOptions options;
        options.steps = context.steps;
        options.faults = faults;
        options.label = "session seed " + std::to_string(seed);
        runDrivenSession(mine, chooser, options);
      },
      [&](const std::string &line) { applyContextLine(context, line); });
}

void runSessions(CheckContext &context, bool faults) {
  const std::string check = faults ? "random.sessions" : "random.quiet-sessions";
  context.summarize(std::to_string(kSessions) + " sessions of " + std::to_string(context.steps) +
                    " actions from seed " + std::to_string(context.seed));
  for (int index = 0; index < kSessions; ++index) {
    const std::uint64_t seed = context.seed + static_cast<std::uint64_t>(index);
    const std::string replay =
        "replay it with --seed " + std::to_string(seed) + " --steps " + std::to_string(context.steps);
    const int before = context.failureCount();
    const std::size_t messagesBefore = context.messages.size();
    SharedChoices choices;
    const ChildEnd end = runSession(context, seed, faults, choices);
    if (end.crashed()) {
      // The check ends as the session did, its stage telling where and
      // the shrunk session.
      const std::string where = context.currentStage();
      context.stage("shrinking the session seed " + std::to_string(seed) + " that crashed the plug-in");
      std::string actions;
      const std::string shrunk =
          shrunkReport(context, check, seed, faults, choices.script(), kCrashedKind, actions);
      context.stage(where + "; the session ended with " + end.how + "; " + replay + "; " + shrunk +
                    (actions.empty() ? "" : "; the shrunk session's actions: " + actions));
      endAsChildEnded(end);
    }
    if (context.failureCount() > before) {
      context.stage("shrinking the failing session seed " + std::to_string(seed) + " (--steps " +
                    std::to_string(context.steps) + ")");
      std::string shrunk, actions;
      if (context.messages.size() > messagesBefore)
        shrunk = "; " + shrunkReport(context, check, seed, faults, choices.script(),
                                     failureKind(context.messages[messagesBefore]), actions);
      context.stage("");
      context.fail("session seed " + std::to_string(seed) + " failed; " + replay + shrunk);
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
