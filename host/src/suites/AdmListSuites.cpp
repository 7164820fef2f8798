// "ADM List Suite" 1 and "ADM Entry Suite" 2: an item's list of entries, as
// an option-menu button's menu.
#include "ADMEntry.h"
#include "ADMList.h"
#include "adm/AdmState.h"
#include "pello/host/HostCall.h"
#include "suites/AdmSuiteTables.h"

namespace pello::host {

namespace {

void ASAPI SetMenuID(ADMListRef list, ai_int32 menuResID) {
  PELLO_HOST_CALL(call, "ADMList::SetMenuID");
  call.arg("list", static_cast<const void *>(list)).arg("menuResID", menuResID);
  if (call.faulted()) return;
  AdmState &adm = admState();
  AdmList *found = adm.list(list);
  if (!found) {
    call.done(kSPBadParameterError);
    return;
  }
  const ASErr error = adm.fillFromMenu(*found, menuResID);
  call.arg("entries", found->entries.size());
  call.done(error);
}

ADMEntryRef ASAPI GetActiveEntry(ADMListRef list) {
  PELLO_HOST_CALL(call, "ADMList::GetActiveEntry");
  call.arg("list", static_cast<const void *>(list));
  if (call.faulted()) return nullptr;
  AdmList *found = admState().list(list);
  if (!found) {
    call.done(kSPBadParameterError);
    return nullptr;
  }
  call.done(kASNoError);
  return found->active ? refOf<ADMEntryRef>(found->active) : nullptr;
}

ai_int32 ASAPI NumberOfEntries(ADMListRef list) {
  PELLO_HOST_CALL(call, "ADMList::NumberOfEntries");
  call.arg("list", static_cast<const void *>(list));
  if (call.faulted()) return 0;
  AdmList *found = admState().list(list);
  if (!found) {
    call.done(kSPBadParameterError);
    return 0;
  }
  call.done(kASNoError);
  return static_cast<ai_int32>(found->entries.size());
}

ADMEntryRef ASAPI IndexEntry(ADMListRef list, ai_int32 index) {
  PELLO_HOST_CALL(call, "ADMList::IndexEntry");
  call.arg("list", static_cast<const void *>(list)).arg("index", index);
  if (call.faulted()) return nullptr;
  AdmList *found = admState().list(list);
  if (!found) {
    call.done(kSPBadParameterError);
    return nullptr;
  }
  call.done(kASNoError);
  if (index < 0 || static_cast<std::size_t>(index) >= found->entries.size()) return nullptr;
  return refOf<ADMEntryRef>(found->entries[static_cast<std::size_t>(index)]->token);
}

ai_int32 ASAPI GetIndex(ADMEntryRef entry) {
  PELLO_HOST_CALL(call, "ADMEntry::GetIndex");
  call.arg("entry", static_cast<const void *>(entry));
  if (call.faulted()) return -1;
  AdmState &adm = admState();
  AdmEntry *found = adm.entry(entry);
  AdmList *owner = found ? adm.list(refOf<ADMListRef>(found->list)) : nullptr;
  if (!owner) {
    call.done(entry ? kSPBadParameterError : kASNoError);
    return -1;
  }
  for (std::size_t i = 0; i < owner->entries.size(); ++i) {
    if (owner->entries[i].get() == found) {
      call.arg("index", i);
      call.done(kASNoError);
      return static_cast<ai_int32>(i);
    }
  }
  call.done(kSPBadParameterError);
  return -1;
}

ai_int32 ASAPI GetID(ADMEntryRef entry) {
  PELLO_HOST_CALL(call, "ADMEntry::GetID");
  call.arg("entry", static_cast<const void *>(entry));
  if (call.faulted()) return 0;
  AdmEntry *found = admState().entry(entry);
  if (!found) {
    call.done(kSPBadParameterError);
    return 0;
  }
  call.done(kASNoError);
  return found->id;
}

void ASAPI GetText(ADMEntryRef entry, char *text, ai_int32 maxLen) {
  PELLO_HOST_CALL(call, "ADMEntry::GetText");
  call.arg("entry", static_cast<const void *>(entry)).arg("maxLen", maxLen);
  if (call.faulted()) return;
  AdmEntry *found = admState().entry(entry);
  if (!found || !text || maxLen <= 0) {
    call.done(kSPBadParameterError);
    return;
  }
  copyCut(found->text, text, static_cast<std::size_t>(maxLen));
  call.done(kASNoError);
}

ADMListSuite1 gList = {SetMenuID, GetActiveEntry, NumberOfEntries, IndexEntry};
ADMEntrySuite2 gEntry = {GetIndex, GetID, GetText};

} // namespace

void registerAdmListSuites(SuiteRegistry &registry) {
  registry.add(kADMListSuite, kADMListSuiteVersion, &gList);
  registry.add(kADMEntrySuite, kADMEntrySuiteVersion, &gEntry);
}

} // namespace pello::host
