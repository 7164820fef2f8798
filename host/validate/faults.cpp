// faults: a systematic sweep. For every scenario (a lifecycle call or a
// palette operation), every host operation the plug-in calls in it and every
// k it reaches, a fresh host fails the k-th call of that operation. The
// plug-in must not crash, must give the code and the alerts its rules give,
// must write nothing after the failure and keep what it wrote before, and
// must leave nothing behind once shut down.
#include "Documents.h"
#include "HostSession.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

namespace {

enum class Kind {
  Call,      // PluginMain calls: judged by their codes and the error dialog
  Operation, // an art operation: judged by its writes and alerts
  Copy,      // the matrix copy: judged by the held matrix shown afterwards
};

struct RunState {
  std::string oldShow; // Copy: the held matrix as shown before the copy
  std::vector<ASErr> allowedCodes;
};

struct Scenario {
  const char *name;
  Kind kind;
  bool (*setup)(HostSession &, RunState &);
  std::vector<ASErr> (*action)(HostSession &);
};

const std::set<std::string> kWriteOps = {"AIPathStyle::SetPathStyle", "AITextPath::SetTextPathMatrix",
                                         "AIPlaced::SetPlacedMatrix", "AIRaster::SetRasterMatrix"};

bool isArtOp(const std::string &op) {
  for (const char *prefix :
       {"AIArt::", "AIPathStyle::", "AITextPath::", "AIPlaced::", "AIRaster::", "AIMatchingArt::"})
    if (op.rfind(prefix, 0) == 0) return true;
  return false;
}

// What one run of a scenario's action did.
struct Trace {
  std::vector<ASErr> codes;
  std::vector<std::string> writes;    // op(args) of each write the host accepted
  std::vector<std::string> snapshots; // the document before the action and after each write
  std::vector<std::string> alerts;
  std::size_t errorDialogs = 0;
  std::string lastErrorCodeText;
  std::map<std::string, long long> calls; // per operation, during the action
  bool fired = false;
  std::string firedArgs;
  bool dialogSuitesHeld = false; // at the failure: the error dialog could be shown
};

struct Fault {
  std::string op;
  long long k = 0;
  ASErr code = 0;
};

// Runs the scenario in a fresh host, with `fault` armed for the action (none
// when fault.op is empty), and judges it against `baseline` when given.
Trace runScenario(CheckContext &context, const Scenario &scenario, const Fault &fault, const Trace *baseline);

void judgeCall(CheckContext &context, const Scenario &scenario, const Fault &fault, const Trace &trace,
               const RunState &state);
void judgeOperation(CheckContext &context, const Scenario &scenario, const Fault &fault, const Trace &trace,
                    const Trace &baseline, const RunState &state);

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
      trace.firedArgs = record.args;
      trace.dialogSuitesHeld = session.host.suites().holds("ADM Item Suite") > 0;
    }
    if (snapshots && record.result == kASNoError && kWriteOps.count(record.op)) {
      trace.writes.push_back(record.op + "(" + record.args + ")");
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

// The name the failed AcquireSuite was given, from the logged arguments.
std::string acquiredName(const std::string &args) {
  const std::string key = "name=\"";
  const std::size_t at = args.find(key);
  if (at == std::string::npos) return {};
  const std::size_t end = args.find('"', at + key.size());
  return args.substr(at + key.size(), end - at - key.size());
}

bool reportedCode(ASErr code) {
  return code != kASNoError && code != kSPSuiteNotFoundError && code != kASStopError;
}

// Operations the error dialog itself calls: a fault there may spoil the
// dialog's texts or keep it from showing.
bool errorDialogOp(const std::string &op) {
  return op.rfind("ADM", 0) == 0 || op.rfind("AIUser::", 0) == 0;
}

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
    const int row = firstRowOf(acquiredName(trace.firedArgs));
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

// ---- scenarios -------------------------------------------------------------

bool loaded(HostSession &session, RunState &) {
  return session.load();
}
bool started(HostSession &session, RunState &) {
  return session.load() && session.plugin.startup() == kASNoError;
}
bool paletteUp(HostSession &session, RunState &) {
  return session.bringUp();
}

std::vector<ASErr> doStartup(HostSession &session) {
  return {session.plugin.startup()};
}
std::vector<ASErr> doAppStarted(HostSession &session) {
  return {session.plugin.notifyApplicationStarted()};
}
std::vector<ASErr> doMenu(HostSession &session) {
  AIMenuItemHandle item = session.menuItem();
  return {session.plugin.menuUpdate(item), session.plugin.menuGo(item), session.plugin.menuUpdate(item),
          session.plugin.menuGo(item)};
}
std::vector<ASErr> doAbout(HostSession &session) {
  return {session.plugin.about()};
}
std::vector<ASErr> doShutdown(HostSession &session) {
  return {session.plugin.shutdown()};
}

// A startup whose menu item the host refuses with `code`: the error dialog
// looks the code up in the plug-in's error text list.
template <ASErr code> bool refusingMenuItem(HostSession &session, RunState &state) {
  if (!session.load()) return false;
  session.host.faults().failAlways("AIMenu::AddMenuItem", code);
  state.allowedCodes.push_back(code);
  return true;
}

constexpr ASErr kCodeMissingFromList = -50;

bool withDocument(HostSession &session, const Json &document) {
  return session.bringUp() && session.open(document);
}

bool patternDocument(HostSession &session, RunState &) {
  return withDocument(session,
                      documentOf({solidPath("s1"), patternPath("p1", {1, 0, 0, 1, 2, 3}), mysteryPath("m1"),
                                  placedArt("i1", {2, 0, 0, 2, 0, 0}), patternPath("p2", {2, 0, 0, 2, 5, 5}),
                                  groupArt("g1", {patternPath("g1p")}), patternPath("p3")}));
}
bool dashDocument(HostSession &session, RunState &) {
  return withDocument(session, documentOf({dashedPath("d1", {3, 2}, 0.5f), mysteryPath("m1"), solidPath("s1"),
                                           dashedPath("d2", {4}, 0), dashedPath("d3", {1, 1}, 5)}));
}
bool untransformDocument(HostSession &session, RunState &) {
  return withDocument(
      session,
      documentOf({patternDashedPath("pd1", {2, 0, 0, 2, 1, 1}, {3, 2}, 4),
                  placedArt("i1", {2, 0.5f, 0, 3, 40, 25}),
                  textArt("t1", {{2, 0, 0, 2, 1, 2}, {1, 1, 0, 1, 3, 4}, {3, 0, 1, 3, 5, 6}}),
                  rasterArt("r1", {0.5f, 0, 0, 0.5f, 7, 8}), mysteryPath("m1"), dashedPath("d1", {1, 2}, 3),
                  patternPath("p1", {1, 0, 0, 1, 9, 9}), textArt("t0", {})}));
}
bool pasteDocument(HostSession &session, RunState &) {
  if (!withDocument(session, documentOf({placedArt("src", {1.5f, 0, 0.25f, 2, 30, 40})}))) return false;
  if (!session.choose(kCopyEntry)) return false;
  return session.open(documentOf({patternPath("p1", {2, 0, 0, 2, 1, 1}),
                                  textArt("t1", {{2, 0, 0, 2, 1, 2}, {1, 1, 0, 1, 3, 4}, {3, 0, 1, 3, 5, 6}}),
                                  placedArt("i1", {2, 0.5f, 0, 3, 40, 25}), mysteryPath("m1"),
                                  rasterArt("r1", {0.5f, 0, 0, 0.5f, 7, 8}), solidPath("s1"),
                                  textArt("t0", {}), patternPath("p2")}));
}

// Copy: a distinctive held matrix first, shown, then the document to copy
// from.
bool copyFrom(HostSession &session, RunState &state, const Json &document) {
  if (!withDocument(session, documentOf({placedArt("old", {3, 0, 0, 3, 11, 12})}))) return false;
  if (!session.choose(kCopyEntry) || !session.choose(kShowEntry) || session.dialogs.alerts().empty())
    return false;
  state.oldShow = session.dialogs.alerts().back();
  return session.open(document);
}
bool copyTextDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state,
                  documentOf({solidPath("s1"), groupArt("g1", {patternPath("g1p")}), textArt("t0", {}),
                              textArt("t1", {{2, 0, 0, 2, 1, 2}, {1, 1, 0, 1, 3, 4}})}));
}
bool copyPlacedDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state, documentOf({solidPath("s1"), placedArt("i1", {2, 0.5f, 0, 3, 40, 25})}));
}
bool copyRasterDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state, documentOf({rasterArt("r1", {0.5f, 0, 0, 0.5f, 7, 8})}));
}
bool copyPatternDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state, documentOf({solidPath("s1"), patternPath("p1", {1, 0, 1, 1, 4, 5})}));
}
bool showDocument(HostSession &session, RunState &) {
  return withDocument(session, documentOf({placedArt("i1", {1, 1, 0, 1, 4, 5})})) &&
         session.choose(kCopyEntry);
}

