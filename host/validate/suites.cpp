// suites: the host lacks a suite, or offers it only at another version. The
// call that needs it fails with the suite-not-found code, shows the
// acquisition alert where the ADM Basic Suite is already held, shows no error
// dialog, and leaves nothing held; once the suite is back, the plug-in works.
#include "pello/validate/HostSession.h"

#include <set>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

namespace {

enum class Lack { Withdrawn, OtherVersion };

void restrict(HostSession &session, int row, Lack lack) {
  const SuiteRow &suite = kSuiteTable[row];
  if (lack == Lack::Withdrawn)
    session.host.suites().withdraw(suite.name);
  else
    session.host.suites().offerAt(suite.name, suite.version + 1);
}

// One call that acquires the suites, made while row `row`'s suite is
// missing.
void expectRefused(HostSession &session, int row, const char *what, ASErr error, std::size_t alertsBefore,
                   std::size_t dialogsBefore) {
  CheckContext &context = session.context;
  const std::string suite = kSuiteTable[row].name;
  context.expect(error == kSPSuiteNotFoundError, std::string(what) + " without \"" + suite + "\" returned " +
                                                     codeText(error) + ", not 'S!Fd'");
  const std::vector<std::string> &alerts = session.dialogs.alerts();
  std::vector<std::string> shown(alerts.begin() + static_cast<long>(alertsBefore), alerts.end());
  if (row >= kFirstAlertedRow) {
    const std::string expected = acquisitionAlert(kSPSuiteNotFoundError, row);
    context.expect(shown.size() == 1 && shown[0] == expected,
                   std::string(what) + ": expected the one alert \"" + expected + "\", got " +
                       std::to_string(shown.size()) + (shown.empty() ? "" : ": \"" + shown[0] + "\""));
  } else {
    context.expect(shown.empty(), std::string(what) + " without \"" + suite +
                                      "\" showed an alert before the ADM Basic Suite was held: \"" +
                                      (shown.empty() ? "" : shown[0]) + "\"");
  }
  context.expect(session.errorDialogs().size() == dialogsBefore,
                 std::string(what) + ": the suite-not-found code was shown in the error dialog");
  context.expect(session.host.suites().totalHolds() == 0,
                 std::string(what) + " without \"" + suite + "\" left " +
                     std::to_string(session.host.suites().totalHolds()) + " suite(s) held");
}

void checkLacking(CheckContext &context, Lack lack) {
  std::set<std::string> seen;
  for (const SuiteRow &row : kSuiteTable)
    seen.insert(row.name);
  context.summarize(std::to_string(seen.size()) + " suites of " + std::to_string(kSuiteRows) +
                    " rows, in 2 calls each");
  seen.clear();
  for (int row = 0; row < kSuiteRows; ++row) {
    if (!seen.insert(kSuiteTable[row].name).second) continue;
    const std::string suite = kSuiteTable[row].name;
    {
      HostSession session(context);
      context.stage("startup without \"" + suite + "\"");
      if (!session.load()) return;
      restrict(session, row, lack);
      const ASErr error = session.plugin.startup();
      expectRefused(session, row, "startup", error, 0, 0);
      context.expect(session.blocks.liveCount() == 0,
                     "a startup that could not acquire its suites allocated memory");
      context.stage("startup once \"" + suite + "\" is back");
      session.host.suites().restore(suite);
      if (!context.expect(session.start(), "the plug-in does not start once the suite is back")) return;
      session.finish();
    }
    {
      HostSession session(context);
      context.stage("\"AI Update\" without \"" + suite + "\", started without a palette");
      if (!session.load() || session.plugin.startup() != kASNoError) return;
      restrict(session, row, lack);
      const std::size_t alerts = session.dialogs.alerts().size();
      const ASErr error = session.plugin.menuUpdate(session.menuItem());
      expectRefused(session, row, "\"AI Update\"", error, alerts, 0);
      context.stage("application started once \"" + suite + "\" is back");
      session.host.suites().restore(suite);
      const ASErr started = session.plugin.notifyApplicationStarted();
      context.expect(started == kASNoError && session.palette() != nullptr,
                     "no palette once the suite is back (" + codeText(started) + ")");
      context.expect(session.click(kUntransformButton), "the palette cannot be used once the suite is back");
      session.finish();
    }
    if (context.failureCount() > 20) return;
  }
}

void checkWithdrawn(CheckContext &context) {
  checkLacking(context, Lack::Withdrawn);
}

void checkOtherVersion(CheckContext &context) {
  checkLacking(context, Lack::OtherVersion);
}

} // namespace

std::vector<Check> suitesChecks() {
  return {
      {"suites", "suites.withdrawn",
       "each suite withdrawn in turn: 'S!Fd', the alert from row 24 on, nothing held", checkWithdrawn},
      {"suites", "suites.other-version", "each suite offered only at another version: the same",
       checkOtherVersion},
  };
}

} // namespace pello::validate
