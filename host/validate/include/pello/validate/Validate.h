// pello-host validate: loads a plug-in module into fresh stand-in hosts and
// runs a table of named checks in groups (load, lifecycle, cycles, order, suites,
// faults, data, random). Every check runs in a child process where the
// platform has one, so a plug-in that crashes fails its check instead of
// ending the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pello::validate {

inline constexpr int kLowestStrictness = 1;
inline constexpr int kHighestStrictness = 10;
inline constexpr int kDefaultStrictness = 5;
inline constexpr int kDefaultTimeoutSeconds = 600;

struct ValidateOptions {
  std::filesystem::path plugin; // the module to validate
  std::optional<std::uint64_t>
      seed;                      // the random group's first seed, and the shuffle's; none: one from the clock
  int steps = 0;                 // actions per random session; 0: the strictness's
  int cycles = 0;                // loads of the cycles group (a tenth as whole runs); 0: the strictness's
  std::vector<std::string> only; // groups or checks, * and ? as wildcards; empty: every check
  std::vector<std::string> exclude;            // groups or checks left out, as `only`
  int strictness = kDefaultStrictness;         // 1 a quick smoke run .. 10 the longest
  int timeoutSeconds = kDefaultTimeoutSeconds; // per check, in a child process
  int timeLimitSeconds = 0;                    // for the whole run; 0: none
  bool failFast = false;                       // stop at the first check that fails, crashes or times out
  int repeat = 1;                              // rounds of the chosen checks, each with a seed of its own
  bool shuffle = false;                        // each round in an order drawn from its seed
  bool list = false;                           // print the table of checks and run nothing
  bool json = false;                           // the report (or the list) as JSON instead of text
  std::filesystem::path junit;                 // also write the report as JUnit XML here; empty: none
  std::filesystem::path artifacts;             // where shrunk sessions go; empty: the temporary folder
  bool isolate = true;                         // run each check in a child process (where possible)
  bool verbose = false;                        // print every failure message, not only the first few
};

// Runs the checks, printing a progress line per check and the summary
// "N passed, N failed" to `out` (or the JSON report). Returns 0 when no
// check failed, crashed or timed out, 1 when one did, 2 when the options
// name nothing to run or the JUnit file cannot be written. A run stopped by
// SIGINT or SIGTERM writes its reports, marked interrupted, and ends by that
// signal; a crash of a check run in this process ends it with status 4.
int runValidate(const ValidateOptions &options, std::FILE *out = stdout);

// The child's side of a check run in a child process where the platform has
// no fork (Windows): runs the check `name` in this process, with `workDir` as
// its folder and `options.seed` as its seed, and writes its stages, failures,
// warnings, summary and end to `out`, one line each, as they happen.
// Returns 0, or 2 when no check has that name.
int runCheckAsChild(const ValidateOptions &options, const std::string &name,
                    const std::filesystem::path &workDir, std::FILE *out = stdout);

} // namespace pello::validate
