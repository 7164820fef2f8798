// The driver's steps: the action each choice picks, and after each the
// checks every step must pass; then the final shutdown.
#include "Driver.h"

#include "pello/host/Keyboard.h"

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
  switch (keys.size()) {
  case 0:
    session_.dialogs.click(palette, item);
    break;
  case 1:
    session_.dialogs.click(palette, item, {keys[0]});
    break;
  case 2:
    session_.dialogs.click(palette, item, {keys[0], keys[1]});
    break;
  default:
    session_.dialogs.click(palette, item, {keys[0], keys[1], keys[2]});
    break;
  }
}

void Driver::note(const std::string &what) {
  history_ += (history_.empty() ? "" : "; ") + what;
  if (history_.size() > 300) history_.erase(0, history_.size() - 300);
  context_.stage(options_.label + (options_.label.empty() ? "" : ", ") + "step " + std::to_string(step_) +
                 ", the last actions: ..." + history_);
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
  const auto &alerts = session_.dialogs.alerts();
  for (std::size_t i = alertsSeen_; i < alerts.size(); ++i) {
    const std::string &text = alerts[i];
    const bool known = text == kCancelAlert || text == kWriteAlert || text == kMysteryAlert ||
                       text == kTextMatrixAlert || text == kPatternMatrixAlert ||
                       std::regex_match(text, acquisition) || std::regex_match(text, display);
    context_.expect(known, "an alert the plug-in has no reason to show: \"" + text + "\"");
    if (!options_.faults)
      context_.expect(text == kMysteryAlert || text.rfind("Matrix: ", 0) == 0,
                      "an error alert in a session without host faults: \"" + text + "\"");
  }
  alertsSeen_ = alerts.size();
}

void Driver::act(std::uint32_t action) {
  Plugin &plugin = session_.plugin;
  switch (action) {
  case 0:
    // A host starts a plug-in once until it shuts it down.
    if (started()) break;
    note("startup");
    plugin.startup();
    break;
  case 1:
    note("application started");
    plugin.notifyApplicationStarted();
    break;
  case 2:
    note("shutdown");
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
    session_.choose(entry);
    break;
  }
  case 9:
    note("AI Go");
    plugin.menuGo(chance(90) ? session_.menuItem() : nullptr);
    break;
  case 10:
    note("AI Update");
    plugin.menuUpdate(chance(90) ? session_.menuItem() : nullptr);
    break;
  case 11:
    note("About");
    plugin.about();
    break;
  case 12: {
    note("unload and reload");
    const std::size_t firedBefore = session_.host.faults().fired().size();
    if (plugin.unload() == kASNoError) plugin.reload();
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
    case 0:
      session_.dialogs.setVisible(palette, chance(50));
      break;
    case 1:
      session_.dialogs.move(palette, static_cast<int>(pick(2001)) - 1000,
                            static_cast<int>(pick(2001)) - 1000);
      break;
    case 2:
      session_.dialogs.dock(palette, std::string(pick(100), 'D'), static_cast<ai_int32>(chooser_.word()));
      break;
    default:
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
  for (step_ = 1; step_ <= options_.steps && !chooser_.exhausted(); ++step_) {
    act(pick(options_.faults ? 21 : 18));
    if (context_.failureCount() > 10) break;
  }
  note("final shutdown");
  Allowances allowed = session_.allowancesFromFaults();
  if (recordLostByHost_) allowed.blocks = true;
  session_.finish(allowed);
}

void runDrivenSession(CheckContext &context, Chooser &chooser, const DriverOptions &options) {
  Driver driver(context, chooser, options);
  driver.run();
}

} // namespace pello::validate
