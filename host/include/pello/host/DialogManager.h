// The stand-in host's dialog manager: floating and modal dialogs built from a
// plug-in's dialog resources, their items, option menus, notifications and
// tracking, dock groups, alerts and string lists. Tests and sessions act as
// the user through click, chooseMenuEntry, setVisible, move and dock.
//
// Geometry: dialog units of a template become pixels as the classic 8-point
// system font does, x * 6 / 4 and y * 13 / 8, rounded to the nearest pixel.
// A floating dialog's bounds are that size at the template's origin; the
// palette layout area defaults to (0, 0, 1600, 1000).
#pragma once

#include "ADMTypes.h"
#include "SPMessage.h"
#include "pello/host/Host.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pello::host {

class PluginModule;
struct AdmState;

// What an item is, from its class in the dialog template.
enum class ItemKind {
  PushButton,        // standard button class, push styles
  CheckBox,          // standard button class, check box styles
  RadioButton,       // standard button class, radio styles
  GroupBox,          // standard button class, group box style
  TextStatic,        // static text
  PictureStatic,     // static icon or bitmap
  Frame,             // static rectangles, frames and etched lines
  TextEdit,          // edit class
  ListBox,           // list box class
  ScrollBar,         // scroll bar class
  PopupList,         // combo box class
  PicturePushButton, // "ADM Picture Push Button Type"
  OptionMenuButton,  // a tabbed palette's option-menu button (kADMMenuItemID)
  Custom             // any other named class
};
const char *itemKindName(ItemKind kind);

struct EntryInfo {
  int index = 0;
  int id = 0;
  std::string text;
};

struct ItemInfo {
  ADMItemRef ref = nullptr;
  int id = 0;            // 16-bit ids as unsigned (65535 for -1); kADMMenuItemID for the menu button
  std::string className; // "Button", "Static"... or the template's class name
  ItemKind kind = ItemKind::Custom;
  ai_uint32 windowStyle = 0; // the template's style bits
  ai_int32 itemStyle = 0;    // as set by SetItemStyle
  std::string text;
  int pictureId = 0; // SetPictureID, or a static's bitmap from the template
  ASRect bounds{};   // pixels, relative to the dialog
  bool visible = true;
  bool enabled = true;
  bool hasNotifyProc = false;
  bool hasTrackProc = false;
  ADMUserData userData = nullptr;
  std::vector<EntryInfo> entries; // the item's list, if any
  int activeEntry = -1;           // index of the list's active entry, -1 for none
};

struct DialogInfo {
  ADMDialogRef ref = nullptr;
  SPPluginRef plugin = nullptr;
  std::string name;
  int resourceId = 0;
  ADMDialogStyle style = 0;
  std::string title;
  bool modal = false;
  bool visible = false;
  ASRect bounds{};
  std::string group; // "" while not docked
  ai_int32 positionCode = 0;
  bool hasDestroyProc = false;
  ADMUserData userData = nullptr;
  std::vector<ItemInfo> items; // in template order; the option-menu button last
};

// One run of a modal dialog, as the user saw it once its init proc had run.
struct ModalRecord {
  std::string name;
  int resourceId = 0;
  std::string title;
  std::vector<ItemInfo> items;
  int result = -1;          // what Modal returned: the closing item's id, -1 if never shown
  bool forcedClose = false; // nothing closed it: the host closed it with item 1
};

// A notification as the dialog manager delivers it to an item: a user's
// click or menu choice ends in "ADM User Changed Notifier" to the item.
struct NotificationRecord {
  int dialogResourceId = 0; // the item's dialog's template
  int itemId = 0;
  std::string type; // "ADM User Changed Notifier"
};

class DialogManager : public Component {
public:
  explicit DialogManager(Host &host);
  ~DialogManager() override;

  // ---- where dialogs, menus, bitmaps and strings come from ----
  // Finds a plug-in's module from its reference. By default the loaded
  // Plugin's module; tests may install modules of their own.
  using ModuleLookup = std::function<const PluginModule *(SPPluginRef)>;
  void setModuleLookup(ModuleLookup lookup);
  const PluginModule *moduleFor(SPPluginRef plugin) const;

