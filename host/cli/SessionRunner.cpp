#include "SessionRunner.h"

#include "DocumentDiff.h"
#include "SvgPalette.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/Menus.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"

#include "ADMTypes.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>

namespace pello::cli {

namespace {

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string joined(const std::vector<std::string> &ids) {
  std::string out;
  for (const std::string &id : ids)
    out += (out.empty() ? "" : ", ") + id;
  return out;
}

// Calls `fn` with the keys as an initializer list, which is what the dialog
// manager's user actions take.
template <class Fn> bool withKeys(const std::vector<int> &k, Fn fn) {
  switch (k.size()) {
  case 0:
    return fn({});
  case 1:
    return fn({k[0]});
  case 2:
    return fn({k[0], k[1]});
  case 3:
    return fn({k[0], k[1], k[2]});
  case 4:
    return fn({k[0], k[1], k[2], k[3]});
  case 5:
    return fn({k[0], k[1], k[2], k[3], k[4]});
  default:
    return fn({k[0], k[1], k[2], k[3], k[4], k[5]});
  }
}

bool sameValue(const Json &expected, const Json &actual, double tolerance) {
  if (expected.is_number() && actual.is_number())
    return std::fabs(expected.get<double>() - actual.get<double>()) <= tolerance;
  if (expected.is_array() && actual.is_array()) {
    if (expected.size() != actual.size()) return false;
    for (std::size_t i = 0; i < expected.size(); ++i)
      if (!sameValue(expected[i], actual[i], tolerance)) return false;
    return true;
  }
  if (expected.is_object() && actual.is_object()) {
    if (expected.size() != actual.size()) return false;
    for (auto it = expected.begin(); it != expected.end(); ++it)
      if (!actual.contains(it.key()) || !sameValue(it.value(), actual[it.key()], tolerance)) return false;
    return true;
  }
  return expected == actual;
}

Json matrixJson(const ASRealMatrix &m) {
  return Json::array({m.a, m.b, m.c, m.d, m.tx, m.ty});
}

// A host error code as the user reads it: 0, -108, 'S!Fd'.
std::string codeName(ASErr code) {
  return harness::errorCodeText(code, harness::CodeStyle::quoted);
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
  host_.reset();
  if (ownPreferences_) {
    std::error_code ec;
    std::filesystem::remove(preferences_, ec);
  }
}

int SessionRunner::run() {
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
  if (!startHost()) return kExitNoPlugin;
  before_ = lastDocument_;

  if (session_.autostart) {
    Step startup;
    startup.action = Action::startup;
    startup.name = "startup";
    Step started;
    started.action = Action::appStarted;
    started.name = "appStarted";
    transcript_.heading("Startup");
    act(startup);
    afterAction(startup);
    transcript_.heading("Application started: the palette is created");
    act(started);
    afterAction(started);
  }
  for (std::size_t i = 0; i < session_.steps.size(); ++i)
    runStep(i, session_.steps[i]);
  if (started_) {
    transcript_.heading("End of the session: shutdown");
    shutdownPlugin();
  }
  after_ = documentNow();

  const bool passed = failed_ == 0 && stepsFailed_ == 0;
  std::string summary =
      std::to_string(session_.steps.size()) + " steps, " + std::to_string(met_) + " expectations met";
  if (failed_) summary += ", " + std::to_string(failed_) + " failed";
  if (stepsFailed_) summary += ", " + std::to_string(stepsFailed_) + " steps could not run";
  transcript_.heading((passed ? "Session passed: " : "Session FAILED: ") + summary);
  return passed ? kExitOk : kExitFailed;
}

bool SessionRunner::startHost() {
  const std::string document = lastDocument_.is_null() ? session_.documentText : lastDocument_.dump();
  host_ = std::make_unique<host::Host>();
  transcript_.attach(*host_);
  auto &prefs = host_->get<host::Preferences>();
  prefs.setFile(preferences_);
  for (const std::string &warning : prefs.warnings())
    transcript_.note("warning: " + warning);
  auto &plugin = host_->get<host::Plugin>();
  if (plugin.load(pluginPath_) != 0) {
    transcript_.add(
        Json{{"event", "error"}, {"text", "the plug-in cannot be loaded: " + plugin.lastError()}});
    std::fprintf(stderr, "pello-host: %s: %s\n", pluginPath_.string().c_str(), plugin.lastError().c_str());
    return false;
  }
  const host::PiPLInfo &pipl = plugin.module()->pipl();
  transcript_.note("loaded: PiPL kind 'SPEA', interface version " + std::to_string(pipl.interfaceVersion) +
                   ", entry point \"" + pipl.entryPoint + "\"");
  host_->get<host::Document>().loadJson(document);
  lastDocument_ = documentNow();
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
  return host::writeDocument(host_->get<host::Document>().model());
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
      auto &dm = host_->get<host::DialogManager>();
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
    title = "choose the menu item (AI Menu / AI Go)";
    break;
  case Action::menuUpdate:
    title = "the host updates the menu item (AI Menu / AI Update)";
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

bool SessionRunner::act(const Step &step) {
  auto &plugin = host_->get<host::Plugin>();
  auto &dm = host_->get<host::DialogManager>();
  ADMDialogRef palette = dm.palette();
  auto needPalette = [&] {
    if (!palette) stepFailed("there is no palette: the plug-in has not created it, or it is destroyed");
    return palette != nullptr;
  };
  auto menuItem = [&]() -> AIMenuItemHandle {
    for (const auto &item : host_->get<host::Menus>().items())
      if (item->owner == plugin.ref()) return item->handle();
    stepFailed("the plug-in has added no menu item");
    return nullptr;
  };

  switch (step.action) {
  case Action::select:
    host_->get<host::Document>().model().select(step.art);
    return true;
  case Action::click:
    if (!needPalette()) return false;
    if (!withKeys(step.keys,
                  [&](std::initializer_list<int> keys) { return dm.click(palette, step.item, keys); })) {
      stepFailed("the palette has no shown, enabled item " + std::to_string(step.item) + " to click");
      return false;
    }
    return true;
  case Action::choose: {
    if (!needPalette()) return false;
    int index = step.entry;
    if (!step.entryText.empty()) {
      auto button = dm.item(palette, kADMMenuItemID);
      if (button)
        for (const host::EntryInfo &entry : button->entries)
          if (entry.text == step.entryText) index = entry.index;
    }
    if (index < 0 || !withKeys(step.keys, [&](std::initializer_list<int> keys) {
          return dm.chooseMenuEntry(palette, index, keys);
        })) {
      stepFailed("the palette's option menu has no such entry");
      return false;
    }
    return true;
  }
  case Action::menuGo:
  case Action::menuUpdate: {
    AIMenuItemHandle item = menuItem();
    if (!item) return false;
    step.action == Action::menuGo ? plugin.menuGo(item) : plugin.menuUpdate(item);
    return true;
  }
  case Action::about:
    plugin.about();
    return true;
  case Action::showPalette:
  case Action::hidePalette:
    if (!needPalette()) return false;
    dm.setVisible(palette, step.action == Action::showPalette);
    return true;
  case Action::movePalette:
    if (!needPalette()) return false;
    dm.move(palette, step.dx, step.dy);
    return true;
  case Action::startup:
    started_ = plugin.startup() == 0;
    return true;
  case Action::appStarted:
    plugin.notifyApplicationStarted();
    return true;
  case Action::shutdown:
    plugin.shutdown();
    started_ = false;
    return true;
  case Action::unload: {
    ASErr code = plugin.unload();
    if (code == host::kHostPluginInUseError)
      transcript_.note("the host keeps the library: an access reference holds it ('BUSY'), nothing is sent");
    else if (code == 0)
      transcript_.note("the library is out of memory; the host keeps d.globals");
    return true;
  }
  case Action::reload:
    if (plugin.reload() == host::kHostLoadError) {
      stepFailed("the plug-in cannot be loaded again: " + plugin.lastError());
      return false;
    }
    return true;
  case Action::restart: {
    if (started_) {
      transcript_.note("shutting the plug-in down first");
      shutdownPlugin();
    }
    lastDocument_ = documentNow();
    transcript_.flush();
    transcript_.detach();
    host_.reset(); // the old host writes its preferences file as it goes
    if (!startHost()) {
      stepFailed("the new host cannot load the plug-in");
      return false;
    }
    Step startup, started;
    startup.action = Action::startup;
    started.action = Action::appStarted;
    act(startup);
    act(started);
    return true;
  }
  case Action::fail:
    if (step.call)
      host_->faults().failOnCall(step.op, step.call, step.code);
    else
      host_->faults().failAlways(step.op, step.code);
    return true;
  case Action::clearFaults:
    transcript_.note("faults that fired so far: " + std::to_string(host_->faults().fired().size()));
    host_->faults().clear();
    return true;
  default:
    return true;
  }
}

void SessionRunner::afterAction(const Step &step) {
  transcript_.flush([&]() -> std::string {
    if (step.action != Action::click) return {};
    if (step.item >= 1 && step.item <= 8) {
      const Json &t = transcript_.lastTranslation();
      return t.is_null() ? "pattern shift (no pattern fill in the selection to move)"
                         : "pattern shift: pelloPattern(" + number(t["h"].get<double>()) + ", " +
                               number(t["v"].get<double>()) + ")";
    }
    if (step.item == 9 || step.item == 10) return "dash shift";
    if (step.item == 11) return "untransform";
    return {};
  });
  if (step.action == Action::appStarted || step.action == Action::restart) notePalette();
  if (step.action == Action::shutdown) notePreferences();
  Json now = documentNow();
  for (Json &change : documentChanges(lastDocument_, now))
    transcript_.add(std::move(change));
  lastDocument_ = std::move(now);
}

// What the preferences file holds now, one "prefix/suffix = value" each.
void SessionRunner::notePreferences() {
  std::ifstream in(preferences_);
  Json stored = Json::parse(in, nullptr, false);
  if (stored.is_discarded() || !stored.is_object()) return;
  for (auto prefix = stored.begin(); prefix != stored.end(); ++prefix) {
    if (!prefix.value().is_object()) continue;
    for (auto entry = prefix.value().begin(); entry != prefix.value().end(); ++entry) {
      const Json value = entry.value().is_object() && entry.value().contains("value") ? entry.value()["value"]
                                                                                      : entry.value();
      std::string text = value.dump();
      if (value.is_object() && value.contains("h") && value.contains("v"))
        text = "(" + value["h"].dump() + ", " + value["v"].dump() + ")";
      transcript_.note("preference " + prefix.key() + "/" + entry.key() + " = " + text);
    }
  }
}

void SessionRunner::notePalette() {
  auto &dm = host_->get<host::DialogManager>();
  ADMDialogRef palette = dm.palette();
  if (!palette) {
    transcript_.note("no palette");
    return;
  }
  std::optional<host::DialogInfo> info = dm.info(palette);
  const ASRect &b = info->bounds;
  char code[16];
  std::snprintf(code, sizeof code, "0x%X", static_cast<unsigned>(info->positionCode));
  transcript_.note("palette \"" + info->name + "\" from dialog " + std::to_string(info->resourceId) + ": " +
                   (info->visible ? "visible" : "hidden") + ", bounds (" + std::to_string(b.left) + ", " +
                   std::to_string(b.top) + ", " + std::to_string(b.right) + ", " + std::to_string(b.bottom) +
                   ")" + (info->group.empty() ? "" : ", docked in \"" + info->group + "\" at " + code));
  for (const host::ItemInfo &item : info->items)
    if (item.kind == host::ItemKind::OptionMenuButton) {
      std::string entries;
      for (const host::EntryInfo &entry : item.entries)
        entries += (entries.empty() ? "\"" : ", \"") + entry.text + "\"";
      transcript_.note("option menu: " + entries);
    }
  if (palette_.empty()) {
    try {
      palette_ = paletteSvg(*info, *host_->get<host::Plugin>().module());
    } catch (const std::exception &e) {
      transcript_.note(std::string("the palette cannot be drawn: ") + e.what());
    }
  }
}

void SessionRunner::expectation(const std::string &what, bool passed, const Json &expected,
                                const Json &actual) {
  passed ? ++met_ : ++failed_;
  transcript_.add(Json{{"event", "expectation"},
                       {"index", currentStep_},
                       {"what", what},
                       {"passed", passed},
                       {"expected", expected},
                       {"actual", actual}});
}

void SessionRunner::expect(const Step &step) {
  switch (step.action) {
  case Action::expectAlerts: {
    Json expected = step.alerts, actual = transcript_.lastAlerts();
    expectation(step.alerts.empty() ? "no alerts" : "alerts " + Transcript::valueText(expected),
                expected == actual, expected, actual);
    break;
  }
  case Action::expectDialog: {
    bool found = false;
    Json shown = Json::array();
    for (const Json &dialog : transcript_.lastDialogs()) {
      Json texts = Json::array();
      for (const Json &item : dialog["items"])
        texts.push_back(item["text"]);
      shown.push_back(Json{{"title", dialog["title"]}, {"texts", texts}});
      bool all = dialog["title"] == step.title;
      for (const std::string &text : step.texts) {
        bool has = false;
        for (const Json &t : texts)
          has = has || t == text;
        all = all && has;
      }
      found = found || all;
    }
    Json expected{{"title", step.title}, {"texts", step.texts}};
    expectation("a dialog \"" + step.title + "\"" +
                    (step.texts.empty() ? "" : " showing " + Transcript::valueText(Json(step.texts))),
                found, expected, shown);
    break;
  }
  case Action::expectResult: {
    const Json &result = transcript_.lastResult();
    Json actual = result.is_null() ? Json() : Json(codeName(result.get<ASErr>()));
    expectation("the plug-in returned " + codeName(step.code),
                !result.is_null() && result.get<ASErr>() == step.code, codeName(step.code), actual);
    break;
  }
  case Action::expectStyle: {
    Json doc = documentNow();
    const Json *art = findArt(doc, step.target);
    const Json *value = art && art->contains("style") ? fieldAt((*art)["style"], step.field) : nullptr;
    Json actual = value ? *value : Json();
    expectation(step.target + " style." + step.field + " = " + Transcript::valueText(step.value, false),
                value && sameValue(step.value, actual, step.tolerance), step.value, actual);
    break;
  }
  case Action::expectMatrix: {
    const host::DocumentModel &model = host_->get<host::Document>().model();
    const host::ArtObject *o = model.find(step.target);
    Json actual;
    std::string which = step.target;
    if (o && o->hasStyle()) {
      which += " pattern matrix";
      if (o->style.fill.color.kind == kPattern) actual = matrixJson(o->style.fill.color.c.p.transform);
    } else if (o && o->hasTextPaths()) {
      std::size_t index = step.textPath < 0 ? 0 : static_cast<std::size_t>(step.textPath);
      which += " text path " + std::to_string(index) + " matrix";
      if (index < o->textPaths.size()) actual = matrixJson(o->textPaths[index].matrix);
    } else if (o && o->hasMatrix()) {
      which += " matrix";
    }
    if (o && o->hasMatrix()) actual = matrixJson(o->matrix);
    expectation(which + " = " + Transcript::valueText(step.value),
                !actual.is_null() && sameValue(step.value, actual, step.tolerance), step.value, actual);
    break;
  }
  case Action::expectPreference: {
    auto &prefs = host_->get<host::Preferences>();
    Json actual;
    if (auto type = prefs.typeOf(step.prefix, step.key)) {
      switch (*type) {
      case host::Preferences::Type::String:
        actual = *prefs.getString(step.prefix, step.key);
        break;
      case host::Preferences::Type::Integer:
        actual = *prefs.getInteger(step.prefix, step.key);
        break;
      case host::Preferences::Type::Boolean:
        actual = *prefs.getBoolean(step.prefix, step.key);
        break;
      case host::Preferences::Type::Point: {
        ASPoint p = *prefs.getPoint(step.prefix, step.key);
        actual = Json::array({p.h, p.v});
        break;
      }
      }
    }
    expectation("preference " + step.prefix + "/" + step.key + " = " +
                    Transcript::valueText(step.value, false),
                actual == step.value, step.value, actual);
    break;
  }
  default:
    break;
  }
}

} // namespace pello::cli
