#include "ReportFiles.h"

#include "RunSignals.h"
#include "pello/host/FileReplace.h"

#include <fstream>
#include <system_error>

namespace pello::validate {

namespace {

// Rewriting the JUnit file costs as much as the report is long: it is
// kept at most this old, or (checks run in this process, which a crash
// ends) rewritten before every check of a run of at most so many.
constexpr std::chrono::milliseconds kRewriteEvery{1000};
constexpr std::size_t kRewrittenPerCheckUpTo = 2000;

bool writeDirectly(const std::filesystem::path &file, const std::string &text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.flush();
  return static_cast<bool>(out);
}

} // namespace

RunReport unfinishedReport(const RunReport &done, std::span<const PlannedRun> next, bool runningHere) {
  RunReport report = done;
  report.interrupted = "pello-host ended before the run finished";
  for (std::size_t index = 0; index < next.size(); ++index) {
    CheckRun run{next[index].check, next[index].round, next[index].seed, {}, {}};
    if (index == 0 && runningHere) {
      run.outcome.status = Status::Crashed;
      run.outcome.reason = "pello-host ended while this check ran in its process (--in-process)";
    } else {
      run.outcome.status = Status::Skipped;
      run.outcome.reason = index == 0
                               ? "not finished: pello-host ended before this check's result was written"
                               : "not run: pello-host ended before this check";
    }
    report.runs.push_back(std::move(run));
  }
  return report;
}

bool writeReportFile(const std::filesystem::path &named, const std::string &text, std::string &error) {
  // A pipe or a device is written to as it is; a file (through a link, its
  // target) is replaced whole.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(named, ec);
  std::string why;
  const bool written = std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)
                           ? writeDirectly(named, text)
                           : host::replaceFile(named, text, why);
  if (!written) error = "cannot write " + named.string();
  return written;
}

bool ReportFiles::beforeCheck(const RunReport &done, std::span<const PlannedRun> next, std::string &error) {
  if (next.empty()) return true;
  const auto now = std::chrono::steady_clock::now();
  const bool everyCheck = inProcess_ && done.runs.size() + next.size() <= kRewrittenPerCheckUpTo;
  const bool due = !written_ || everyCheck || now - lastWrite_ >= kRewriteEvery;
  if (!due || (junit_.empty() && !(inProcess_ && json_))) return true;
  // Only a report written just before the check may blame it for a crash.
  const RunReport unfinished = unfinishedReport(done, next, everyCheck);
  if (inProcess_ && json_)
    setCrashReport(reportJson(unfinished).dump(2, ' ', false, nlohmann::json::error_handler_t::replace));
  written_ = true;
  lastWrite_ = now;
  return junit_.empty() || writeReportFile(junit_, junitXml(unfinished), error);
}

bool ReportFiles::finish(const RunReport &report, std::string &error) {
  setCrashReport("");
  return junit_.empty() || writeReportFile(junit_, junitXml(report), error);
}

} // namespace pello::validate