std::vector<ASErr> clickUp(HostSession &session) {
  session.click(3);
  return {};
}
std::vector<ASErr> clickDashRight(HostSession &session) {
  session.click(kDashRightButton);
  return {};
}
std::vector<ASErr> clickUntransform(HostSession &session) {
  session.click(kUntransformButton);
  return {};
}
std::vector<ASErr> choosePaste(HostSession &session) {
  session.choose(kPasteEntry);
  return {};
}
std::vector<ASErr> copyThenShow(HostSession &session) {
  session.choose(kCopyEntry);
  session.choose(kShowEntry);
  return {};
}
std::vector<ASErr> chooseShow(HostSession &session) {
  session.choose(kShowEntry);
  return {};
}

const Scenario kScenarios[] = {
    {"startup", Kind::Call, loaded, doStartup},
    {"app-started", Kind::Call, started, doAppStarted},
    {"menu", Kind::Call, paletteUp, doMenu},
    {"about", Kind::Call, started, doAbout},
    {"shutdown-palette", Kind::Call, paletteUp, doShutdown},
    {"shutdown", Kind::Call, started, doShutdown},
    {"error-dialog-number", Kind::Call, refusingMenuItem<kCodeMissingFromList>, doStartup},
    {"error-dialog-code", Kind::Call, refusingMenuItem<kASNotANumberError>, doStartup},
    {"pattern-shift", Kind::Operation, patternDocument, clickUp},
    {"dash-shift", Kind::Operation, dashDocument, clickDashRight},
    {"untransform", Kind::Operation, untransformDocument, clickUntransform},
    {"paste", Kind::Operation, pasteDocument, choosePaste},
    {"copy-text", Kind::Copy, copyTextDocument, copyThenShow},
    {"copy-placed", Kind::Copy, copyPlacedDocument, copyThenShow},
    {"copy-raster", Kind::Copy, copyRasterDocument, copyThenShow},
    {"copy-pattern", Kind::Copy, copyPatternDocument, copyThenShow},
    {"show", Kind::Operation, showDocument, chooseShow},
};

