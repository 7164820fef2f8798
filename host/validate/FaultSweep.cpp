// The fault sweep's runs: a fresh host per run, the fault armed for the
// scenario's action, and the trace of what the action did.
#include "FaultSweep.h"

#include <set>

namespace pello::validate::faultsweep {

using namespace pello::host;
using namespace pello::harness;

namespace {

const std::set<std::string> kWriteOps = {"AIPathStyle::SetPathStyle", "AITextPath::SetTextPathMatrix",
                                         "AIPlaced::SetPlacedMatrix", "AIRaster::SetRasterMatrix"};

std::map<std::string, long long> diff(const std::map<std::string, long long> &after,
                                      const std::map<std::string, long long> &before) {
  std::map<std::string, long long> out;
  for (const auto &[op, n] : after) {
    auto it = before.find(op);
    const long long d = n - (it == before.end() ? 0 : it->second);
    if (d > 0) out[op] = d;
  }
  return out;
}

// Runs the scenario in a fresh host, with `fault` armed for the action (none
// when fault.op is empty), and judges it against `baseline` when given.
Trace runScenario(CheckContext &context, const Scenario &scenario, const Fault &fault,
                  const Trace *baseline) {
  Trace trace;
  HostSession session(context);
  RunState state;
  if (!scenario.setup(session, state)) {
    context.fail("the scenario's preparation failed");
    return trace;
  }
  const bool snapshots = scenario.kind == Kind::Operation;
  if (snapshots) trace.snapshots.push_back(session.documentText());
  session.host.log().setListener([&](const CallRecord &record) {
    if (record.injected && !trace.fired) {
      trace.fired = true;
      const CallValue *name = record.arg("name");
      if (name && name->text()) trace.firedName = *name->text();
      trace.dialogSuitesHeld = session.host.suites().holds("ADM Item Suite") > 0;
    }
    if (snapshots && record.result == kASNoError && kWriteOps.count(record.op)) {
      trace.writes.push_back(record.op + "(" + record.argsText() + ")");
      trace.snapshots.push_back(session.documentText());
    }
  });
  const std::size_t alertsBefore = session.dialogs.alerts().size();
  const std::size_t dialogsBefore = session.errorDialogs().size();
  const auto callsBefore = session.host.faults().counts();
  if (!fault.op.empty()) session.host.faults().failOnCall(fault.op, static_cast<int>(fault.k), fault.code);

  trace.codes = scenario.action(session);

  session.host.log().setListener(nullptr);
  trace.calls = diff(session.host.faults().counts(), callsBefore);
  const auto &alerts = session.dialogs.alerts();
  trace.alerts.assign(alerts.begin() + static_cast<long>(alertsBefore), alerts.end());
  const auto dialogs = session.errorDialogs();
  trace.errorDialogs = dialogs.size() - dialogsBefore;
  if (trace.errorDialogs > 0)
    for (const ItemInfo &item : dialogs.back().items)
      if (item.id == kErrorCodeItem) trace.lastErrorCodeText = item.text;

  if (baseline == nullptr) {
    session.finish();
    return trace;
  }
  if (!context.expect(trace.fired, "the call was not reached again: the plug-in is not deterministic")) {
    session.finish(session.allowancesFromFaults());
    return trace;
  }
  if (scenario.kind == Kind::Call)
    judgeCall(context, scenario, fault, trace, state);
  else
    judgeOperation(context, scenario, fault, trace, *baseline, state);
  context.stage(context.currentStage() + ", shutdown");
  session.finish(session.allowancesFromFaults());
  return trace;
}

// Codes the sweep fails calls with: a number and a four-character code, both
// in the plug-in's error text list; one per call, alternating, or from this
// strictness on both for every call.
constexpr int kBothCodesStrictness = 7;

std::vector<ASErr> faultCodes(const CheckContext &context, long long k) {
  if (context.strictness >= kBothCodesStrictness) return {kSPOutOfMemoryError, kSPBadParameterError};
  return {k % 2 == 1 ? kSPOutOfMemoryError : kSPBadParameterError};
}

} // namespace

void sweep(CheckContext &context, const Scenario &scenario) {
  context.stage(std::string(scenario.name) + " without faults");
  const Trace baseline = runScenario(context, scenario, Fault{}, nullptr);
  if (context.failed()) return;
  long long runs = 0;
  for (const auto &[op, calls] : baseline.calls)
    for (long long k = 1; k <= calls; ++k)
      runs += static_cast<long long>(faultCodes(context, k).size());
  context.summarize(std::to_string(runs) + " faulted runs over " + std::to_string(baseline.calls.size()) +
                    " host operations");
  for (const auto &[op, calls] : baseline.calls) {
    for (long long k = 1; k <= calls; ++k) {
      for (ASErr code : faultCodes(context, k)) {
        const Fault fault{op, k, code};
        context.stage(std::string(scenario.name) + ": " + op + " fails on call " + std::to_string(k) +
                      " with " + codeText(fault.code));
        runScenario(context, scenario, fault, &baseline);
        if (context.failureCount() > 50) return;
      }
    }
  }
}

} // namespace pello::validate::faultsweep
