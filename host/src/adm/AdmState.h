// The dialog manager's objects and the work behind its suites and user
// actions. References handed to the plug-in are tokens, never addresses:
// each object gets a serial number that is never reused, and every suite
// function looks its reference up before use, so a destroyed or made-up
// reference is refused and never dereferenced.
#pragma once

#include "ADMTypes.h"
#include "pello/host/DialogManager.h"
#include "pello/host/ResourceTemplates.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pello::host {

using Token = std::uintptr_t;

struct AdmDialog;
struct AdmItem;
struct AdmList;

struct AdmEntry {
  Token token = 0;
  Token list = 0;
  int id = 0;
  std::string text;
};

struct AdmList {
  Token token = 0;
  Token item = 0;
  std::vector<std::unique_ptr<AdmEntry>> entries;
  Token active = 0; // the active entry, 0 for none
};

struct AdmItem {
  Token token = 0;
  Token dialog = 0;
  int id = 0;
  std::string className;
  ItemKind kind = ItemKind::Custom;
  ai_uint32 windowStyle = 0;
  ai_int32 itemStyle = 0;
  std::string text;
  int pictureId = 0;
  ASRect bounds{};
  bool visible = true;
  bool enabled = true;
  bool defaultButton = false;
  ADMItemNotifyProc notifyProc = nullptr;
  ADMItemTrackProc trackProc = nullptr;
  ADMUserData userData = nullptr;
  std::unique_ptr<AdmList> list;
};

// How a running modal dialog ended; outlives the dialog.
struct ModalRun {
  bool closed = false;
  int closedBy = -1;
};

struct AdmDialog {
  Token token = 0;
  SPPluginRef plugin = nullptr;
  std::string name;
  int resourceId = 0;
  ADMDialogStyle style = 0;
  std::string title;
  bool modal = false;
  bool visible = false;
  ASRect bounds{};
  std::string group;
  ai_int32 positionCode = 0;
  ADMDialogDestroyProc destroyProc = nullptr;
  ADMUserData userData = nullptr;
  std::vector<std::unique_ptr<AdmItem>> items;
  std::shared_ptr<ModalRun> run; // modal dialogs while Modal runs
  bool destroying = false;
};

struct AdmNotifier {
  Token token = 0;
  Token item = 0;
  std::string type;
};

struct AdmTracker {
  Token token = 0;
  Token item = 0;
  ai_int32 action = 0;
  ASPoint point{};
  bool aborted = false;
};

struct AdmIcon {
  Token token = 0;
  int resourceId = 0;
  ai_int32 width = 0;
  ai_int32 height = 0;
};

struct AdmState {
  explicit AdmState(Host &host) : host(host) {}

  Host &host;
  DialogManager::ModuleLookup moduleLookup;

  // ---- objects, by token ----
  Token nextSerial = 1;
  Token newToken(unsigned kind) { return (nextSerial++ << 4) | kind; }
  std::map<Token, std::unique_ptr<AdmDialog>> dialogs; // tokens rise: oldest first
  std::map<Token, AdmItem *> items;
  std::map<Token, AdmList *> lists;
  std::map<Token, AdmEntry *> entries;
  std::map<Token, AdmNotifier *> notifiers;
  std::map<Token, AdmTracker *> trackers;
  std::map<Token, std::unique_ptr<AdmIcon>> icons;

  AdmDialog *dialog(ADMDialogRef ref) const;
  AdmItem *item(ADMItemRef ref) const;
  AdmList *list(ADMListRef ref) const;
  AdmEntry *entry(ADMEntryRef ref) const;
  AdmNotifier *notifier(ADMNotifierRef ref) const;
  AdmTracker *tracker(ADMTrackerRef ref) const;
  AdmIcon *icon(ADMIconRef ref) const;
  AdmItem *itemById(const AdmDialog &dialog, int itemId) const;

  // ---- building and destroying ----
  const PluginModule *moduleFor(SPPluginRef plugin) const;
  // Builds a dialog from dialog resource `resourceId` of `plugin`; null with
  // `error` when the resource is missing or malformed.
  AdmDialog *build(SPPluginRef plugin, const std::string &name, int resourceId, ADMDialogStyle style,
                   bool modal, ADMUserData data, std::string &error);
  // Calls the destroy proc (once, the dialog still whole), then frees the
  // dialog with its items, lists and entries.
  void destroy(Token dialogToken);
  // Replaces a list's entries with the command items of menu `menuResId` of
  // the dialog's plug-in. 0 or the error code; the list is left as it was on
  // failure.
  ASErr fillFromMenu(AdmList &list, int menuResId);
  void clearEntries(AdmList &list);

  // ---- events ----
  // Delivers one tracker event to the item: its track proc, else the default
  // tracking. Returns whether a notification follows.
  bool track(Token itemToken, ai_int32 action);
  // Delivers a notification to the item: its notify proc, else the default.
  void notify(Token itemToken, const char *type);
  std::function<void(const NotificationRecord &)> notificationListener;
  bool defaultTrack(AdmItem &item, AdmTracker &tracker);
  void defaultNotify(AdmItem &item, AdmNotifier &notifier);
  // The user's click or menu choice (DialogManager::click, chooseMenuEntry).
  bool userClick(ADMDialogRef dialog, int itemId, std::span<const int> keys, int menuChoice);

  // ---- modal dialogs ----
  ai_int32 runModal(SPPluginRef plugin, const std::string &name, int resourceId, ADMDialogStyle style,
                    ADMDialogInitProc initProc, ADMUserData data);
  std::deque<DialogManager::ModalScript> modalScripts;
  DialogManager::ModalScript modalUser;
  std::vector<ModalRecord> modalHistory;
  std::function<void(const ModalRecord &)> modalListener;

  // The menu choice that the next default tracking of `menuChoiceItem` makes.
  Token menuChoiceItem = 0;
  int menuChoice = -1;

  // ---- the basic suite ----
  std::vector<std::string> alerts;
  std::function<void(const std::string &)> alertListener;
  std::function<void(const std::string &)> alertUser;
  int beeps = 0;
  ASRect layoutBounds{0, 0, 1600, 1000};

  // ---- views ----
  DialogInfo describe(const AdmDialog &dialog) const;
  ItemInfo describe(const AdmItem &item) const;
};

template <class Ref> Ref refOf(Token token) {
  return reinterpret_cast<Ref>(token);
}
template <class Ref> Token tokenOf(Ref ref) {
  return reinterpret_cast<Token>(ref);
}

inline constexpr unsigned kDialogTag = 1, kItemTag = 2, kListTag = 3, kEntryTag = 4, kNotifierTag = 5,
                          kTrackerTag = 6, kIconTag = 7;

// Copies `text` into `out` (maxLen bytes), cut on a character boundary and
// zero-terminated; nothing for a null buffer or maxLen 0.
void copyCut(const std::string &text, char *out, std::size_t maxLen);

// The dialog manager of the running host.
AdmState &admState();

} // namespace pello::host
