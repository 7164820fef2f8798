// The actions of a session: what each step does to the host, the plug-in
// and the document, and what the transcript tells after it.
#include "SessionRunner.h"

#include "SvgPalette.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentDiff.h"
#include "pello/host/JsonLimits.h"
#include "pello/host/Menus.h"
#include "pello/host/Notifiers.h"
#include "pello/host/Plugin.h"

#include "ADMTypes.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace pello::cli {

bool SessionRunner::act(const Step &step) {
  auto &plugin = hosted_->plugin();
  auto &dm = hosted_->dialogs();
  ADMDialogRef palette = dm.palette();
  auto outcome = [&](const harness::Outcome &done) {
    if (!done) stepFailed(done.failure);
    return bool(done);
  };
  auto needPalette = [&] { return outcome(hosted_->paletteThere()); };

  switch (step.action) {
  case Action::select:
    hosted_->document().model().select(step.art);
    return true;
  case Action::click:
    return outcome(hosted_->click(step.item, step.keys));
  case Action::choose:
    return outcome(step.entryText.empty() ? hosted_->choose(step.entry, step.keys)
                                          : hosted_->choose(step.entryText, step.keys));
  case Action::menuGo:
  case Action::menuUpdate: {
    AIMenuItemHandle item = nullptr;
    if (step.whose == "plugin") {
      item = hosted_->menuItem();
      if (!item) {
        stepFailed("the plug-in has added no menu item");
        return false;
      }
    } else if (step.whose == "other") {
      item = otherMenuItem();
    }
    step.action == Action::menuGo ? plugin.menuGo(item) : plugin.menuUpdate(item);
    return true;
  }
  case Action::call:
    plugin.call(step.caller.c_str(), step.selector.c_str());
    return true;
  case Action::notify: {
    AINotifierHandle notifier = step.whose == "other" ? otherNotifier(step.type) : pluginNotifier(step.type);
    if (!notifier) {
      stepFailed("the plug-in has added no notifier");
      return false;
    }
    plugin.notify(notifier, step.type.c_str());
    return true;
  }
  case Action::notifyItem:
    if (!needPalette()) return false;
    if (!dm.notify(palette, step.item, step.type.c_str())) {
      stepFailed("the palette has no " + paletteItemLabel(step.item));
      return false;
    }
    return true;
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
    hosted_->startup();
    return true;
  case Action::appStarted:
    plugin.notifyApplicationStarted();
    return true;
  case Action::shutdown:
    hosted_->shutdown();
    return true;
  case Action::unload: {
    ASErr code = plugin.unload();
    if (code == host::kHostPluginInUseError)
      transcript_.note("the host keeps the library: an access reference holds it ('BUSY'), nothing is sent");
    else if (code == 0)
      transcript_.note("the library is out of memory; the host keeps d.globals");
    if (code == 0 && !plugin.loaded()) outOfMemory_.push_back(validate::readProcessCounters());
    return true;
  }
  case Action::reload:
    if (plugin.reload() == host::kHostLoadError) {
      stepFailed("the plug-in cannot be loaded again: " + plugin.lastError());
      return false;
    }
    return true;
  case Action::restart: {
    if (hosted_->started()) {
      transcript_.note("shutting the plug-in down first");
      shutdownPlugin();
    }
    noteFaultsFired();
    firedSeen_ = 0; // the new host's record starts empty
    document_.look(currentModel());
    transcript_.flush();
    transcript_.detach();
    // The old host writes its preferences file as it goes; the new one
    // opens the document as it stands.
    if (!loaded(hosted_->restart(true))) {
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
    noteFaultsFired();
    armed_.push_back(ArmedFault{currentStep_, step.op, step.call == 0});
    if (step.call)
      hosted_->faults().failOnCall(step.op, step.call, step.code);
    else
      hosted_->faults().failAlways(step.op, step.code);
    return true;
  case Action::clearFaults:
    transcript_.note("faults that fired so far: " + std::to_string(hosted_->faults().fired().size()));
    hosted_->faults().clear();
    return true;
  default:
    return true;
  }
}

// A menu item and a notifier of another plug-in, made by the host on first
// use: the plug-in must leave alone what is not its own.
AIMenuItemHandle SessionRunner::otherMenuItem() {
  auto &menus = host().get<host::Menus>();
  host::MenuItem *item = menus.find("another plug-in's item");
  if (!item) item = menus.add(nullptr, "another plug-in's item", "Window", "Another Palette", 0);
  return item ? item->handle() : nullptr;
}

// The plug-in's notifier of `type`, else its first one; null when it has none.
AINotifierHandle SessionRunner::pluginNotifier(const std::string &type) {
  AINotifierHandle notifier = nullptr;
  for (const auto &known : host().get<host::Notifiers>().all())
    if (known->owner == hosted_->plugin().ref() && (!notifier || known->type == type))
      notifier = known->handle();
  return notifier;
}

AINotifierHandle SessionRunner::otherNotifier(const std::string &type) {
  auto &notifiers = host().get<host::Notifiers>();
  for (const auto &known : notifiers.all())
    if (known->owner == nullptr && known->type == type) return known->handle();
  return notifiers.add(nullptr, "another plug-in's notifier", type)->handle();
}

void SessionRunner::afterAction(const Step &step) {
  transcript_.flush();
  if (step.action == Action::appStarted || step.action == Action::restart) notePalette();
  if (step.action == Action::shutdown) notePreferences();
  for (const host::Change &change : document_.look(currentModel()))
    transcript_.addChange(change);
}

// What the preferences file holds now, one "prefix/suffix = value" each. A
// file the shutdown could not write fails the step: the preferences are lost.
void SessionRunner::notePreferences() {
  const std::vector<std::string> &warnings = hosted_->preferences().warnings();
  for (; preferenceWarningsSeen_ < warnings.size(); ++preferenceWarningsSeen_)
    stepFailed(warnings[preferenceWarningsSeen_]);
  std::ifstream in(preferences_, std::ios::binary);
  Json stored;
  try {
    stored = host::parseBoundedJson<Json>(std::string{std::istreambuf_iterator<char>(in), {}});
  } catch (const std::exception &) {
    return;
  }
  if (!stored.is_object()) return;
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
  auto &dm = hosted_->dialogs();
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
  const ASRect area = dm.paletteLayoutBounds();
  transcript_.note("layout area the host reports: (" + std::to_string(area.left) + ", " +
                   std::to_string(area.top) + ", " + std::to_string(area.right) + ", " +
                   std::to_string(area.bottom) + "); palette size " + std::to_string(b.right - b.left) +
                   " x " + std::to_string(b.bottom - b.top));
  for (const host::ItemInfo &item : info->items)
    if (item.kind == host::ItemKind::OptionMenuButton) {
      std::string entries;
      for (const host::EntryInfo &entry : item.entries)
        entries += (entries.empty() ? "\"" : ", \"") + entry.text + "\"";
      transcript_.note("option menu: " + entries);
    }
  if (palette_.empty()) {
    try {
      palette_ = paletteSvg(*info, *hosted_->plugin().module());
    } catch (const std::exception &e) {
      transcript_.note(std::string("the palette cannot be drawn: ") + e.what());
    }
  }
}

} // namespace pello::cli
