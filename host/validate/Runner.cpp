// The run: picks the checks, runs each (isolated) in every round, prints a
// progress line per check and the summary, or the JSON report, and writes
// the JUnit file.
#include "Isolation.h"
#include "Report.h"
#include "ReportFiles.h"
#include "RunSignals.h"
#include "Selection.h"
#include "pello/validate/Check.h"
#include "pello/validate/Validate.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

namespace pello::validate {

namespace {

std::uint64_t clockSeed() {
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  std::seed_seq seq{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                    static_cast<std::uint32_t>(std::random_device{}())};
  std::uint32_t words[1];
  seq.generate(words, words + 1);
  return words[0] % 1000000000u;
}

std::filesystem::path makeWorkDir() {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) base = ".";
  std::random_device random;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::filesystem::path dir = base / ("pello-validate-" + std::to_string(random()));
    if (std::filesystem::create_directory(dir, ec)) return dir;
  }
  return base;
}

} // namespace

CheckOutcome runInProcess(const Check &check, CheckContext context) {
  const auto start = std::chrono::steady_clock::now();
  CheckOutcome outcome;
  const auto crashed = [&](const std::string &what) {
    outcome.status = Status::Crashed;
    outcome.reason = what + (context.currentStage().empty() ? "" : " while: " + context.currentStage());
    if (context.sink) context.sink('C', outcome.reason);
  };
  try {
    check.run(context);
  } catch (const std::exception &e) {
    crashed(std::string("threw an exception: ") + e.what());
  } catch (...) {
    crashed("threw an exception");
  }
  outcome.failures = context.failureCount();
  outcome.messages = context.messages;
  outcome.warnings = context.warnings;
  outcome.summary = context.summary();
  outcome.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  outcome.settle();
  return outcome;
}

namespace {

// A word of a command line, quoted for a POSIX shell where it needs it.
std::string shellWord(const std::string &word) {
  if (!word.empty() && word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                              "0123456789_-+=.,:/@%") == std::string::npos)
    return word;
  std::string quoted = "'";
  for (char c : word)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The command line that runs `check` alone as it ran here.
std::string replayLine(const RunSettings &settings, const Check &check, std::uint64_t seed) {
  std::string line = "pello-host validate " + shellWord(settings.plugin) + " --only " + check.name +
                     " --seed " + std::to_string(seed) + " --steps " + std::to_string(settings.steps);
  if (settings.cycles > 0) line += " --cycles " + std::to_string(settings.cycles);
  line += " --strictness " + std::to_string(settings.strictness) + " --timeout " +
          std::to_string(settings.timeoutSeconds);
  return settings.isolate ? line : line + " --in-process";
}

void printList(const std::vector<const Check *> &chosen, bool json, std::FILE *out) {
  if (json) {
    std::fprintf(out, "%s\n", listJson(chosen).dump(2).c_str());
    return;
  }
  const char *group = "";
  for (const Check *check : chosen) {
    if (std::string(group) != check->group) {
      group = check->group;
      std::fprintf(out, "%s (from --strictness %d)\n", group, lowestStrictness(*check));
    }
    std::fprintf(out, "  %-28s %s\n", check->name, check->description);
  }
}

void printHeader(const RunSettings &settings, std::FILE *out) {
  const std::string where = settings.isolate ? "each check in a child process, timeout " +
                                                   std::to_string(settings.timeoutSeconds) + " s"
                                             : std::string("checks in this process");
  std::fprintf(out, "validate %s\n  seed %llu, %d steps per random session, strictness %d, %s\n",
               settings.plugin.c_str(), static_cast<unsigned long long>(settings.seed), settings.steps,
               settings.strictness, where.c_str());
  if (settings.repeat > 1 || settings.shuffle)
    std::fprintf(out, "  %d round(s)%s\n", settings.repeat,
                 settings.shuffle ? ", each in an order shuffled with its seed" : "");
}

} // namespace

