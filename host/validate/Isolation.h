// Runs one check, in a child process where the platform has one: a check
// whose plug-in crashes, aborts or hangs gets that status with the stage it
// was in, and the run goes on with the next check.
#pragma once

#include "pello/validate/Check.h"

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

// Runs `check` with a copy of `context`; `isolate` false runs it in this
// process. A child running longer than `timeoutSeconds` is ended.
CheckOutcome runIsolated(const Check &check, const CheckContext &context, bool isolate, int timeoutSeconds);

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
