// "ADM Item Suite" 4: the items of a dialog.
#include "ADMItem.h"
#include "adm/AdmState.h"
#include "pello/host/HostCall.h"
#include "suites/AdmSuiteTables.h"

namespace pello::host {

namespace {

// Looks the item up; a refused reference is recorded as a bad parameter.
AdmItem *liveItem(HostCall &call, ADMItemRef item) {
  AdmItem *found = admState().item(item);
  if (!found) call.done(kSPBadParameterError);
  return found;
}

void ASAPI SetNotifyProc(ADMItemRef item, ADMItemNotifyProc proc) {
  PELLO_HOST_CALL(call, "ADMItem::SetNotifyProc");
  call.arg("item", static_cast<const void *>(item)).arg("installed", proc != nullptr);
  if (call.faulted()) return;
  if (AdmItem *found = liveItem(call, item)) {
    found->notifyProc = proc;
    call.done(kASNoError);
  }
}

void ASAPI SetTrackProc(ADMItemRef item, ADMItemTrackProc proc) {
  PELLO_HOST_CALL(call, "ADMItem::SetTrackProc");
  call.arg("item", static_cast<const void *>(item)).arg("installed", proc != nullptr);
  if (call.faulted()) return;
  if (AdmItem *found = liveItem(call, item)) {
    found->trackProc = proc;
    call.done(kASNoError);
  }
}

void ASAPI DefaultNotify(ADMItemRef item, ADMNotifierRef notifier) {
  PELLO_HOST_CALL(call, "ADMItem::DefaultNotify");
  call.arg("item", static_cast<const void *>(item));
  if (call.faulted()) return;
  AdmState &adm = admState();
  AdmItem *found = adm.item(item);
  AdmNotifier *note = adm.notifier(notifier);
  if (!found || !note) {
    call.done(kSPBadParameterError);
    return;
  }
  call.arg("type", note->type.c_str());
  adm.defaultNotify(*found, *note);
  call.done(kASNoError);
}

ASBoolean ASAPI DefaultTrack(ADMItemRef item, ADMTrackerRef tracker) {
  PELLO_HOST_CALL(call, "ADMItem::DefaultTrack");
  call.arg("item", static_cast<const void *>(item));
  if (call.faulted()) return false;
  AdmState &adm = admState();
  AdmItem *found = adm.item(item);
  AdmTracker *event = adm.tracker(tracker);
  if (!found || !event) {
    call.done(kSPBadParameterError);
    return false;
  }
  const bool follows = adm.defaultTrack(*found, *event);
  call.arg("action", event->action).arg("follows", follows);
  call.done(kASNoError);
  return follows;
}

ADMListRef ASAPI GetList(ADMItemRef item) {
  PELLO_HOST_CALL(call, "ADMItem::GetList");
  call.arg("item", static_cast<const void *>(item));
  if (call.faulted()) return nullptr;
  AdmItem *found = liveItem(call, item);
  if (!found) return nullptr;
  call.done(kASNoError);
  return found->list ? refOf<ADMListRef>(found->list->token) : nullptr;
}

ADMDialogRef ASAPI GetDialog(ADMItemRef item) {
  PELLO_HOST_CALL(call, "ADMItem::GetDialog");
  call.arg("item", static_cast<const void *>(item));
  if (call.faulted()) return nullptr;
  AdmItem *found = liveItem(call, item);
  if (!found) return nullptr;
  call.done(kASNoError);
  return refOf<ADMDialogRef>(found->dialog);
}

ai_int32 ASAPI GetID(ADMItemRef item) {
  PELLO_HOST_CALL(call, "ADMItem::GetID");
  call.arg("item", static_cast<const void *>(item));
  if (call.faulted()) return 0;
  AdmItem *found = liveItem(call, item);
  if (!found) return 0;
  call.arg("id", found->id);
  call.done(kASNoError);
  return found->id;
}

void ASAPI SetItemStyle(ADMItemRef item, ai_int32 style) {
  PELLO_HOST_CALL(call, "ADMItem::SetItemStyle");
  call.arg("item", static_cast<const void *>(item)).arg("style", style);
  if (call.faulted()) return;
  if (AdmItem *found = liveItem(call, item)) {
    call.arg("id", found->id);
    found->itemStyle = style;
    call.done(kASNoError);
  }
}

void ASAPI SetPictureID(ADMItemRef item, ai_int32 pictureResID) {
  PELLO_HOST_CALL(call, "ADMItem::SetPictureID");
  call.arg("item", static_cast<const void *>(item)).arg("pictureResID", pictureResID);
  if (call.faulted()) return;
  if (AdmItem *found = liveItem(call, item)) {
    call.arg("id", found->id);
    found->pictureId = pictureResID;
    call.done(kASNoError);
  }
}

void ASAPI SetText(ADMItemRef item, const char *text) {
  PELLO_HOST_CALL(call, "ADMItem::SetText");
  call.arg("item", static_cast<const void *>(item)).arg("text", text);
  if (call.faulted()) return;
  if (AdmItem *found = liveItem(call, item)) {
    call.arg("id", found->id);
    found->text = text ? text : "";
    call.done(kASNoError);
  }
}

void ASAPI GetText(ADMItemRef item, char *text, ai_int32 maxLen) {
  PELLO_HOST_CALL(call, "ADMItem::GetText");
  call.arg("item", static_cast<const void *>(item)).arg("maxLen", maxLen);
  if (call.faulted()) return;
  if (AdmItem *found = liveItem(call, item)) {
    if (!text || maxLen <= 0) {
      call.done(kSPBadParameterError);
      return;
    }
    copyCut(found->text, text, static_cast<std::size_t>(maxLen));
    call.done(kASNoError);
  }
}

void ASAPI SetUserData(ADMItemRef item, ADMUserData data) {
  PELLO_HOST_CALL(call, "ADMItem::SetUserData");
  call.arg("item", static_cast<const void *>(item));
  if (call.faulted()) return;
  if (AdmItem *found = liveItem(call, item)) {
    found->userData = data;
    call.done(kASNoError);
  }
}

ADMUserData ASAPI GetUserData(ADMItemRef item) {
  PELLO_HOST_CALL(call, "ADMItem::GetUserData");
  call.arg("item", static_cast<const void *>(item));
  if (call.faulted()) return nullptr;
  AdmItem *found = liveItem(call, item);
  if (!found) return nullptr;
  call.done(kASNoError);
  return found->userData;
}

ADMItemSuite4 gSuite = {SetNotifyProc, SetTrackProc, DefaultNotify, DefaultTrack, GetList,
                        GetDialog,     GetID,        SetItemStyle,  SetPictureID, SetText,
                        GetText,       SetUserData,  GetUserData};

} // namespace

void registerAdmItemSuite(SuiteRegistry &registry) {
  registry.add(kADMItemSuite, kADMItemSuiteVersion, &gSuite);
}

} // namespace pello::host
