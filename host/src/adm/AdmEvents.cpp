// Tracker events and notifications, the items' default handling of them,
// and the user's clicks and menu choices that start them.
#include "adm/AdmState.h"

#include "ADMTracker.h"
#include "pello/host/Keyboard.h"

#include <cstring>

namespace pello::host {

namespace {

bool pressable(ItemKind kind) {
  return kind == ItemKind::PushButton || kind == ItemKind::PicturePushButton || kind == ItemKind::CheckBox ||
         kind == ItemKind::RadioButton;
}

// The buttons that end a modal dialog by default: OK (1), Cancel (2) and the
// dialog's default push button.
bool closesModal(const AdmItem &item) {
  return item.kind == ItemKind::PushButton && (item.id == 1 || item.id == 2 || item.defaultButton);
}

} // namespace

bool AdmState::track(Token itemToken, ai_int32 action) {
  auto found = items.find(itemToken);
  if (found == items.end()) return false;
  AdmItem &target = *found->second;

  auto event = std::make_unique<AdmTracker>();
  event->token = newToken(kTrackerTag);
  event->item = itemToken;
  event->action = action;
  event->point =
      ASPoint{(target.bounds.right - target.bounds.left) / 2, (target.bounds.bottom - target.bounds.top) / 2};
  trackers[event->token] = event.get();

  bool follows = false;
  if (target.trackProc) {
    follows = target.trackProc(refOf<ADMItemRef>(itemToken), refOf<ADMTrackerRef>(event->token)) != 0;
  } else {
    follows = defaultTrack(target, *event);
  }
  // The item may be gone now: only the tracker, which this frame owns, is
  // looked at.
  if (event->aborted) follows = false;
  trackers.erase(event->token);
  return follows;
}

bool AdmState::defaultTrack(AdmItem &target, AdmTracker &event) {
  if (event.aborted) return false;
  if (target.kind == ItemKind::OptionMenuButton) {
    // Mouse down opens the menu; the user's choice, if any, becomes the
    // active entry and the menu takes the mouse-up itself.
    if (event.action != kADMMouseDownAction) return false;
    if (menuChoiceItem != target.token || !target.list) return false;
    const int choice = menuChoice;
    menuChoiceItem = 0;
    menuChoice = -1;
    if (choice < 0 || static_cast<std::size_t>(choice) >= target.list->entries.size()) return false;
    target.list->active = target.list->entries[static_cast<std::size_t>(choice)]->token;
    return true;
  }
  // A button notifies when the mouse is released over it.
  return pressable(target.kind) && event.action == kADMMouseUpAction;
}

void AdmState::notify(Token itemToken, const char *type) {
  auto found = items.find(itemToken);
  if (found == items.end()) return;
  AdmItem &target = *found->second;

  auto note = std::make_unique<AdmNotifier>();
  note->token = newToken(kNotifierTag);
  note->item = itemToken;
  note->type = type;
  notifiers[note->token] = note.get();
  if (notificationListener) {
    auto dlg = dialogs.find(target.dialog);
    notificationListener(
        NotificationRecord{dlg == dialogs.end() ? 0 : dlg->second->resourceId, target.id, note->type});
  }
  if (target.notifyProc) {
    target.notifyProc(refOf<ADMItemRef>(itemToken), refOf<ADMNotifierRef>(note->token));
  } else {
    defaultNotify(target, *note);
  }
  notifiers.erase(note->token);
}

void AdmState::defaultNotify(AdmItem &target, AdmNotifier &note) {
  if (note.type != kADMUserChangedNotifier) return;
  auto found = dialogs.find(target.dialog);
  if (found == dialogs.end()) return;
  AdmDialog &dlg = *found->second;
  if (dlg.modal && dlg.run && !dlg.run->closed && closesModal(target)) {
    dlg.run->closed = true;
    dlg.run->closedBy = target.id;
  }
}

bool AdmState::userClick(ADMDialogRef ref, int itemId, std::span<const int> keys, int choice) {
  AdmDialog *dlg = dialog(ref);
  if (!dlg || dlg->destroying || !dlg->visible || (dlg->run && dlg->run->closed)) return false;
  AdmItem *target = itemById(*dlg, itemId);
  if (!target || !target->visible || !target->enabled) return false;
  const bool menu = target->kind == ItemKind::OptionMenuButton;
  if (choice >= 0) {
    if (!menu || !target->list || static_cast<std::size_t>(choice) >= target->list->entries.size())
      return false;
    menuChoiceItem = target->token;
    menuChoice = choice;
  }

  Keyboard &keyboard = host.get<Keyboard>();
  keyboard.setKeys(keys);
  const Token itemToken = target->token;
  bool follows = false;
  follows = track(itemToken, kADMMouseDownAction);
  if (!menu && items.count(itemToken)) follows = track(itemToken, kADMMouseUpAction);
  if (follows && items.count(itemToken)) notify(itemToken, kADMUserChangedNotifier);
  menuChoiceItem = 0;
  menuChoice = -1;
  keyboard.clear();
  return true;
}

} // namespace pello::host
