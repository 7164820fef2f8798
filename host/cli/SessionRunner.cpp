// The course of a session: the host started (again, on a restart), the
// plug-in's startup and shutdown, and each step announced and handed to its
// action (SessionActions.cpp) or its expectation (SessionExpectations.cpp).
#include "SessionRunner.h"
#include "Commands.h"

#include "pello/harness/PluginSurface.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"

#include "ADMTypes.h"

#include <chrono>
#include <cstdio>

namespace pello::cli {

namespace {

std::string joined(const std::vector<std::string> &ids) {
  std::string out;
  for (const std::string &id : ids)
    out += (out.empty() ? "" : ", ") + id;
  return out;
}

// A host error code as the user reads it: 0, -108, 'S!Fd'.
std::string codeName(ASErr code) {
  return harness::errorCodeText(code, harness::CodeStyle::quoted);
}

std::string menuItemWhose(const std::string &whose) {
  if (whose == "other") return ", for another plug-in's menu item";
  if (whose == "none") return ", for no menu item";
  return "";
}

std::filesystem::path freshPreferencesFile() {
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::filesystem::temp_directory_path() / ("pello-host-prefs-" + std::to_string(stamp) + ".json");
}

} // namespace

SessionRunner::SessionRunner(const Session &session, std::filesystem::path plugin, Transcript &transcript)
    : session_(session), pluginPath_(std::move(plugin)), transcript_(transcript) {}

SessionRunner::~SessionRunner() {
  transcript_.detach();
  hosted_.reset();
  if (ownPreferences_) {
    std::error_code ec;
    std::filesystem::remove(preferences_, ec);
  }
}

int SessionRunner::run() {
  if (!begin()) return kExitNoPlugin;
  for (std::size_t i = 0; i < session_.steps.size(); ++i)
    runStep(i, session_.steps[i]);
  return end();
}

bool SessionRunner::begin() {
  if (session_.preferences.empty()) {
    preferences_ = freshPreferencesFile();
    ownPreferences_ = true;
  } else {
    preferences_ = session_.preferences;
  }
  transcript_.heading("Session: " + session_.name);
  transcript_.note("plug-in: " + pluginPath_.string());
  transcript_.note("document: " + session_.documentName);
  transcript_.note("preferences: " +
                   (ownPreferences_ ? std::string("a fresh store") : preferences_.string()));
  if (session_.errorTexts)
    transcript_.note("error text list: the session's " + std::to_string(session_.errorTexts->size()) +
                     " entries instead of the module's");
  if (!startHost()) return false;
  before_ = documentNow();

  if (session_.autostart) {
    Step startup;
    startup.action = Action::startup;
    startup.name = "startup";
    Step started;
    started.action = Action::appStarted;
    started.name = "appStarted";
    transcript_.heading("Startup");
    reportCrashStep("the startup before the steps");
    act(startup);
    afterAction(startup);
    transcript_.heading("Application started: the palette is created");
    reportCrashStep("the application start before the steps");
    act(started);
    afterAction(started);
  }
  return true;
}

int SessionRunner::end() {
  if (hosted_->started()) {
    transcript_.heading("End of the session: shutdown");
    reportCrashStep("the shutdown after the steps");
    shutdownPlugin();
  }
  reportCrashStep({});
  after_ = documentNow();
  noteFaultsFired();
  for (const ArmedFault &fault : armed_)
    if (!fault.fired)
      transcript_.note("warning: the fault of step [" + std::to_string(fault.step) + "] never fired: " +
                       fault.op + (fault.always ? " was never called" : " was not called that often"));

  const bool passed = failed_ == 0 && stepsFailed_ == 0;
  std::string summary =
      std::to_string(session_.steps.size()) + " steps, " + std::to_string(met_) + " expectations met";
  if (failed_) summary += ", " + std::to_string(failed_) + " failed";
  if (stepsFailed_) summary += ", " + std::to_string(stepsFailed_) + " steps could not run";
  transcript_.heading((passed ? "Session passed: " : "Session FAILED: ") + summary);
  return passed ? kExitOk : kExitFailed;
}

bool SessionRunner::startHost() {
  harness::HostedPluginOptions options;
  options.module = pluginPath_;
  options.preferences = preferences_;
  options.prepare = [this](host::Host &host) {
    transcript_.attach(host);
    if (session_.layoutBounds) host.get<host::DialogManager>().setPaletteLayoutBounds(*session_.layoutBounds);
    if (onNewHost_) onNewHost_(host);
  };
  options.errorTexts = session_.errorTexts;
  hosted_ = std::make_unique<harness::HostedPlugin>(std::move(options));
  if (!loaded(hosted_->load())) return false;
  hosted_->document().loadJson(session_.documentText);
  document_.reset(currentModel());
  return true;
}

// Tells what the new host found in the preferences file and whether it
// took the module.
bool SessionRunner::loaded(const harness::Outcome &load) {
  for (const std::string &warning : hosted_->preferences().warnings())
    transcript_.note("warning: " + warning);
  preferenceWarningsSeen_ = hosted_->preferences().warnings().size();
  if (!load) {
    transcript_.add(Json{{"event", "error"}, {"text", "the plug-in cannot be loaded: " + load.failure}});
    // The reason begins with the module's path.
    std::fprintf(stderr, "pello-host: %s\n", load.failure.c_str());
    return false;
  }
  const host::PiPLInfo &pipl = hosted_->plugin().module()->pipl();
  transcript_.note("loaded: PiPL kind 'SPEA', interface version " + std::to_string(pipl.interfaceVersion) +
                   ", entry point \"" + pipl.entryPoint + "\"");
  return true;
}

void SessionRunner::shutdownPlugin() {
  Step shutdown;
  shutdown.action = Action::shutdown;
  shutdown.name = "shutdown";
  act(shutdown);
  afterAction(shutdown);
}

Json SessionRunner::documentNow() const {
  return hosted_->documentJson();
}

const host::DocumentModel *SessionRunner::currentModel() {
  return hosted_->document().current();
}

// Marks the armed faults that the host's record shows fired.
void SessionRunner::noteFaultsFired() {
  const auto &fired = hosted_->faults().fired();
  for (; firedSeen_ < fired.size(); ++firedSeen_)
    for (ArmedFault &fault : armed_)
      if (!fault.fired && fault.op == fired[firedSeen_].op) {
        fault.fired = true;
        break;
      }
}

void SessionRunner::stepFailed(const std::string &why) {
  ++stepsFailed_;
  transcript_.add(Json{{"event", "error"}, {"text", why}});
}

bool SessionRunner::runStep(std::size_t index, const Step &step) {
  std::string title = step.name;
  switch (step.action) {
  case Action::select:
    title = step.art.empty() ? "select nothing" : "select " + joined(step.art);
    break;
  case Action::click:
    title =
        "click " + paletteItemLabel(step.item) + (step.keys.empty() ? "" : " with " + keyNames(step.keys));
    break;
  case Action::choose: {
    std::string entry = step.entryText;
    if (entry.empty()) {
      auto &dm = hosted_->dialogs();
      auto button = dm.palette() ? dm.item(dm.palette(), kADMMenuItemID) : std::nullopt;
      if (button && step.entry < static_cast<int>(button->entries.size()))
        entry = button->entries[step.entry].text;
      else
        entry = "entry " + std::to_string(step.entry);
    }
    title = "choose \"" + entry + "\" in the palette's option menu";
    break;
  }
  case Action::menuGo:
    title = "choose the menu item (AI Menu / AI Go)" + menuItemWhose(step.whose);
    break;
  case Action::menuUpdate:
    title = "the host updates the menu item (AI Menu / AI Update)" + menuItemWhose(step.whose);
    break;
  case Action::call:
    title = "the host calls PluginMain(\"" + step.caller + "\", \"" + step.selector + "\")";
    break;
  case Action::notify:
    title = "the host sends \"" + step.type + "\" (AI Notifier) from " +
            (step.whose == "other" ? "another plug-in's notifier" : "the plug-in's notifier");
    break;
  case Action::notifyItem:
    title = "the palette's " + paletteItemLabel(step.item) + " gets \"" + step.type + "\"";
    break;
  case Action::about:
    title = "About box (the user presses OK)";
    break;
  case Action::showPalette:
    title = "the user shows the palette";
    break;
  case Action::hidePalette:
    title = "the user hides the palette";
    break;
  case Action::movePalette:
    title =
        "the user moves the palette by (" + std::to_string(step.dx) + ", " + std::to_string(step.dy) + ")";
    break;
  case Action::appStarted:
    title = "the application has started (AI Notifier)";
    break;
  case Action::unload:
    title = "the host unloads the plug-in (SP Access / Unload)";
    break;
  case Action::reload:
    title = "the host reloads the plug-in (SP Access / Reload)";
    break;
  case Action::restart:
    title = "restart the host (same preferences file, same document)";
    break;
  case Action::fail:
    title = "make " + step.op + " fail with " + codeName(step.code) +
            (step.call ? " on its call " + std::to_string(step.call) + " from now" : " on every call");
    break;
  case Action::clearFaults:
    title = "the host works again (faults cleared)";
    break;
  default:
    if (step.isExpectation()) title = step.name;
    break;
  }
  currentStep_ = index;
  reportCrashStep("steps[" + std::to_string(index) + "] (" + title + ")");
  Json event{{"event", "step"}, {"index", index}, {"do", step.name}, {"title", title}};
  if (!step.note.empty()) event["note"] = step.note;
  transcript_.add(event);

  if (step.isExpectation()) {
    expect(step);
    return true;
  }
  bool ok = act(step);
  afterAction(step);
  return ok;
}

} // namespace pello::cli
