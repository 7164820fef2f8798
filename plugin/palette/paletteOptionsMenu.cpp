// The palette's option menu, filled from menu resource 700. The chosen
// command is found by its position in the menu, not by its command id.
#include "paletteOptionsMenu.h"

#include "artOperations.h"

namespace {

// Positions of the commands in the option menu.
enum OptionMenuEntry : ai_int32 { kCopyMatrixEntry = 0, kPasteMatrixEntry = 1, kShowMatrixEntry = 2 };

} // namespace

ASBoolean ASAPI dialogPopupMenuTrackProc(ADMItemRef item, ADMTrackerRef tracker) {
  return sADMItem->DefaultTrack(item, tracker);
}

void ASAPI dialogPopupMenuProc(ADMItemRef item, ADMNotifierRef notifier) {
  if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
  switch (GetPopupSelection(item)) {
  case kCopyMatrixEntry:
    GetMatrix();
    break;
  case kPasteMatrixEntry:
    SetMatrix();
    break;
  case kShowMatrixEntry:
    showMatrix();
    break;
  default:
    break;
  }
}

ai_int32 GetPopupSelection(ADMItemRef item) {
  ADMListRef listRef = sADMItem->GetList(item);
  if (!listRef) return -1;
  ADMEntryRef activeEntry = sADMList->GetActiveEntry(listRef);
  if (!activeEntry) return -1;
  return sADMEntry->GetIndex(activeEntry);
}
