// order: calls the plug-in should not meet in a well-behaved host, or meets
// in an unusual order: unknown callers and selectors, selectors with
// trailing garbage, calls before startup and after shutdown, shutdown twice,
// a second application-started notification, calls nested in a host call.
// Each has a defined result and leaves nothing behind.
#include "pello/validate/HostSession.h"
#include "pello/host/Notifiers.h"

#include <utility>

namespace pello::validate {

using namespace pello::host;

namespace {

using Pair = std::pair<const char *, const char *>;

const Pair kUnknownPairs[] = {
    {"SP Access", "Startup"},  {"SP Access", "Bogus"},
    {"SP Interface", "Bogus"}, {"AI Menu", "AI Notify"},
    {"AI Notifier", "AI Go"},  {"AI Menu", "Shutdown"},
    {"Bogus", "Startup"},      {"", ""},
    {"AI Menu", "Bogus"},      {"sp interface", "Startup"},
    {"AI Notifier", "Reload"},
};

// Each differs from a selector or caller the plug-in knows by what follows it.
const Pair kTrailingGarbage[] = {
    {"SP Interface", "Startup "}, {"SP Interface", "Startupx"},   {"SP Interface", "Startup\t"},
    {"SP Interface", "About!"},   {"SP Interface", "Shutdown\n"}, {"SP Interface ", "Startup"},
    {"SP Access", "Unload "},     {"SP Access", "Reloaded"},      {"SP Accessx", "Unload"},
    {"AI Menu", "AI Go "},        {"AI Menu", "AI Update2"},      {"AI Notifier", "AI Notifyx"},
    {"AI Menu\x01", "AI Go"},
};

struct Snapshot {
  std::size_t blocks, alerts, modals, menuItems, notifiers, dialogs, suiteEvents;
  int holds;
};

Snapshot snapshot(HostSession &session) {
  return Snapshot{session.blocks.liveCount(),
                  session.dialogs.alerts().size(),
                  session.dialogs.modalHistory().size(),
                  session.host.get<Menus>().items().size(),
                  session.host.get<Notifiers>().all().size(),
                  session.dialogs.dialogs().size(),
                  session.host.suites().events().size(),
                  session.host.suites().totalHolds()};
}

std::string printable(const char *text) {
  std::string out = "\"";
  for (const char *c = text; *c; ++c) {
    if (*c == '\n')
      out += "\\n";
    else if (*c == '\t')
      out += "\\t";
    else if (static_cast<unsigned char>(*c) < 0x20)
      out += "\\x" + std::to_string(static_cast<int>(*c));
    else
      out += *c;
  }
  return out + "\"";
}

// The call does nothing: 0, no alert, no dialog, nothing allocated or
// added; an "SP Access" call does not touch the suites at all.
void expectNothing(HostSession &session, const Pair &pair) {
  CheckContext &context = session.context;
  const std::string name = printable(pair.first) + " / " + printable(pair.second);
  const Snapshot before = snapshot(session);
  const ASErr error = session.plugin.call(pair.first, pair.second);
  const Snapshot after = snapshot(session);
  context.expect(error == kASNoError, name + " returned " + codeText(error));
  context.expect(after.blocks == before.blocks && after.menuItems == before.menuItems &&
                     after.notifiers == before.notifiers && after.dialogs == before.dialogs,
                 name + " changed what the plug-in holds in the host");
  context.expect(after.alerts == before.alerts && after.modals == before.modals, name + " showed something");
  context.expect(after.holds == before.holds, name + " left suites held");
  if (std::string(pair.first) == "SP Access")
    context.expect(after.suiteEvents == before.suiteEvents, name + " acquired or released suites");
}

// The three states the plug-in can be in when an odd call comes.
template <typename Calls> void inEveryState(CheckContext &context, Calls calls) {
  {
    HostSession session(context);
    context.stage("before startup");
    if (!session.load()) return;
    calls(session);
    session.finish();
  }
  {
    HostSession session(context);
    context.stage("started, no palette");
    if (!session.load()) return;
    session.plugin.startup();
    calls(session);
    session.finish();
  }
  {
    HostSession session(context);
    context.stage("palette up");
    if (!session.bringUp()) return;
    calls(session);
    session.finish();
  }
}

void checkUnknownCalls(CheckContext &context) {
  inEveryState(context, [](HostSession &session) {
    for (const Pair &pair : kUnknownPairs)
      expectNothing(session, pair);
  });
}

void checkTrailingGarbage(CheckContext &context) {
  inEveryState(context, [](HostSession &session) {
    for (const Pair &pair : kTrailingGarbage)
      expectNothing(session, pair);
  });
}

// Every call a host can make, with handles the plug-in never made.
void everyCall(HostSession &session, const std::string &when) {
  CheckContext &context = session.context;
  int bogus = 0;
  const auto fake = [&bogus] { return reinterpret_cast<void *>(&bogus); };
  const auto expectZero = [&](const char *what, ASErr error) {
    context.expect(error == kASNoError, std::string(what) + " " + when + " returned " + codeText(error));
  };
  context.stage(std::string("\"AI Update\" ") + when);
  expectZero("\"AI Update\"", session.plugin.menuUpdate(nullptr));
  expectZero("\"AI Update\" for another item",
             session.plugin.menuUpdate(static_cast<AIMenuItemHandle>(fake())));
  context.stage(std::string("\"AI Go\" ") + when);
  expectZero("\"AI Go\"", session.plugin.menuGo(nullptr));
  expectZero("\"AI Go\" for another item", session.plugin.menuGo(static_cast<AIMenuItemHandle>(fake())));
  context.stage(std::string("\"AI Notify\" ") + when);
  expectZero("\"AI Notify\"", session.plugin.notify(nullptr, kAIApplicationStartedNotifier));
  expectZero("\"AI Notify\" for another notifier",
             session.plugin.notify(static_cast<AINotifierHandle>(fake()), kAIApplicationStartedNotifier));
  context.stage(std::string("\"About\" ") + when);
  expectZero("\"About\"", session.plugin.about());
  context.stage(std::string("unload and reload ") + when);
  expectZero("unload", session.plugin.unload());
  expectZero("reload", session.plugin.reload());
  context.expect(session.dialogs.palette() == nullptr, std::string("a palette appeared ") + when);
}

void checkBeforeStartup(CheckContext &context) {
  HostSession session(context);
  if (!session.load()) return;
  everyCall(session, "before startup");
  context.stage("shutdown before startup");
  const ASErr error = session.plugin.shutdown();
  context.expect(error == kASNoError, "shutdown before startup returned " + codeText(error));
  session.checkClean();
}

void checkAfterShutdown(CheckContext &context) {
  HostSession session(context);
  if (!session.bringUp()) return;
  context.stage("shutdown");
  session.plugin.shutdown();
  everyCall(session, "after shutdown");
  session.finish();
}

void checkShutdownTwice(CheckContext &context) {
  for (bool palette : {false, true}) {
    HostSession session(context);
    context.stage(palette ? "with the palette up" : "without a palette");
    if (palette ? !session.bringUp() : (!session.load() || session.plugin.startup() != kASNoError)) return;
    ASErr first = session.plugin.shutdown();
    ASErr second = session.plugin.shutdown();
    context.expect(first == kASNoError && second == kASNoError,
                   "shutdown twice returned " + codeText(first) + ", then " + codeText(second));
    session.checkClean();
  }
}

void checkSecondAppStarted(CheckContext &context) {
  HostSession session(context);
  if (!session.bringUp()) return;
  context.stage("a second application-started notification");
  const ASErr error = session.plugin.notifyApplicationStarted();
  context.expect(error == kASNoError, "the second notification returned " + codeText(error));
  context.expect(session.dialogs.floatingDialogs().size() == 1,
                 std::to_string(session.dialogs.floatingDialogs().size()) +
                     " palettes after two notifications");
  context.expect(session.host.get<AccessRefs>().held() == 1, "the palette holds the plug-in more than once");
  session.finish();
}

void checkNestedCalls(CheckContext &context) {
  HostSession session(context);
  if (!session.load() || session.plugin.startup() != kASNoError) return;
  context.stage("\"AI Update\" from inside the About box");
  ASErr nested = -1;
  int holdsInside = -1;
  session.dialogs.queueModalScript([&](DialogManager &dialogs, ADMDialogRef dialog) {
    nested = session.plugin.menuUpdate(session.menuItem());
    holdsInside = session.host.suites().totalHolds();
    dialogs.click(dialog, 1);
  });
  const int holdsBefore = session.host.suites().totalHolds();
  const ASErr outer = session.plugin.about();
  context.expect(outer == kASNoError && nested == kASNoError,
                 "About returned " + codeText(outer) + ", the nested call " + codeText(nested));
  context.expect(holdsInside > holdsBefore, "the nested call released the suites of the call around it");
  context.expect(session.host.suites().totalHolds() == holdsBefore, "the nested call left suites held");
  session.finish();
}

} // namespace

std::vector<Check> orderChecks() {
  return {
      {"order", "order.unknown-calls", "unknown callers and selectors, in every state: 0 and nothing happens",
       checkUnknownCalls},
      {"order", "order.trailing-garbage",
       "known selectors and callers with trailing characters: 0, nothing happens", checkTrailingGarbage},
      {"order", "order.before-startup", "menu, notifier, About, unload, reload and shutdown before startup",
       checkBeforeStartup},
      {"order", "order.after-shutdown", "the same calls after shutdown", checkAfterShutdown},
      {"order", "order.shutdown-twice", "shutdown twice, with and without the palette", checkShutdownTwice},
      {"order", "order.second-app-started",
       "a second application-started notification makes no second palette", checkSecondAppStarted},
      {"order", "order.nested-call", "a call made from inside a host call keeps the outer call's suites",
       checkNestedCalls},
  };
}

} // namespace pello::validate
