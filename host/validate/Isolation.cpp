// What both platforms' isolation share: the outcome's status and the
// child's report lines.
#include "Isolation.h"

namespace pello::validate {

namespace {
constexpr std::size_t kMessagesKept = 200;
}

CheckLimits::Clock::time_point CheckLimits::endOf(Clock::time_point start) const {
  const Clock::time_point own = start + std::chrono::seconds(timeoutSeconds);
  return runEnds && *runEnds < own ? *runEnds : own;
}

std::string CheckLimits::endedWhy(Clock::time_point start) const {
  if (runEnds && *runEnds < start + std::chrono::seconds(timeoutSeconds))
    return "stopped at the run's --time-limit of " + std::to_string(timeLimitSeconds) + " s";
  return "timed out after " + std::to_string(timeoutSeconds) + " s";
}

void CheckOutcome::settle() {
  if (status == Status::Crashed || status == Status::TimedOut || status == Status::Skipped) return;
  status = failures > 0 ? Status::Failed : !warnings.empty() ? Status::Warning : Status::Passed;
}

void ChildLines::read(char kind, const std::string &text) {
  switch (kind) {
  case 'S':
    stage = text;
    break;
  case 'F':
    ++outcome.failures;
    if (outcome.messages.size() < kMessagesKept) outcome.messages.push_back(text);
    break;
  case 'W':
    if (outcome.warnings.size() < kMessagesKept) outcome.warnings.push_back(text);
    break;
  case 'N':
    outcome.summary = text;
    break;
  case 'C':
    outcome.status = Status::Crashed;
    outcome.reason = text;
    break;
  case 'E':
    ended = true;
    break;
  default:
    break;
  }
}

} // namespace pello::validate