// Codes the sweep fails calls with: a number and a four-character code, both
// in the plug-in's error text list.
ASErr faultCode(long long k) {
  return k % 2 == 1 ? kSPOutOfMemoryError : kSPBadParameterError;
}

void sweep(CheckContext &context, const Scenario &scenario) {
  context.stage(std::string(scenario.name) + " without faults");
  const Trace baseline = runScenario(context, scenario, Fault{}, nullptr);
  if (context.failed()) return;
  long long runs = 0;
  for (const auto &[op, calls] : baseline.calls)
    runs += calls;
  context.summarize(std::to_string(runs) + " faulted runs over " + std::to_string(baseline.calls.size()) +
                    " host operations");
  for (const auto &[op, calls] : baseline.calls) {
    for (long long k = 1; k <= calls; ++k) {
      const Fault fault{op, k, faultCode(k)};
      context.stage(std::string(scenario.name) + ": " + op + " fails on call " + std::to_string(k) +
                    " with " + codeText(fault.code));
      runScenario(context, scenario, fault, &baseline);
      if (context.failureCount() > 50) return;
    }
  }
}

template <std::size_t N> void sweepScenario(CheckContext &context) {
  sweep(context, kScenarios[N]);
}

} // namespace

std::vector<Check> faultsChecks() {
  return {
      {"faults", "faults.startup", "every host call of startup failed in turn", sweepScenario<0>},
      {"faults", "faults.app-started", "every host call of the palette's creation failed in turn",
       sweepScenario<1>},
      {"faults", "faults.menu", "every host call of \"AI Update\" and \"AI Go\" failed in turn",
       sweepScenario<2>},
      {"faults", "faults.about", "every host call of the About box failed in turn", sweepScenario<3>},
      {"faults", "faults.shutdown-palette",
       "every host call of a shutdown with the palette up failed in turn", sweepScenario<4>},
      {"faults", "faults.shutdown", "every host call of a shutdown without a palette failed in turn",
       sweepScenario<5>},
      {"faults", "faults.error-dialog-number",
       "every host call of the error dialog for a number not in the list", sweepScenario<6>},
      {"faults", "faults.error-dialog-code", "every host call of the error dialog for a four-character code",
       sweepScenario<7>},
      {"faults", "faults.pattern-shift", "every host call of a pattern shift failed in turn",
       sweepScenario<8>},
      {"faults", "faults.dash-shift", "every host call of a dash shift failed in turn", sweepScenario<9>},
      {"faults", "faults.untransform", "every host call of an untransform failed in turn", sweepScenario<10>},
      {"faults", "faults.paste", "every host call of a matrix paste failed in turn", sweepScenario<11>},
      {"faults", "faults.copy-text", "every host call of a copy from text failed in turn", sweepScenario<12>},
      {"faults", "faults.copy-placed", "every host call of a copy from placed art failed in turn",
       sweepScenario<13>},
      {"faults", "faults.copy-raster", "every host call of a copy from raster art failed in turn",
       sweepScenario<14>},
      {"faults", "faults.copy-pattern", "every host call of a copy from a pattern failed in turn",
       sweepScenario<15>},
      {"faults", "faults.show", "every host call of the matrix display failed in turn", sweepScenario<16>},
  };
}

} // namespace pello::validate
