// Runs one check, in a child process where the platform has one: a check
// whose plug-in crashes, aborts or hangs gets that status with the stage it
// was in, and the run goes on with the next check.
#pragma once

#include "pello/validate/Check.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace pello::validate {

enum class Status { Passed, Warning, Skipped, Failed, Crashed, TimedOut };

struct CheckOutcome {
  Status status = Status::Passed;
  int failures = 0;
  std::vector<std::string> messages;
  std::vector<std::string> warnings;
  std::string reason; // crashed, timed out or skipped: how and where, or why
  std::string summary;
  double milliseconds = 0;
  // The statuses that make the run fail.
  bool faulty() const {
    return status == Status::Failed || status == Status::Crashed || status == Status::TimedOut;
  }
  // Passed, Warning or Failed from the messages, unless the check ended
  // otherwise.
  void settle();
};

// Whether runIsolated really uses a separate process here.
bool isolationAvailable();

// How long a check in a child process may run: its own --timeout, and no
// later than the end of the whole run (--time-limit), if there is one.
struct CheckLimits {
  using Clock = std::chrono::steady_clock;
  int timeoutSeconds = 0;
  int timeLimitSeconds = 0;                 // 0: no limit on the run
  std::optional<Clock::time_point> runEnds; // when --time-limit is reached

  // When a check started at `start` is ended.
  Clock::time_point endOf(Clock::time_point start) const;
  // Why it was ended then: its timeout, or the run's limit.
  std::string endedWhy(Clock::time_point start) const;
};

// Runs `check` with a copy of `context`; `isolate` false runs it in this
// process. A child still running at `limits`' end is ended (timed out), and
// one running when the run is interrupted too (skipped, "interrupted by
// SIGTERM ..."); either way with every process it started.
CheckOutcome runIsolated(const Check &check, const CheckContext &context, bool isolate,
                         const CheckLimits &limits);

// Runs `check` in this process (the fallback, and the child's work); an
// exception that escapes the check is a crash.
CheckOutcome runInProcess(const Check &check, CheckContext context);

// Readies a child process started to run one check (Windows: a crash ends it
// at once with the exception's code, without the system's crash reporting).
void prepareCheckChild();

// The child's report lines: a kind letter (S stage, F failure, W warning,
// N summary, C crashed by an exception, E end) and the text.
inline constexpr const char *kChildLinePrefix = "::";

// The parent's side: reads the child's lines into an outcome.
struct ChildLines {
  explicit ChildLines(CheckOutcome &into) : outcome(into) {}

  CheckOutcome &outcome;
  std::string stage;
  bool ended = false;

  void read(char kind, const std::string &text);
  // " while: STAGE", or empty before the first stage.
  std::string where() const { return stage.empty() ? std::string() : " while: " + stage; }
};

} // namespace pello::validate
