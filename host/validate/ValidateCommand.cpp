#include "pello/validate/ValidateCommand.h"

#include "pello/host/PluginModule.h"
#include "pello/validate/Validate.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include <filesystem>
#include <memory>
#include <system_error>

namespace pello::validate {

namespace {

// Bounds of the counts: far above any run that ends in a day, low enough
// that every product of them (checks times rounds, a progress counter)
// stays within an int.
constexpr unsigned long long kMostSteps = 10000000;
constexpr unsigned long long kMostCycles = 10000000;
constexpr unsigned long long kMostRounds = 10000;
constexpr unsigned long long kMostSeconds = 1000000;

// A whole number in base 10, from `lowest` to `highest`, and nothing else
// (no sign, space, prefix or fraction). CLI11 alone reads integers in base
// 0 ("0x10", "010") and a seed of " -1" as 2^64 - 1; the text is handed on
// in its plain form, so that its conversion reads the number checked here.
// `what` names the value in the refusal ("a seed").
CLI::Validator wholeNumber(unsigned long long lowest, unsigned long long highest,
                           const std::string &what = "") {
  return CLI::Validator(
      [=](std::string &text) -> std::string {
        const std::string expected = "expected " + (what.empty() ? std::string() : what + " of ");
        const bool negative =
            text.size() > 1 && text[0] == '-' && text.find_first_not_of("0123456789", 1) == std::string::npos;
        if (negative) return expected + std::to_string(lowest) + " or more, not " + text;
        unsigned long long value = 0;
        const char *end = text.data() + text.size();
        const auto [stop, failure] = std::from_chars(text.data(), end, value, 10);
        if (text.empty() || stop != end ||
            (failure != std::errc() && failure != std::errc::result_out_of_range))
          return "expected a whole number in base 10, not " + text;
        if (value < lowest) return expected + std::to_string(lowest) + " or more, not " + text;
        if (failure == std::errc::result_out_of_range || value > highest)
          return expected + "at most " + std::to_string(highest) + ", not " + text;
        text = std::to_string(value);
        return {};
      },
      "N");
}

} // namespace

CLI::App *addValidateCommand(CLI::App &app,
                             std::function<std::filesystem::path(const std::string &)> resolvePlugin) {
  struct Settings {
    ValidateOptions options;
    std::string plugin;
    std::uint64_t seed = 0;
    bool inProcess = false;
    std::string childCheck; // Windows: this process is the child running one check
    std::string workDir;
  };
  auto settings = std::make_shared<Settings>();
  CLI::App *command = app.add_subcommand(
      "validate", "Runs the table of named checks against a plug-in module; non-zero exit on any failure");
  CLI::Option *positional = command->add_option("plugin", settings->plugin,
                                                "The plug-in module (default: the one pello-host loads)");
  // One module: given both ways, one would be dropped without a word.
  command->add_option("--plugin", settings->plugin, "The plug-in module, as the other subcommands take it")
      ->excludes(positional);
  command->add_option("--seed", settings->seed, "First seed of the random sessions (replays a printed seed)")
      ->check(wholeNumber(0, std::numeric_limits<std::uint64_t>::max(), "a seed"));
  command
      ->add_option("--steps", settings->options.steps,
                   "Actions per random session (default: the strictness's)")
      ->check(wholeNumber(1, kMostSteps));
  command
      ->add_option(
          "--cycles", settings->options.cycles,
          "Loads of the cycles group (default 1000, fewer below strictness 5; a tenth as whole host runs)")
      ->check(wholeNumber(1, kMostCycles));
  command
      ->add_option("--only", settings->options.only,
                   "Run only these groups (load, lifecycle, cycles, order, suites, faults, data, random) "
                   "or checks; * and ? are wildcards; repeatable")
      ->allow_extra_args(false);
  command->add_option("--exclude", settings->options.exclude, "Leave out these groups or checks, as --only")
      ->allow_extra_args(false);
  command
      ->add_option("--strictness", settings->options.strictness,
                   "1 a smoke run (load, lifecycle, order) .. 10 the longest random sessions; 2 adds "
                   "suites and data, 3 faults, cycles and random; 5 (the default) runs every check in "
                   "full; from 7 each faulted call fails with both codes")
      ->check(wholeNumber(0, std::numeric_limits<int>::max()))
      ->check(CLI::Range(kLowestStrictness, kHighestStrictness));
  command
      ->add_option("--timeout", settings->options.timeoutSeconds,
                   "Seconds a check may run in its child process, with all it started (default 600)")
      ->check(wholeNumber(1, kMostSeconds));
  command
      ->add_option("--time-limit", settings->options.timeLimitSeconds,
                   "Seconds the whole run may take: the check running then is ended (timed out), the "
                   "checks not started are skipped (default: no limit)")
      ->check(wholeNumber(1, kMostSeconds));
  command->add_flag("--fail-fast", settings->options.failFast,
                    "Stop at the first check that fails, crashes or times out; the rest are skipped");
  command
      ->add_option("--repeat", settings->options.repeat,
                   "Runs the chosen checks N times, each round with a seed of its own")
      ->check(wholeNumber(1, kMostRounds));
  command->add_flag("--shuffle", settings->options.shuffle,
                    "Runs each round in an order drawn from its seed");
  command->add_flag("--list", settings->options.list, "Print the table of checks and run nothing");
  command->add_flag("--json", settings->options.json, "Print the report (or the --list) as JSON");
  command->add_option("--junit", settings->options.junit, "Also write the report as JUnit XML to FILE");
  command->add_option("--artifacts", settings->options.artifacts,
                      "Folder for the shrunk sessions of failing random sessions (default: the system's "
                      "temporary folder); made if missing");
  command->add_flag("--verbose", settings->options.verbose, "Print every failure message");
  command->add_flag("--in-process", settings->inProcess,
                    "Run the checks in this process, not in child processes: no --timeout, --time-limit "
                    "only between checks, a crash ends the run (exit 4)");
  // Hidden: how the validator starts its child processes where there is no
  // fork (Windows).
  command->add_option("--child-check", settings->childCheck)->group("");
  command->add_option("--work-dir", settings->workDir)->group("");
  command->callback([command, settings, resolvePlugin] {
    ValidateOptions options = settings->options;
    options.plugin = resolvePlugin(settings->plugin);
    if (command->count("--seed") > 0) options.seed = settings->seed;
    options.isolate = !settings->inProcess;
    // A path that is no module at all is one refusal, not a failure of every check.
    std::string refusal;
    if (settings->childCheck.empty() && !options.list && !host::PluginModule::open(options.plugin, refusal)) {
      std::fprintf(stderr, "pello-host validate: %s\n", refusal.c_str());
      throw CLI::RuntimeError(3);
    }
    if (settings->childCheck.empty() && !options.list && !options.artifacts.empty()) {
      std::error_code ec;
      std::filesystem::create_directories(options.artifacts, ec);
      if (!std::filesystem::is_directory(options.artifacts, ec)) {
        std::fprintf(stderr, "pello-host validate: --artifacts: cannot make the folder %s\n",
                     options.artifacts.string().c_str());
        throw CLI::RuntimeError(2);
      }
    }
    const int status = settings->childCheck.empty()
                           ? runValidate(options, stdout)
                           : runCheckAsChild(options, settings->childCheck, settings->workDir, stdout);
    if (status == 0) throw CLI::Success();
    throw CLI::RuntimeError(status);
  });
  return command;
}

} // namespace pello::validate
