// The actions of a session: what each step does to the host, the plug-in
// and the document, and what the transcript tells after it.
#include "SessionRunner.h"

#include "SvgPalette.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentDiff.h"
#include "pello/host/Menus.h"
#include "pello/host/Plugin.h"

#include "ADMTypes.h"

#include <cstdio>
#include <fstream>
#include <initializer_list>

namespace pello::cli {

namespace {

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

} // namespace

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
  transcript_.flush();
  if (step.action == Action::appStarted || step.action == Action::restart) notePalette();
  if (step.action == Action::shutdown) notePreferences();
  Json now = documentNow();
  for (const host::Change &change : host::documentChanges(lastDocument_, now))
    transcript_.addChange(change);
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

} // namespace pello::cli
