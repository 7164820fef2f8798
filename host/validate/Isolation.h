// Runs one check, in a child process where the platform has one: a check
// whose plug-in crashes, aborts or hangs fails with the stage it was in,
// and the run goes on with the next check.
#pragma once

#include "pello/validate/Check.h"

#include <string>
#include <vector>

namespace pello::validate {

struct CheckOutcome {
  int failures = 0;
  std::vector<std::string> messages;
  std::string died; // how the child ended abnormally, or empty
  std::string summary;
  double milliseconds = 0;
  bool passed() const { return failures == 0 && died.empty(); }
};

// Whether runIsolated really uses a separate process here.
bool isolationAvailable();

// Runs `check` with a copy of `context`; `isolate` false runs it in this
// process.
CheckOutcome runIsolated(const Check &check, const CheckContext &context, bool isolate);

// Runs `check` in this process (the fallback, and the child's work).
CheckOutcome runInProcess(const Check &check, CheckContext context);

// Readies a child process started to run one check (Windows: a crash ends it
// at once with the exception's code, without the system's crash reporting).
void prepareCheckChild();

// The child's report lines begin with this, then a kind letter (S stage, F
// failure, N summary, E end) and the text.
inline constexpr const char *kChildLinePrefix = "::";

} // namespace pello::validate
