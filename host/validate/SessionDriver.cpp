// The driver's steps: the action each choice picks, and after each the
// checks every step must pass; then the final shutdown.
#include "Driver.h"

#include "pello/host/Keyboard.h"
#include "pello/host/Notifiers.h"

#include <regex>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

void Driver::click() {
  const int item = static_cast<int>(pick(kPaletteButtonCount + 1)) + 1; // the last: no such item
  std::vector<int> keys;
  for (int key : kModifierKeys)
    if (chance(25)) keys.push_back(key);
  note("click " + std::to_string(item));
  ADMDialogRef palette = session_.palette();
  if (!palette) return;
  bool clicked = false;
  switch (keys.size()) {
  case 0:
    clicked = session_.dialogs.click(palette, item);
    break;
  case 1:
    clicked = session_.dialogs.click(palette, item, {keys[0]});
    break;
  case 2:
    clicked = session_.dialogs.click(palette, item, {keys[0], keys[1]});
    break;
  default:
    clicked = session_.dialogs.click(palette, item, {keys[0], keys[1], keys[2]});
    break;
  }
  if (clicked) emit(Json{{"do", "click"}, {"item", item}, {"keys", keys}});
}

void Driver::emit(Json step) {
  if (options_.description && !options_.description->actions.empty())
    options_.description->actions.back().push_back(std::move(step));
}

void Driver::note(const std::string &what) {
  if (options_.description) options_.description->notes.push_back(what);
  history_ += (history_.empty() ? "" : "; ") + what;
  if (history_.size() > 300) history_.erase(0, history_.size() - 300);
  context_.stage(options_.label + (options_.label.empty() ? "" : ", ") + "step " + std::to_string(step_) +
                 ", the last actions: ..." + history_);
}

// A host starts a plug-in once in its life; the driver starts it again after
// a shutdown, as a new session of the host would, and the notifiers each
// startup adds would pile up: every "application started" would go to all
// of them, the session slowing as it runs (a 20,000-action session ran out
// of time). The notifiers of the plug-in's earlier lives but the last go
// quiet, as in a new session of the host; the last still hears, so that a
// plug-in is still tried with a notifier of a life before its own.
void Driver::forgetOldNotifiers() {
  std::vector<Notifier *> mine;
  for (const auto &notifier : session_.host.get<Notifiers>().all())
    if (notifier->owner == session_.plugin.ref() && notifier->active) mine.push_back(notifier.get());
  for (std::size_t i = 0; i + 1 < mine.size(); ++i)
    mine[i]->active = false;
}

bool Driver::started() const {
  return session_.hosted.holdsRecord();
}

// Every alert is one the plug-in can show.
void Driver::checkAlerts() {
  static const std::regex acquisition("Error: -?[0-9]+, suite: [A-Za-z ]+, version: -?[0-9]+!");
  static const std::regex display(
      "Matrix: TX=.{1,15}; TY=.{1,15}; A=.{1,15}; B=.{1,15}; C=.{1,15}; D=.{1,15}; "
      "H scale=.{1,15}%; V scale=.{1,15}%; Skew=.{1,15} degrees; Rotation=.{1,15} degrees");
  // A number the host refused to write (a failing AIRealToString) is shown
  // empty: the plug-in has no other text for it.
  static const std::regex displayRefused(
      "Matrix: TX=.{0,15}; TY=.{0,15}; A=.{0,15}; B=.{0,15}; C=.{0,15}; D=.{0,15}; "
      "H scale=.{0,15}%; V scale=.{0,15}%; Skew=.{0,15} degrees; Rotation=.{0,15} degrees");
  bool numberRefused = false;
  const auto &fired = session_.host.faults().fired();
  for (std::size_t i = firedAtStep_; i < fired.size(); ++i)
    if (fired[i].op == "AIUser::AIRealToString") numberRefused = true;
  const auto &alerts = session_.dialogs.alerts();
  for (std::size_t i = alertsSeen_; i < alerts.size(); ++i) {
    const std::string &text = alerts[i];
    const bool known = text == kCancelAlert || text == kWriteAlert || text == kMysteryAlert ||
                       text == kTextMatrixAlert || text == kPatternMatrixAlert ||
                       std::regex_match(text, acquisition) || std::regex_match(text, display) ||
                       (numberRefused && std::regex_match(text, displayRefused));
    context_.expect(known, "an alert the plug-in has no reason to show: \"" + text + "\"");
    if (!options_.faults)
      context_.expect(text == kMysteryAlert || text.rfind("Matrix: ", 0) == 0,
                      "an error alert in a session without host faults: \"" + text + "\"");
  }
  alertsSeen_ = alerts.size();
}

