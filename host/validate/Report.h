// The run's report: the text lines, the JSON report and the JUnit XML file.
#pragma once

#include "Isolation.h"
#include "pello/validate/Validate.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace pello::validate {

// One check as it ran (or was skipped) in one round.
struct CheckRun {
  const Check *check = nullptr;
  int round = 0;
  std::uint64_t seed = 0;
  CheckOutcome outcome;
  std::string replay; // the command line that runs this check alone again, for a faulty one
};

// What a run was given, as the checks saw it.
struct RunSettings {
  std::string plugin;
  std::uint64_t seed = 0;
  int steps = 0;
  int cycles = 0; // 0: the cycles group's default
  int strictness = 0;
  int timeoutSeconds = 0;
  int timeLimitSeconds = 0; // 0: none
  bool failFast = false;
  int repeat = 1;
  bool shuffle = false;
  bool isolate = true;
};

struct RunReport {
  RunSettings settings;
  std::vector<CheckRun> runs;
  double seconds = 0;
  std::string interrupted; // why the run did not finish (the reports say so); empty when it did
};

// "passed", "warning", "skipped", "failed", "crashed", "timed-out".
const char *statusName(Status status);

// The status on the check's text line: "ok", "WARN", "SKIP", "FAIL",
// "CRASH", "TIMEOUT".
const char *statusWord(Status status);

// After a check's progress line: its status, time and summary, then why it
// did not pass: the reason, the first failure messages (all with `verbose`),
// the warnings and the replay line.
void printOutcome(std::FILE *out, const CheckRun &run, bool verbose);

// "N passed, N failed", then the other statuses that occurred.
std::string statusCounts(const RunReport &report);

nlohmann::json reportJson(const RunReport &report);
nlohmann::json listJson(const std::vector<const Check *> &checks);

// The report as JUnit XML: a testsuite per group and round, a testcase per
// check; failed as <failure>, crashed and timed out as <error>, skipped as
// <skipped>, a warning in the testcase's <system-out>.
std::string junitXml(const RunReport &report);

} // namespace pello::validate
