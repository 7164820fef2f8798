// The driver's steps: the action each choice picks, and after each the
// checks every step must pass; then the final shutdown.
#include "Driver.h"

#include "pello/host/Keyboard.h"
#include "pello/host/Notifiers.h"

#include <algorithm>

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
  // Told before the click, so that a click that crashes the plug-in is in
  // the description; taken back when the host could not make it.
  emit(Json{{"do", "click"}, {"item", item}, {"keys", keys}});
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
  if (!clicked) retract();
}

void Driver::emit(Json step) {
  SessionDescription *description = options_.description;
  if (!description || description->actions.empty()) return;
  if (description->onChange) description->onChange('S', step.dump());
  description->actions.back().push_back(std::move(step));
}

// A step emitted before the host made it, which the host did not make.
void Driver::retract() {
  SessionDescription *description = options_.description;
  if (!description || description->actions.empty() || description->actions.back().empty()) return;
  if (description->onChange) description->onChange('R', "");
  description->actions.back().erase(description->actions.back().end() - 1);
}

void SessionDescription::apply(char change, const std::string &text) {
  switch (change) {
  case 'A':
    actions.push_back(Json::array());
    break;
  case 'S':
    if (actions.empty()) actions.push_back(Json::array());
    actions.back().push_back(Json::parse(text));
    break;
  case 'R':
    if (!actions.empty() && !actions.back().empty()) actions.back().erase(actions.back().end() - 1);
    break;
  case 'F':
    finish.push_back(Json::parse(text));
    break;
  case 'N':
    notes.push_back(text);
    break;
  case 'P':
    firstFailingStep = std::stoi(text);
    break;
  default:
    break;
  }
}

void Driver::note(const std::string &what) {
  if (options_.description) {
    if (options_.description->onChange) options_.description->onChange('N', what);
    options_.description->notes.push_back(what);
  }
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

// Whether a fault of the host's on `op` fired since it had fired `firedBefore`.
bool Driver::failedSince(std::size_t firedBefore, const std::string &op) const {
  const auto &fired = session_.host.faults().fired();
  for (std::size_t i = firedBefore; i < fired.size(); ++i)
    if (fired[i].op == op) return true;
  return false;
}

// Every alert is one the plug-in can show; without host faults, none tells
// of an error. The session file says the same after each action that
// showed one.
void Driver::checkAlerts() {
  // A number the host refused to write (a failing AIRealToString) is shown
  // empty: the plug-in has no other text for it.
  const bool numberRefused = failedSince(firedAtStep_, "AIUser::AIRealToString");
  const auto &alerts = session_.dialogs.alerts();
  for (std::size_t i = alertsSeen_; i < alerts.size(); ++i) {
    const std::string &text = alerts[i];
    context_.expect(isAlertThePluginShows(text, numberRefused),
                    "an alert the plug-in has no reason to show: \"" + text + "\"");
    if (!options_.faults)
      context_.expect(!isFailureAlert(text),
                      "an error alert in a session without host faults: \"" + text + "\"");
  }
  if (alerts.size() > alertsSeen_)
    emit(options_.faults ? Json{{"do", "expectKnownAlerts"}}
                         : Json{{"do", "expectKnownAlerts"}, {"errors", false}});
  alertsSeen_ = alerts.size();
}

// A path style the host refused to take is told at once: "ERROR!", or on a
// paste "Error setting matrix in pattern!", as long as the plug-in holds
// the suite that shows alerts.
void Driver::checkToldWrites(std::size_t alertsBefore) {
  if (!failedSince(firedAtStep_, "AIPathStyle::SetPathStyle") ||
      session_.host.suites().holds("ADM Basic Suite") == 0)
    return;
  const std::string told = pasting_ ? kPatternMatrixAlert : kWriteAlert;
  const auto &alerts = session_.dialogs.alerts();
  context_.expect(std::find(alerts.begin() + static_cast<std::ptrdiff_t>(alertsBefore), alerts.end(), told) !=
                      alerts.end(),
                  "a refused path style not told: no \"" + told + "\" after the host refused " +
                      "AIPathStyle::SetPathStyle");
  emit(Json{{"do", "expectAlerts"}, {"includes", {told}}});
}

// The library out of memory: the process holds no more thread-local storage
// slots or handles than the first time it was out, or the module keeps one
// per load.
void Driver::checkKeptPerLoad() {
  const ProcessCounters now = readProcessCounters();
  if (!firstOut_) {
    firstOut_ = now;
    return;
  }
  auto compare = [&](const char *what, long long first, long long count) {
    context_.expect(count <= first, std::string("kept per load: ") + std::to_string(count - first) +
                                        " more " + what +
                                        " with the library out of memory than the first time (" +
                                        std::to_string(first) + " -> " + std::to_string(count) + ")");
  };
  compare("thread-local storage slots", firstOut_->tlsSlots, now.tlsSlots);
  compare("handles", firstOut_->handles, now.handles);
  emit(Json{{"do", "expectSteadyLoads"}});
}

void Driver::act(std::uint32_t action) {
  Plugin &plugin = session_.plugin;
  if (!restrictionArmed_) firedAtStep_ = session_.host.faults().fired().size();
  pasting_ = false;
  const std::size_t alertsBefore = alertsSeen_;
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
    pasting_ = entry == kPasteEntry;
    emit(Json{{"do", "choose"}, {"entry", entry}});
    if (!session_.choose(entry)) retract();
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
  case kUnloadReloadAction: {
    note("unload and reload");
    const std::size_t firedBefore = session_.host.faults().fired().size();
    emit(Json{{"do", "unload"}});
    if (plugin.unload() == kASNoError) {
      if (!plugin.loaded()) checkKeptPerLoad();
      emit(Json{{"do", "reload"}});
      plugin.reload();
    }
    if (failedSince(firedBefore, "SPBasic::IsEqual")) recordLostByHost_ = true;
    break;
  }
  case kNewDocumentActions[0]:
  case kNewDocumentActions[1]:
    note("new document");
    newDocument();
    break;
  case 15:
    note("new selection");
    newSelection();
    break;
  case kPaletteControlsAction: {
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
  checkToldWrites(alertsBefore);
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
    if (description) {
      if (description->onChange) description->onChange('A', "");
      description->actions.push_back(Json::array());
    }
    const int before = context_.failureCount();
    act(pick(options_.faults ? kAllActions : kQuietActions));
    if (description && before == 0 && context_.failureCount() > 0) {
      description->firstFailingStep = step_;
      if (description->onChange) description->onChange('P', std::to_string(step_));
    }
    if (context_.failureCount() > 10) break;
  }
  note("final shutdown");
  Allowances allowed = session_.allowancesFromFaults();
  if (recordLostByHost_) allowed.blocks = true;
  const bool out = !session_.plugin.loaded() && session_.plugin.globalsSlot() != nullptr;
  int shutdowns = 0;
  session_.finish(allowed, &shutdowns);
  if (description) {
    std::vector<Json> finish{Json{{"do", "clearFaults"}}};
    if (out) finish.push_back(Json{{"do", "reload"}});
    for (int i = 0; i < shutdowns; ++i)
      finish.push_back(Json{{"do", "shutdown"}});
    for (Json &step : finish) {
      if (description->onChange) description->onChange('F', step.dump());
      description->finish.push_back(std::move(step));
    }
  }
}

void runDrivenSession(CheckContext &context, Chooser &chooser, const DriverOptions &options) {
  Driver driver(context, chooser, options);
  driver.run();
}

} // namespace pello::validate