namespace {

// Every check of every round, in the order they run.
std::vector<PlannedRun> planRuns(const std::vector<const Check *> &chosen, const RunSettings &settings) {
  std::vector<PlannedRun> plan;
  for (int round = 0; round < settings.repeat; ++round) {
    const std::uint64_t seed = roundSeed(settings.seed, round);
    std::vector<std::size_t> order = shuffledOrder(chosen.size(), seed);
    if (!settings.shuffle) std::sort(order.begin(), order.end());
    for (std::size_t index : order)
      plan.push_back({chosen[index], round, seed});
  }
  return plan;
}

RunSettings settingsOf(const ValidateOptions &options) {
  RunSettings settings;
  settings.plugin = options.plugin.string();
  settings.seed = options.seed ? *options.seed : clockSeed();
  settings.strictness = options.strictness;
  settings.steps = options.steps > 0 ? options.steps : stepsAt(options.strictness);
  settings.cycles = options.cycles > 0 ? options.cycles : cyclesAt(options.strictness);
  settings.timeoutSeconds = options.timeoutSeconds;
  settings.timeLimitSeconds = options.timeLimitSeconds;
  settings.failFast = options.failFast;
  settings.repeat = options.repeat;
  settings.shuffle = options.shuffle;
  settings.isolate = options.isolate && isolationAvailable();
  return settings;
}

// Why the checks from here on are not run, or empty: the run was
// interrupted, reached its time limit, or stops at a failure.
std::string stopReason(const RunReport &report,
                       const std::optional<CheckLimits::Clock::time_point> &runEnds) {
  if (const int signal = interruptSignal()) return "the run was interrupted by " + interruptName(signal);
  if (runEnds && CheckLimits::Clock::now() >= *runEnds)
    return "the run reached its --time-limit of " + std::to_string(report.settings.timeLimitSeconds) + " s";
  if (report.settings.failFast && !report.runs.empty() && report.runs.back().outcome.faulty())
    return "--fail-fast stopped the run after " + std::string(report.runs.back().check->name) + " " +
           statusName(report.runs.back().outcome.status);
  return {};
}

} // namespace

