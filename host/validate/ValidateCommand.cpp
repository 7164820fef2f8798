#include "pello/validate/ValidateCommand.h"

#include "pello/host/PluginModule.h"
#include "pello/validate/Validate.h"

#include <cstdio>
#include <cstdlib>

#include <memory>

namespace pello::validate {

namespace {

// A count of 1 or more; a text that is no number is left to CLI11's own
// conversion, which refuses it.
const CLI::Validator kAtLeastOne(
    [](std::string &text) -> std::string {
      char *end = nullptr;
      const long long n = std::strtoll(text.c_str(), &end, 10);
      return end != text.c_str() && *end == '\0' && n < 1 ? "expected 1 or more, not " + text : std::string();
    },
    "N");

// Seeds are 0 or more (as printed); CLI11 would take "-1" as 2^64 - 1.
const CLI::Validator kSeed(
    [](std::string &text) -> std::string {
      return !text.empty() && text[0] == '-' ? "expected a seed of 0 or more, not " + text : std::string();
    },
    "SEED");

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
      ->check(kSeed);
  command
      ->add_option("--steps", settings->options.steps,
                   "Actions per random session (default: the strictness's)")
      ->check(kAtLeastOne);
  command
      ->add_option(
          "--cycles", settings->options.cycles,
          "Loads of the cycles group (default 1000, fewer below strictness 5; a tenth as whole host runs)")
      ->check(kAtLeastOne);
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
      ->check(CLI::Range(kLowestStrictness, kHighestStrictness));
  command->add_option("--timeout", settings->options.timeoutSeconds, "Seconds a check may run (default 600)")
      ->check(kAtLeastOne);
  command
      ->add_option("--repeat", settings->options.repeat,
                   "Runs the chosen checks N times, each round with a seed of its own")
      ->check(kAtLeastOne);
  command->add_flag("--shuffle", settings->options.shuffle,
                    "Runs each round in an order drawn from its seed");
  command->add_flag("--list", settings->options.list, "Print the table of checks and run nothing");
  command->add_flag("--json", settings->options.json, "Print the report (or the --list) as JSON");
  command->add_option("--junit", settings->options.junit, "Also write the report as JUnit XML to FILE");
  command->add_flag("--verbose", settings->options.verbose, "Print every failure message");
  command->add_flag("--in-process", settings->inProcess,
                    "Run the checks in this process, not in child processes");
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
    const int status = settings->childCheck.empty()
                           ? runValidate(options, stdout)
                           : runCheckAsChild(options, settings->childCheck, settings->workDir, stdout);
    if (status == 0) throw CLI::Success();
    throw CLI::RuntimeError(status);
  });
  return command;
}

} // namespace pello::validate