  // ---- dialogs ----
  std::vector<ADMDialogRef> dialogs() const;         // every live dialog, oldest first
  std::vector<ADMDialogRef> floatingDialogs() const; // the live non-modal ones
  ADMDialogRef find(std::string_view name) const;    // the newest live dialog of that name, or null
  ADMDialogRef palette() const;                      // the newest live floating dialog, or null
  bool isLive(ADMDialogRef dialog) const;
  // Closes every dialog of `plugin` still open, without calling into the
  // plug-in (no destroy proc): what a host does with the windows of a
  // plug-in it has shut down, whose code it must not enter again. The
  // number closed.
  std::size_t closeDialogsOf(SPPluginRef plugin);
  std::optional<DialogInfo> info(ADMDialogRef dialog) const;
  std::optional<ItemInfo> item(ADMDialogRef dialog, int itemId) const;

  // ---- the user ----
  // Clicks item `itemId` with the virtual keys `keys` held: the keyboard
  // table is set as the platform would, the item gets mouse-down and
  // mouse-up tracker events (through its track proc if it has one), then,
  // when tracking lets it through, "ADM User Changed Notifier" (through its
  // notify proc, else the item's default handling); the keys are released
  // afterwards. False, with nothing delivered, when the dialog is gone,
  // hidden or a closed modal dialog, or the item is missing, hidden or
  // disabled.
  bool click(ADMDialogRef dialog, int itemId, std::span<const int> keys);
  bool click(ADMDialogRef dialog, int itemId, std::initializer_list<int> keys = {}) {
    return click(dialog, itemId, std::span(keys.begin(), keys.size()));
  }
  // Opens the option menu of a tabbed palette and chooses entry `index`
  // (0-based): a mouse-down tracker event whose default tracking opens the
  // menu and makes the entry active, then "ADM User Changed Notifier" to the
  // button. False when there is no such button or entry.
  bool chooseMenuEntry(ADMDialogRef dialog, int index, std::span<const int> keys);
  bool chooseMenuEntry(ADMDialogRef dialog, int index, std::initializer_list<int> keys = {}) {
    return chooseMenuEntry(dialog, index, std::span(keys.begin(), keys.size()));
  }
  // Delivers notification `type` (e.g. "ADM User Changed Notifier") straight
  // to item `itemId`, without tracking or keys: through the item's notify
  // proc, else its default handling. False, with nothing delivered, when the
  // dialog or the item is missing.
  bool notify(ADMDialogRef dialog, int itemId, const char *type);
  // The host's own controls: hide or show, move, resize, dock.
  bool setVisible(ADMDialogRef dialog, bool visible);
  bool move(ADMDialogRef dialog, int dx, int dy);
  bool setBounds(ADMDialogRef dialog, const ASRect &bounds);
  bool dock(ADMDialogRef dialog, const std::string &group, ai_int32 positionCode);

  // ---- modal dialogs ----
  // What the user does in a modal dialog once it is up. Scripts are used one
  // per Modal call in the order queued; without one the user presses item 1
  // (OK). When the script leaves the dialog open, the host closes it with
  // item 1 so that Modal always returns.
  using ModalScript = std::function<void(DialogManager &, ADMDialogRef)>;
  void queueModalScript(ModalScript script);
  void clearModalScripts();
  static ModalScript pressItem(int itemId);
  // The user at the screen: what happens in a modal dialog no queued script
  // answers (none: OK is pressed). It may take its time; Modal returns after.
  void setModalUser(ModalScript user);
  const std::vector<ModalRecord> &modalHistory() const;
  void clearModalHistory();
  void setModalListener(std::function<void(const ModalRecord &)> listener);
  // Told of every notification before the item gets it.
  void setNotificationListener(std::function<void(const NotificationRecord &)> listener);

  // ---- alerts and the layout area ----
  const std::vector<std::string> &alerts() const;
  void clearAlerts();
  void setAlertListener(std::function<void(const std::string &)> listener);
  // The user reading an alert: called after the listener, inside the alert
  // call, which returns when it does (none: the alert is dismissed at once).
  void setAlertUser(std::function<void(const std::string &)> user);
  int beeps() const;
  ASRect paletteLayoutBounds() const;
  void setPaletteLayoutBounds(const ASRect &bounds);

  // ---- what is live ----
  // The dialog manager's live objects by kind: what the plug-in holds, and
  // what a leak would make grow.
  struct LiveObjects {
    std::size_t dialogs = 0, items = 0, lists = 0, entries = 0, notifiers = 0, trackers = 0, icons = 0;
  };
  LiveObjects liveObjects() const;

  // Dialog units to pixels.
  static int dialogUnitsToPixelsX(int x);
  static int dialogUnitsToPixelsY(int y);

  // For the suite functions.
  AdmState &state() { return *state_; }
  Host &host() { return host_; }

private:
  Host &host_;
  std::unique_ptr<AdmState> state_;
};

} // namespace pello::host
