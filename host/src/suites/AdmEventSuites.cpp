// "ADM Notifier Suite" 1 and "ADM Tracker Suite" 1: what a notification or
// a tracker event is. Both exist only while the procedure they are handed
// to runs.
#include "ADMNotifier.h"
#include "ADMTracker.h"
#include "adm/AdmState.h"
#include "pello/host/HostCall.h"
#include "suites/AdmSuiteTables.h"

#include <cstring>

namespace pello::host {

namespace {

void ASAPI GetNotifierType(ADMNotifierRef notifier, char *notifierType, ai_uint32 maxLen) {
  PELLO_HOST_CALL(call, "ADMNotifier::GetNotifierType");
  call.arg("notifier", static_cast<const void *>(notifier)).arg("maxLen", maxLen);
  if (call.faulted()) return;
  AdmNotifier *found = admState().notifier(notifier);
  if (!found || !notifierType || maxLen == 0) {
    call.done(kSPBadParameterError);
    return;
  }
  copyCut(found->type, notifierType, maxLen);
  call.arg("type", found->type.c_str());
  call.done(kASNoError);
}

ASBoolean ASAPI IsNotifierType(ADMNotifierRef notifier, const char *notifierType) {
  PELLO_HOST_CALL(call, "ADMNotifier::IsNotifierType");
  call.arg("notifier", static_cast<const void *>(notifier)).arg("notifierType", notifierType);
  if (call.faulted()) return false;
  AdmNotifier *found = admState().notifier(notifier);
  if (!found || !notifierType) {
    call.done(kSPBadParameterError);
    return false;
  }
  const bool same = found->type == notifierType;
  call.arg("is", same);
  call.done(kASNoError);
  return same;
}

ADMItemRef ASAPI GetItem(ADMNotifierRef notifier) {
  PELLO_HOST_CALL(call, "ADMNotifier::GetItem");
  call.arg("notifier", static_cast<const void *>(notifier));
  if (call.faulted()) return nullptr;
  AdmState &adm = admState();
  AdmNotifier *found = adm.notifier(notifier);
  if (!found || !adm.items.count(found->item)) {
    call.done(kSPBadParameterError);
    return nullptr;
  }
  call.done(kASNoError);
  return refOf<ADMItemRef>(found->item);
}

ai_int32 ASAPI GetAction(ADMTrackerRef tracker) {
  PELLO_HOST_CALL(call, "ADMTracker::GetAction");
  call.arg("tracker", static_cast<const void *>(tracker));
  if (call.faulted()) return 0;
  AdmTracker *found = admState().tracker(tracker);
  if (!found) {
    call.done(kSPBadParameterError);
    return 0;
  }
  call.arg("action", found->action);
  call.done(kASNoError);
  return found->action;
}

void ASAPI GetPoint(ADMTrackerRef tracker, ASPoint *point) {
  PELLO_HOST_CALL(call, "ADMTracker::GetPoint");
  call.arg("tracker", static_cast<const void *>(tracker));
  if (call.faulted()) return;
  AdmTracker *found = admState().tracker(tracker);
  if (!found || !point) {
    call.done(kSPBadParameterError);
    return;
  }
  *point = found->point;
  call.done(kASNoError);
}

void ASAPI Abort(ADMTrackerRef tracker) {
  PELLO_HOST_CALL(call, "ADMTracker::Abort");
  call.arg("tracker", static_cast<const void *>(tracker));
  if (call.faulted()) return;
  AdmTracker *found = admState().tracker(tracker);
  if (!found) {
    call.done(kSPBadParameterError);
    return;
  }
  found->aborted = true;
  call.done(kASNoError);
}

ADMNotifierSuite1 gNotifier = {GetNotifierType, IsNotifierType, GetItem};
ADMTrackerSuite1 gTracker = {GetAction, GetPoint, Abort};

} // namespace

void registerAdmEventSuites(SuiteRegistry &registry) {
  registry.add(kADMNotifierSuite, kADMNotifierSuiteVersion, &gNotifier);
  registry.add(kADMTrackerSuite, kADMTrackerSuiteVersion, &gTracker);
}

} // namespace pello::host
