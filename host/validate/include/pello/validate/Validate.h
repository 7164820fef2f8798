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

namespace pello::validate {

struct ValidateOptions {
  std::filesystem::path plugin;      // the module to validate
  std::optional<std::uint64_t> seed; // the random group's first seed; none: one from the clock
  int steps = 0;                     // actions per random session; 0: the default
  int cycles = 0;                    // loads of the cycles group (a tenth as whole runs); 0: the default
  std::string only;                  // a group or a check name; empty: every check
  bool list = false;                 // print the table of checks and run nothing
  bool isolate = true;               // run each check in a child process (where possible)
  bool verbose = false;              // print every failure message, not only the first few
};

// Runs the checks, printing a progress line per check and the summary
// "N passed, N failed" to `out`. Returns 0 when every check passed, 1 when
// one failed, 2 when the options name nothing to run.
int runValidate(const ValidateOptions &options, std::FILE *out = stdout);

// The child's side of a check run in a child process where the platform has
// no fork (Windows): runs the check named `options.only` in this process,
// with `workDir` as its folder and `options.seed` as its seed, and writes its
// stages, failures, summary and end to `out`, one line each, as they happen.
// Returns 0, or 2 when no check has that name.
int runCheckAsChild(const ValidateOptions &options, const std::filesystem::path &workDir,
                    std::FILE *out = stdout);

// The module the build made, for a command given no module.
std::filesystem::path builtPluginPath();

} // namespace pello::validate
