// Dialogs built from dialog templates, their items and option menus, and
// their destruction.
#include "adm/AdmState.h"

#include "pello/host/Plugin.h"
#include "pello/host/PluginModule.h"
#include "pello/host/Utf8.h"

#include <cctype>

namespace pello::host {

namespace {

constexpr ai_uint32 kWsVisible = 0x10000000;
constexpr ai_uint32 kWsDisabled = 0x08000000;
constexpr ai_uint32 kBsDefPushButton = 1;

// Size of the option-menu button a tabbed palette gets, in pixels.
constexpr int kMenuButtonWidth = 16;
constexpr int kMenuButtonHeight = 12;

const char *ordinalClassName(std::uint16_t ordinal) {
  switch (ordinal) {
  case 0x80:
    return "Button";
  case 0x81:
    return "Edit";
  case 0x82:
    return "Static";
  case 0x83:
    return "ListBox";
  case 0x84:
    return "ScrollBar";
  case 0x85:
    return "ComboBox";
  default:
    return "";
  }
}

ItemKind buttonKind(ai_uint32 style) {
  switch (style & 0xF) {
  case 2:
  case 3:
  case 5:
  case 6:
    return ItemKind::CheckBox;
  case 4:
  case 9:
    return ItemKind::RadioButton;
  case 7:
    return ItemKind::GroupBox;
  default:
    return ItemKind::PushButton;
  }
}

ItemKind staticKind(ai_uint32 style) {
  switch (style & 0x1F) {
  case 0x3:
  case 0xE:
  case 0xF:
    return ItemKind::PictureStatic;
  case 0x4:
  case 0x5:
  case 0x6:
  case 0x7:
  case 0x8:
  case 0x9:
  case 0x10:
  case 0x11:
  case 0x12:
    return ItemKind::Frame;
  default:
    return ItemKind::TextStatic;
  }
}

ItemKind namedKind(const std::string &name, ai_uint32 style) {
  static const std::map<std::string, ItemKind> kNames = {
      {"ADM Picture Push Button Type", ItemKind::PicturePushButton},
      {"ADM Push Button Type", ItemKind::PushButton},
      {"ADM Text Push Button Type", ItemKind::PushButton},
      {"ADM Picture Static Type", ItemKind::PictureStatic},
      {"ADM Text Static Type", ItemKind::TextStatic},
      {"ADM Frame Type", ItemKind::Frame},
      {"ADM Text Edit Type", ItemKind::TextEdit},
      {"ADM Check Box Type", ItemKind::CheckBox},
      {"ADM Radio Button Type", ItemKind::RadioButton},
      {"ADM List Box Type", ItemKind::ListBox},
      {"ADM Scrollbar Type", ItemKind::ScrollBar},
      {"ADM Popup List Type", ItemKind::PopupList},
  };
  auto it = kNames.find(name);
  if (it != kNames.end()) return it->second;
  // Window class names are case-insensitive.
  std::string lower;
  for (char c : name)
    lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  if (lower == "button") return buttonKind(style);
  if (lower == "static") return staticKind(style);
  if (lower == "edit") return ItemKind::TextEdit;
  if (lower == "listbox") return ItemKind::ListBox;
  if (lower == "scrollbar") return ItemKind::ScrollBar;
  if (lower == "combobox") return ItemKind::PopupList;
  return ItemKind::Custom;
}

// A static picture names its bitmap in its text: an ordinal, or digits.
int pictureFromTitle(const NameOrOrdinal &title) {
  if (title.isOrdinal) return title.ordinal;
  std::string digits = title.text;
  if (!digits.empty() && digits[0] == '#') digits.erase(0, 1);
  if (digits.empty() || digits.size() > 5) return 0;
  for (char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
  return std::stoi(digits);
}

ASRect pixelsOf(int x, int y, int cx, int cy) {
  const int left = DialogManager::dialogUnitsToPixelsX(x);
  const int top = DialogManager::dialogUnitsToPixelsY(y);
  return ASRect{left, top, left + DialogManager::dialogUnitsToPixelsX(cx),
                top + DialogManager::dialogUnitsToPixelsY(cy)};
}

} // namespace

template <class T> static T *findIn(const std::map<Token, T *> &map, Token token) {
  auto it = map.find(token);
  return it == map.end() ? nullptr : it->second;
}

AdmDialog *AdmState::dialog(ADMDialogRef ref) const {
  auto it = dialogs.find(tokenOf(ref));
  return it == dialogs.end() ? nullptr : it->second.get();
}
AdmItem *AdmState::item(ADMItemRef ref) const {
  return findIn(items, tokenOf(ref));
}
AdmList *AdmState::list(ADMListRef ref) const {
  return findIn(lists, tokenOf(ref));
}
AdmEntry *AdmState::entry(ADMEntryRef ref) const {
  return findIn(entries, tokenOf(ref));
}
AdmNotifier *AdmState::notifier(ADMNotifierRef ref) const {
  return findIn(notifiers, tokenOf(ref));
}
AdmTracker *AdmState::tracker(ADMTrackerRef ref) const {
  return findIn(trackers, tokenOf(ref));
}
AdmIcon *AdmState::icon(ADMIconRef ref) const {
  auto it = icons.find(tokenOf(ref));
  return it == icons.end() ? nullptr : it->second.get();
}

AdmItem *AdmState::itemById(const AdmDialog &dialog, int itemId) const {
  for (const auto &item : dialog.items)
    if (item->id == itemId) return item.get();
  return nullptr;
}

const PluginModule *AdmState::moduleFor(SPPluginRef plugin) const {
  if (moduleLookup) return moduleLookup(plugin);
  return host.get<Plugin>().moduleFor(plugin);
}

AdmDialog *AdmState::build(SPPluginRef plugin, const std::string &name, int resourceId, ADMDialogStyle style,
                           bool modal, ADMUserData data, std::string &error) {
  const PluginModule *module = moduleFor(plugin);
  if (!module) {
    error = "no loaded plug-in for the reference";
    return nullptr;
  }
  const std::vector<std::uint8_t> *bytes = module->resource(ResourceType::id(kRtDialog), resourceId);
  if (!bytes) {
    error = "the plug-in has no dialog resource " + std::to_string(resourceId);
    return nullptr;
  }
  DialogTemplate tmpl;
  if (!parseDialogTemplate(*bytes, tmpl, error)) return nullptr;

  auto dialog = std::make_unique<AdmDialog>();
  dialog->token = newToken(kDialogTag);
  dialog->plugin = plugin;
  dialog->name = name;
  dialog->resourceId = resourceId;
  dialog->style = style;
  dialog->title = tmpl.title;
  dialog->modal = modal;
  // Palettes appear when created; their group and the host's workspace may
  // hide them later.
  dialog->visible = true;
  dialog->bounds = pixelsOf(tmpl.x, tmpl.y, tmpl.cx, tmpl.cy);
  dialog->userData = data;

  for (const DialogItemTemplate &t : tmpl.items) {
    auto item = std::make_unique<AdmItem>();
    item->token = newToken(kItemTag);
    item->dialog = dialog->token;
    item->id = tmpl.extended ? static_cast<int>(static_cast<ai_int32>(t.id)) : static_cast<int>(t.id);
    item->className = t.windowClass.isOrdinal ? ordinalClassName(t.windowClass.ordinal) : t.windowClass.text;
    item->kind = namedKind(item->className, t.style);
    item->windowStyle = t.style;
    item->text = t.title.isOrdinal ? std::string() : t.title.text;
    if (item->kind == ItemKind::PictureStatic) item->pictureId = pictureFromTitle(t.title);
    item->bounds = pixelsOf(t.x, t.y, t.cx, t.cy);
    item->visible = (t.style & kWsVisible) != 0;
    item->enabled = (t.style & kWsDisabled) == 0;
    item->defaultButton = item->kind == ItemKind::PushButton && (t.style & 0xF) == kBsDefPushButton;
    items[item->token] = item.get();
    dialog->items.push_back(std::move(item));
  }

  if (style == kADMTabbedFloatingDialogStyle || style == kADMTabbedResizingFloatingDialogStyle) {
    auto button = std::make_unique<AdmItem>();
    button->token = newToken(kItemTag);
    button->dialog = dialog->token;
    button->id = kADMMenuItemID;
    button->className = "ADM Option Menu Button";
    button->kind = ItemKind::OptionMenuButton;
    const int width = dialog->bounds.right - dialog->bounds.left;
    button->bounds = ASRect{width - kMenuButtonWidth, 0, width, kMenuButtonHeight};
    button->list = std::make_unique<AdmList>();
    button->list->token = newToken(kListTag);
    button->list->item = button->token;
    lists[button->list->token] = button->list.get();
    items[button->token] = button.get();
    dialog->items.push_back(std::move(button));
  }

  AdmDialog *made = dialog.get();
  dialogs[made->token] = std::move(dialog);
  return made;
}

void AdmState::clearEntries(AdmList &list) {
  for (const auto &entry : list.entries)
    entries.erase(entry->token);
  list.entries.clear();
  list.active = 0;
}

ASErr AdmState::fillFromMenu(AdmList &list, int menuResId) {
  AdmItem *owner = findIn(items, list.item);
  AdmDialog *dlg = owner ? dialog(refOf<ADMDialogRef>(owner->dialog)) : nullptr;
  const PluginModule *module = dlg ? moduleFor(dlg->plugin) : nullptr;
  const std::vector<std::uint8_t> *bytes =
      module ? module->resource(ResourceType::id(kRtMenu), menuResId) : nullptr;
  if (!bytes) return kSPBadParameterError;
  MenuTemplate menu;
  std::string error;
  if (!parseMenuTemplate(*bytes, menu, error)) return kSPBadParameterError;

  clearEntries(list);
  for (const MenuItemTemplate &command : menuCommands(menu)) {
    auto entry = std::make_unique<AdmEntry>();
    entry->token = newToken(kEntryTag);
    entry->list = list.token;
    entry->id = command.id;
    entry->text = command.text;
    entries[entry->token] = entry.get();
    list.entries.push_back(std::move(entry));
  }
  return kASNoError;
}

void AdmState::destroy(Token dialogToken) {
  auto it = dialogs.find(dialogToken);
  if (it == dialogs.end() || it->second->destroying) return;
  AdmDialog &dlg = *it->second;
  dlg.destroying = true;
  if (ADMDialogDestroyProc proc = dlg.destroyProc) {
    dlg.destroyProc = nullptr;
    proc(refOf<ADMDialogRef>(dialogToken));
  }
  // The destroying flag kept the dialog alive through its destroy proc.
  it = dialogs.find(dialogToken);
  for (const auto &item : it->second->items) {
    if (item->list) {
      clearEntries(*item->list);
      lists.erase(item->list->token);
    }
    if (menuChoiceItem == item->token) menuChoiceItem = 0;
    items.erase(item->token);
  }
  dialogs.erase(it);
}

// What a driver is told of a dialog or item is what the user sees: texts a
// module set are shown as valid UTF-8, as a host's window would show them.
ItemInfo AdmState::describe(const AdmItem &item) const {
  ItemInfo info;
  info.ref = refOf<ADMItemRef>(item.token);
  info.id = item.id;
  info.className = item.className;
  info.kind = item.kind;
  info.windowStyle = item.windowStyle;
  info.itemStyle = item.itemStyle;
  info.text = validUtf8(item.text);
  info.pictureId = item.pictureId;
  info.bounds = item.bounds;
  info.visible = item.visible;
  info.enabled = item.enabled;
  info.hasNotifyProc = item.notifyProc != nullptr;
  info.hasTrackProc = item.trackProc != nullptr;
  info.userData = item.userData;
  if (item.list) {
    for (std::size_t i = 0; i < item.list->entries.size(); ++i) {
      const AdmEntry &entry = *item.list->entries[i];
      info.entries.push_back(EntryInfo{static_cast<int>(i), entry.id, validUtf8(entry.text)});
      if (entry.token == item.list->active) info.activeEntry = static_cast<int>(i);
    }
  }
  return info;
}

DialogInfo AdmState::describe(const AdmDialog &dialog) const {
  DialogInfo info;
  info.ref = refOf<ADMDialogRef>(dialog.token);
  info.plugin = dialog.plugin;
  info.name = validUtf8(dialog.name);
  info.resourceId = dialog.resourceId;
  info.style = dialog.style;
  info.title = validUtf8(dialog.title);
  info.modal = dialog.modal;
  info.visible = dialog.visible;
  info.bounds = dialog.bounds;
  info.group = validUtf8(dialog.group);
  info.positionCode = dialog.positionCode;
  info.hasDestroyProc = dialog.destroyProc != nullptr;
  info.userData = dialog.userData;
  for (const auto &item : dialog.items)
    info.items.push_back(describe(*item));
  return info;
}

void copyCut(const std::string &text, char *out, std::size_t maxLen) {
  if (!out || maxLen == 0) return;
  std::size_t n = text.size() < maxLen - 1 ? text.size() : maxLen - 1;
  // Never split a UTF-8 sequence.
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
      --n;
  text.copy(out, n);
  out[n] = '\0';
}

} // namespace pello::host
