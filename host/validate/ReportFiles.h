// The report files of a run, kept whole at every moment: written to a
// temporary file beside the target and renamed over it, first before any
// check runs and again as checks finish, so that a run that is killed or
// crashes leaves the checks done so far, the rest marked not finished.
#pragma once

#include "Report.h"

#include <chrono>
#include <filesystem>
#include <span>
#include <string>

namespace pello::validate {

// One check of one round, as the run plans it.
struct PlannedRun {
  const Check *check = nullptr;
  int round = 0;
  std::uint64_t seed = 0;
};

// The report as it stands before `next` runs: the runs done, `next` and the
// rest not finished. `runningHere`: `next[0]` runs in this process, so an
// end of the process during it is a crash of that check.
RunReport unfinishedReport(const RunReport &done, std::span<const PlannedRun> next, bool runningHere);

// Writes `text` to `file` whole or not at all: a regular file (or none) is
// replaced through a temporary file in the same folder; a pipe or device
// is written directly. False, with why, when it cannot be written.
bool writeReportFile(const std::filesystem::path &file, const std::string &text, std::string &error);

class ReportFiles {
public:
  ReportFiles(std::filesystem::path junit, bool json, bool inProcess)
      : junit_(std::move(junit)), json_(json), inProcess_(inProcess) {}

  // Before the check `next[0]`: the unfinished report where it must be
  // found should the process end now (the JUnit file, the JSON report a
  // crash prints). False when the JUnit file cannot be written.
  bool beforeCheck(const RunReport &done, std::span<const PlannedRun> next, std::string &error);
  // The final report. False when the JUnit file cannot be written.
  bool finish(const RunReport &report, std::string &error);

private:
  std::filesystem::path junit_;
  bool json_;
  bool inProcess_;
  std::chrono::steady_clock::time_point lastWrite_{};
  bool written_ = false;
};

} // namespace pello::validate
