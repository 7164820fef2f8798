// The run: picks the checks, runs each (isolated), prints a progress line per
// check and the summary.
#include "pello/validate/Check.h"
#include "Isolation.h"
#include "pello/validate/Validate.h"

#include <chrono>
#include <cstdlib>
#include <random>
#include <system_error>

namespace pello::validate {

namespace {

constexpr int kDefaultSteps = 200;
constexpr int kMessagesShown = 8;

bool selected(const Check &check, const std::string &only) {
  return only.empty() || only == check.group || only == check.name;
}

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
  try {
    check.run(context);
  } catch (const std::exception &e) {
    context.fail(std::string("unexpected exception: ") + e.what());
  } catch (...) {
    context.fail("unexpected exception");
  }
  CheckOutcome outcome;
  outcome.failures = context.failureCount();
  outcome.messages = context.messages;
  outcome.summary = context.summary();
  outcome.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return outcome;
}

int runValidate(const ValidateOptions &options, std::FILE *out) {
  const std::vector<Check> &checks = allChecks();
  std::vector<const Check *> chosen;
  for (const Check &check : checks)
    if (selected(check, options.only)) chosen.push_back(&check);

  if (options.list) {
    const char *group = "";
    for (const Check *check : chosen) {
      if (std::string(group) != check->group) {
        group = check->group;
        std::fprintf(out, "%s\n", group);
      }
      std::fprintf(out, "  %-28s %s\n", check->name, check->description);
    }
    return chosen.empty() ? 2 : 0;
  }
  if (chosen.empty()) {
    std::fprintf(out, "validate: no group or check is called \"%s\" (see --list)\n", options.only.c_str());
    return 2;
  }

  CheckContext context;
  context.plugin = options.plugin;
  context.seedGiven = options.seed.has_value();
  context.seed = options.seed ? *options.seed : clockSeed();
  context.steps = options.steps > 0 ? options.steps : kDefaultSteps;
  context.cycles = options.cycles;
  const bool isolate = options.isolate && isolationAvailable();
  std::fprintf(out, "validate %s\n  seed %llu, %d steps per random session, %s\n",
               options.plugin.string().c_str(), static_cast<unsigned long long>(context.seed), context.steps,
               isolate ? "each check in a child process" : "checks in this process");

  const std::filesystem::path workRoot = makeWorkDir();
  const auto start = std::chrono::steady_clock::now();
  int passed = 0, failed = 0;
  const int total = static_cast<int>(chosen.size());
  for (int index = 0; index < total; ++index) {
    const Check &check = *chosen[static_cast<std::size_t>(index)];
    std::fprintf(out, "[%2d/%d] %-28s ", index + 1, total, check.name);
    std::fflush(out);
    CheckContext mine = context;
    mine.workDir = workRoot / check.name;
    std::error_code ec;
    std::filesystem::create_directories(mine.workDir, ec);
    CheckOutcome outcome = runIsolated(check, mine, isolate);
    std::filesystem::remove_all(mine.workDir, ec);
    if (outcome.passed()) {
      ++passed;
      std::fprintf(out, "ok    %6.0f ms%s%s\n", outcome.milliseconds, outcome.summary.empty() ? "" : "   ",
                   outcome.summary.c_str());
    } else {
      ++failed;
      std::fprintf(out, "FAIL  %6.0f ms\n", outcome.milliseconds);
      if (!outcome.died.empty()) std::fprintf(out, "      %s\n", outcome.died.c_str());
      const int shown = options.verbose ? static_cast<int>(outcome.messages.size()) : kMessagesShown;
      for (int m = 0; m < static_cast<int>(outcome.messages.size()) && m < shown; ++m)
        std::fprintf(out, "      %s\n", outcome.messages[static_cast<std::size_t>(m)].c_str());
      if (outcome.failures > shown) std::fprintf(out, "      ... %d failure(s) in all\n", outcome.failures);
      if (std::string(check.group) == "cycles")
        std::fprintf(out, "      replay: validate --only %s --cycles %d\n", check.name,
                     context.cycles > 0 ? context.cycles : 1000);
      if (std::string(check.group) == "random")
        std::fprintf(out, "      replay: validate --only %s --seed %llu --steps %d\n", check.name,
                     static_cast<unsigned long long>(context.seed), context.steps);
    }
    std::fflush(out);
  }
  std::error_code ec;
  std::filesystem::remove_all(workRoot, ec);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(out, "%d passed, %d failed (%.1f s)\n", passed, failed, seconds);
  if (failed > 0) std::fprintf(out, "seed %llu\n", static_cast<unsigned long long>(context.seed));
  return failed == 0 ? 0 : 1;
}

int runCheckAsChild(const ValidateOptions &options, const std::filesystem::path &workDir, std::FILE *out) {
  const Check *found = nullptr;
  for (const Check &check : allChecks())
    if (options.only == check.name) found = &check;
  if (!found) return 2;
  prepareCheckChild();
  CheckContext context;
  context.plugin = options.plugin;
  context.workDir = workDir;
  context.seedGiven = options.seed.has_value();
  context.seed = options.seed ? *options.seed : clockSeed();
  context.steps = options.steps > 0 ? options.steps : kDefaultSteps;
  context.cycles = options.cycles;
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

std::filesystem::path builtPluginPath() {
#ifdef PELLO_PLUGIN_PATH
  return PELLO_PLUGIN_PATH;
#else
  return "PelloPalette.aip";
#endif
}

} // namespace pello::validate
