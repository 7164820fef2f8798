// The fault sweep's judges: what a faulted run must have done, given the
// fault and the fault-free run. A PluginMain call by its codes, alerts and
// error dialog; an art operation by its writes, its document and its alerts;
// a copy by the held matrix it leaves.
#include "FaultSweep.h"

#include <algorithm>

namespace pello::validate::faultsweep {

using namespace pello::host;
using namespace pello::harness;

namespace {

bool isArtOp(const std::string &op) {
  for (const char *prefix :
       {"AIArt::", "AIPathStyle::", "AITextPath::", "AIPlaced::", "AIRaster::", "AIMatchingArt::"})
    if (op.rfind(prefix, 0) == 0) return true;
  return false;
}

bool reportedCode(ASErr code) {
  return code != kASNoError && code != kSPSuiteNotFoundError && code != kASStopError;
}

// Operations the error dialog itself calls: a fault there may spoil the
// dialog's texts or keep it from showing.
bool errorDialogOp(const std::string &op) {
  return op.rfind("ADM", 0) == 0 || op.rfind("AIUser::", 0) == 0;
}

// The alert an operation shows before the closing alert when `op` fails.
const char *failureAlert(const std::string &scenario, const std::string &op) {
  if (op == "AIPathStyle::SetPathStyle") return scenario == "paste" ? kPatternMatrixAlert : kWriteAlert;
  if (op == "AITextPath::GetTextPathMatrix" && scenario.rfind("copy", 0) == 0) return kTextMatrixAlert;
  return nullptr;
}

bool isErrorAlert(const std::string &text) {
  return text == kWriteAlert || text == kPatternMatrixAlert || text == kTextMatrixAlert ||
         text == kCancelAlert;
}

// A failed walk of text paths ends the walk only, silently (paste and
// untransform); everywhere else a failed art call ends the operation.
bool endsOnlyTheWalk(const std::string &scenario, const std::string &op) {
  return scenario.rfind("copy", 0) != 0 &&
         (op == "AITextPath::GetFirstTextPath" || op == "AITextPath::GetNextTextPath");
}

} // namespace

void judgeCall(CheckContext &context, const Scenario &, const Fault &fault, const Trace &trace,
               const RunState &state) {
  std::vector<ASErr> allowed = state.allowedCodes;
  allowed.push_back(kASNoError);
  allowed.push_back(fault.code);
  ASErr reported = kASNoError;
  for (ASErr code : trace.codes) {
    context.expect(std::find(allowed.begin(), allowed.end(), code) != allowed.end(),
                   "the call returned " + codeText(code) + ", neither 0 nor the host's code " +
                       codeText(fault.code));
    if (reportedCode(code)) reported = code;
  }
  if (fault.op == "SPBasic::AcquireSuite") {
    const int row = firstRowOf(trace.firedName);
    if (row >= kFirstAlertedRow) {
      const std::string expected = acquisitionAlert(fault.code, row);
      context.expect(std::find(trace.alerts.begin(), trace.alerts.end(), expected) != trace.alerts.end(),
                     "no alert \"" + expected + "\"");
    }
  }
  if (errorDialogOp(fault.op)) return;
  if (reported != kASNoError && trace.dialogSuitesHeld) {
    if (context.expect(trace.errorDialogs >= 1,
                       "the code " + codeText(reported) + " was not shown in the error dialog"))
      context.expect(trace.lastErrorCodeText == codeText(reported),
                     "the error dialog shows the code \"" + trace.lastErrorCodeText + "\", not \"" +
                         codeText(reported) + "\"");
  } else if (reported == kASNoError && state.allowedCodes.empty()) {
    context.expect(trace.errorDialogs == 0, "an error dialog for a call that returned 0");
  }
}

void judgeOperation(CheckContext &context, const Scenario &scenario, const Fault &fault, const Trace &trace,
                    const Trace &baseline, const RunState &state) {
  const std::string name = scenario.name;
  if (!isArtOp(fault.op)) {
    // Faults outside the art suites (dialog manager, maths, keyboard,
    // memory) change what the operation computes, not how it fails: only
    // the known alert texts may appear.
    return;
  }
  if (scenario.kind == Kind::Copy) {
    const std::string shown = trace.alerts.empty() ? std::string() : trace.alerts.back();
    if (fault.op == "AIMatchingArt::GetSelectedArt") {
      context.expect(trace.alerts.size() == 1, "the copy showed an alert when the host gave no selection");
    } else {
      context.expect(trace.alerts.size() >= 2 && trace.alerts[trace.alerts.size() - 2] == kCancelAlert,
                     "the copy did not end in \"" + std::string(kCancelAlert) + "\"");
      if (const char *before = failureAlert(name, fault.op))
        context.expect(trace.alerts.size() >= 3 && trace.alerts[trace.alerts.size() - 3] == before,
                       "no \"" + std::string(before) + "\" before the closing alert");
    }
    context.expect(shown == state.oldShow, "a failed copy changed the held matrix: shown \"" + shown +
                                               "\", before \"" + state.oldShow + "\"");
    return;
  }

  // Writes: a prefix of the fault-free writes (a subsequence when only a
  // walk of text paths ended), and the document as after those writes.
  const std::size_t m = trace.writes.size();
  if (endsOnlyTheWalk(name, fault.op)) {
    std::size_t at = 0;
    for (const std::string &write : trace.writes) {
      while (at < baseline.writes.size() && baseline.writes[at] != write)
        ++at;
      if (!context.expect(at < baseline.writes.size(), "a write the fault-free run does not make: " + write))
        break;
      ++at;
    }
    context.expect(trace.alerts == baseline.alerts, "a failed walk of text paths changed the alerts");
    return;
  }
  bool prefix = m <= baseline.writes.size() &&
                std::equal(trace.writes.begin(), trace.writes.end(), baseline.writes.begin());
  if (!context.expect(prefix, "the writes are not the fault-free run's first " + std::to_string(m) +
                                  ": something was written after the failure or written differently"))
    return;
  context.expect(trace.snapshots.back() == baseline.snapshots[m],
                 "the document after the failure is not the document after the " + std::to_string(m) +
                     " write(s) made before it");

  // Alerts: none without a selection; else the closing alert once, at the
  // end, after the failure's own alert.
  if (fault.op == "AIMatchingArt::GetSelectedArt") {
    context.expect(trace.alerts.empty() && m == 0, "the host gave no selection, yet the operation went on");
    return;
  }
  const auto cancels = std::count(trace.alerts.begin(), trace.alerts.end(), std::string(kCancelAlert));
  if (!context.expect(cancels == 1 && !trace.alerts.empty() && trace.alerts.back() == kCancelAlert,
                      "the failure did not end in one \"" + std::string(kCancelAlert) + "\" (" +
                          std::to_string(trace.alerts.size()) + " alerts)"))
    return;
  const char *before = failureAlert(name, fault.op);
  const std::size_t n = trace.alerts.size();
  if (before) {
    context.expect(n >= 2 && trace.alerts[n - 2] == before,
                   "no \"" + std::string(before) + "\" before the closing alert");
  } else if (n >= 2 && isErrorAlert(trace.alerts[n - 2])) {
    context.fail("\"" + trace.alerts[n - 2] + "\" before the closing alert of a failed " + fault.op);
  }
}

} // namespace pello::validate::faultsweep