int runValidate(const ValidateOptions &options, std::FILE *out) {
  std::string error;
  const std::vector<const Check *> chosen = chooseChecks(options, error);
  if (!error.empty()) {
    std::fprintf(stderr, "pello-host validate: %s\n", error.c_str());
    return 2;
  }
  if (options.list) {
    printList(chosen, options.json, out);
    return 0;
  }
  RunReport report;
  report.settings = settingsOf(options);
  const RunSettings &settings = report.settings;
  const std::vector<PlannedRun> plan = planRuns(chosen, settings);
  ReportFiles files(options.junit, options.json, !settings.isolate);
  // The JUnit file is there, whole, before the first check.
  if (!files.beforeCheck(report, plan, error)) {
    std::fprintf(stderr, "pello-host validate: --junit: %s\n", error.c_str());
    return 2;
  }
  if (settings.isolate)
    watchInterrupts();
  else
    watchCrashes();
  const bool text = !options.json;
  if (text) printHeader(settings, out);

  CheckContext context;
  context.plugin = options.plugin;
  context.artifactsDir = options.artifacts;
  context.seedGiven = options.seed.has_value();
  context.steps = settings.steps;
  context.cycles = settings.cycles;
  context.strictness = settings.strictness;
  const std::filesystem::path workRoot = makeWorkDir();
  const auto start = std::chrono::steady_clock::now();
  CheckLimits limits;
  limits.timeoutSeconds = settings.timeoutSeconds;
  limits.timeLimitSeconds = settings.timeLimitSeconds;
  if (settings.timeLimitSeconds > 0) limits.runEnds = start + std::chrono::seconds(settings.timeLimitSeconds);
  std::string stopped;
  for (std::size_t index = 0; index < plan.size(); ++index) {
    const PlannedRun &planned = plan[index];
    const Check &check = *planned.check;
    CheckRun run{&check, planned.round, planned.seed, {}, {}};
    if (stopped.empty()) stopped = stopReason(report, limits.runEnds);
    if (text && settings.repeat > 1 && (index == 0 || plan[index - 1].round != planned.round))
      std::fprintf(out, "round %d of %d, seed %llu\n", planned.round + 1, settings.repeat,
                   static_cast<unsigned long long>(planned.seed));
    if (text) {
      std::fprintf(out, "[%2zu/%zu] %-28s ", index + 1, plan.size(), check.name);
      std::fflush(out);
    }
    if (!stopped.empty()) {
      run.outcome.status = Status::Skipped;
      run.outcome.reason = "not run: " + stopped;
    } else if (lowestStrictness(check) > settings.strictness) {
      run.outcome.status = Status::Skipped;
      run.outcome.reason = "runs from --strictness " + std::to_string(lowestStrictness(check)) +
                           " (this run: " + std::to_string(settings.strictness) + ")";
    } else {
      if (!files.beforeCheck(report, std::span(plan).subspan(index), error))
        std::fprintf(stderr, "pello-host validate: --junit: %s\n", error.c_str());
      CheckContext mine = context;
      mine.seed = planned.seed;
      mine.workDir = workRoot / check.name;
      if (!settings.isolate) {
        // Should the plug-in crash this process, the message says where.
        const std::string where = " with the plug-in " + settings.plugin + " loaded, in check " + check.name;
        setCrashMessage(where);
        mine.sink = [where](char kind, const std::string &stage) {
          if (kind == 'S') setCrashMessage(where + (stage.empty() ? "" : " while: " + stage));
        };
      }
      std::error_code ec;
      std::filesystem::create_directories(mine.workDir, ec);
      run.outcome = runIsolated(check, mine, settings.isolate, limits);
      std::filesystem::remove_all(mine.workDir, ec);
      if (run.outcome.faulty()) run.replay = replayLine(settings, check, planned.seed);
    }
    if (text) {
      printOutcome(out, run, options.verbose);
      std::fflush(out);
    }
    report.runs.push_back(std::move(run));
  }
  std::error_code ec;
  std::filesystem::remove_all(workRoot, ec);
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int interrupted = interruptSignal();
  if (interrupted) report.interrupted = "interrupted by " + interruptName(interrupted);

  const bool faulty = std::any_of(report.runs.begin(), report.runs.end(),
                                  [](const CheckRun &run) { return run.outcome.faulty(); });
  if (text) {
    std::fprintf(out, "%s (%.1f s)\n", statusCounts(report).c_str(), report.seconds);
    if (!stopped.empty()) std::fprintf(out, "stopped: %s\n", stopped.c_str());
    if (faulty) std::fprintf(out, "seed %llu\n", static_cast<unsigned long long>(settings.seed));
  } else {
    std::fprintf(out, "%s\n",
                 reportJson(report).dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  }
  std::fflush(out);
  const bool written = files.finish(report, error);
  if (!written) std::fprintf(stderr, "pello-host validate: --junit: %s\n", error.c_str());
  if (interrupted) endByInterrupt(interrupted);
  if (!written) return 2;
  return faulty ? 1 : 0;
}

int runCheckAsChild(const ValidateOptions &options, const std::string &name,
                    const std::filesystem::path &workDir, std::FILE *out) {
  const Check *found = nullptr;
  for (const Check &check : allChecks())
    if (name == check.name) found = &check;
  if (!found) return 2;
  prepareCheckChild();
  CheckContext context;
  context.plugin = options.plugin;
  context.workDir = workDir;
  context.artifactsDir = options.artifacts;
  context.seedGiven = options.seed.has_value();
  context.seed = options.seed ? *options.seed : clockSeed();
  context.steps = options.steps > 0 ? options.steps : stepsAt(options.strictness);
  context.cycles = options.cycles > 0 ? options.cycles : cyclesAt(options.strictness);
  context.strictness = options.strictness;
  context.sink = [out](char kind, const std::string &text) {
    std::string line = text;
    for (char &c : line)
      if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(out, "%s%c%s\n", kChildLinePrefix, kind, line.c_str());
    std::fflush(out);
  };
  CheckOutcome outcome = runInProcess(*found, context);
  std::fprintf(out, "%sE%d\n", kChildLinePrefix, outcome.failures);
  std::fflush(out);
  return 0;
}

} // namespace pello::validate