void Driver::act(std::uint32_t action) {
  Plugin &plugin = session_.plugin;
  if (!restrictionArmed_) firedAtStep_ = session_.host.faults().fired().size();
  switch (action) {
  case 0:
    // A host starts a plug-in once until it shuts it down.
    if (started()) break;
    forgetOldNotifiers();
    note("startup");
    emit(Json{{"do", "startup"}});
    plugin.startup();
    break;
  case 1:
    note("application started");
    emit(Json{{"do", "appStarted"}});
    plugin.notifyApplicationStarted();
    break;
  case 2:
    note("shutdown");
    emit(Json{{"do", "shutdown"}});
    session_.hosted.shutdown();
    break;
  case 3:
  case 4:
  case 5:
  case 6:
    click();
    break;
  case 7:
  case 8: {
    const int entry = static_cast<int>(pick(kOptionMenuEntryCount + 1)); // the last: no such entry
    note("option-menu entry " + std::to_string(entry));
    if (session_.choose(entry)) emit(Json{{"do", "choose"}, {"entry", entry}});
    break;
  }
  case 9:
  case 10: {
    note(action == 9 ? "AI Go" : "AI Update");
    AIMenuItemHandle item = chance(90) ? session_.menuItem() : nullptr;
    emit(Json{{"do", action == 9 ? "menuGo" : "menuUpdate"}, {"menuItem", item ? "plugin" : "none"}});
    action == 9 ? plugin.menuGo(item) : plugin.menuUpdate(item);
    break;
  }
  case 11:
    note("About");
    emit(Json{{"do", "about"}});
    plugin.about();
    break;
  case 12: {
    note("unload and reload");
    const std::size_t firedBefore = session_.host.faults().fired().size();
    emit(Json{{"do", "unload"}});
    if (plugin.unload() == kASNoError) {
      emit(Json{{"do", "reload"}});
      plugin.reload();
    }
    const auto &fired = session_.host.faults().fired();
    for (std::size_t i = firedBefore; i < fired.size(); ++i)
      if (fired[i].op == "SPBasic::IsEqual") recordLostByHost_ = true;
    break;
  }
  case 13:
  case 14:
    note("new document");
    newDocument();
    break;
  case 15:
    note("new selection");
    newSelection();
    break;
  case 16: {
    ADMDialogRef palette = session_.palette();
    if (!palette) break;
    note("palette controls");
    switch (pick(4)) {
    case 0: {
      const bool visible = chance(50);
      emit(Json{{"do", visible ? "showPalette" : "hidePalette"}});
      session_.dialogs.setVisible(palette, visible);
      break;
    }
    case 1: {
      const int dx = static_cast<int>(pick(2001)) - 1000;
      const int dy = static_cast<int>(pick(2001)) - 1000;
      emit(Json{{"do", "movePalette"}, {"by", {dx, dy}}});
      session_.dialogs.move(palette, dx, dy);
      break;
    }
    case 2:
      emit(Json{{"do", "-"}, {"what", "the palette docked"}});
      session_.dialogs.dock(palette, std::string(pick(100), 'D'), static_cast<ai_int32>(chooser_.word()));
      break;
    default:
      emit(Json{{"do", "-"}, {"what", "the palette's bounds set"}});
      session_.dialogs.setBounds(palette, ASRect{static_cast<ai_int32>(chooser_.word()), 0, 5, 5});
      break;
    }
    break;
  }
  case 17: {
    static const char *const kCallers[] = {"SP Access",   "SP Interface", "AI Menu",
                                           "AI Notifier", "Bogus",        ""};
    static const char *const kSelectors[] = {"Startup ",  "Unload",    "Reload", "AI Go",
                                             "AI Notify", "Shutdownx", ""};
    const char *caller = kCallers[pick(std::size(kCallers))];
    const char *selector = kSelectors[pick(std::size(kSelectors))];
    note(std::string("call \"") + caller + "\" / \"" + selector + "\"");
    // "SP Access" / "Unload" and "Reload" are the host's to send with the
    // library really leaving memory: not sent bare.
    if (std::string(caller) == "SP Access" &&
        (std::string(selector) == "Unload" || std::string(selector) == "Reload"))
      break;
    emit(Json{{"do", "call"}, {"caller", caller}, {"selector", selector}});
    plugin.call(caller, selector);
    break;
  }
  default:
    if (!options_.faults) break;
    switch (pick(4)) {
    case 0:
    case 1:
      armFault();
      break;
    case 2:
      lackSuite();
      break;
    default:
      oddPreference();
      break;
    }
    return; // the restriction applies to the next action
  }
  context_.expect(plugin.callDepth() == 0, "a PluginMain call never returned");
  context_.expect(session_.dialogs.floatingDialogs().size() <= 1, "more than one palette");
  checkAlerts();
  if (restrictionArmed_) {
    emit(Json{{"do", "clearFaults"}});
    session_.host.faults().clear();
    for (const std::string &name : session_.host.suites().names())
      session_.host.suites().restore(name);
    restrictionArmed_ = false;
  }
}

void Driver::run() {
  if (!session_.load()) return;
  if (options_.afterLoad) options_.afterLoad(session_.plugin);
  session_.host.log().setEnabled(false);
  if (options_.emptyDocumentFirst) session_.open(documentOf({}, {}));
  SessionDescription *description = options_.description;
  for (step_ = 1; step_ <= options_.steps && !chooser_.exhausted(); ++step_) {
    chooser_.nextAction();
    if (description) description->actions.push_back(Json::array());
    const int before = context_.failureCount();
    act(pick(options_.faults ? 21 : 18));
    if (description && before == 0 && context_.failureCount() > 0) description->firstFailingStep = step_;
    if (context_.failureCount() > 10) break;
  }
  note("final shutdown");
  Allowances allowed = session_.allowancesFromFaults();
  if (recordLostByHost_) allowed.blocks = true;
  const bool out = !session_.plugin.loaded() && session_.plugin.globalsSlot() != nullptr;
  int shutdowns = 0;
  session_.finish(allowed, &shutdowns);
  if (description) {
    description->finish.push_back(Json{{"do", "clearFaults"}});
    if (out) description->finish.push_back(Json{{"do", "reload"}});
    for (int i = 0; i < shutdowns; ++i)
      description->finish.push_back(Json{{"do", "shutdown"}});
  }
}

void runDrivenSession(CheckContext &context, Chooser &chooser, const DriverOptions &options) {
  Driver driver(context, chooser, options);
  driver.run();
}

} // namespace pello::validate
