// The palette's buttons. One click runs exactly one operation: a pattern
// shift for an arrow, a dash shift for a dash button, the untransform for
// "Untransform". The operations report their own failures.
#include "paletteButtons.h"

#include <cstring>

#include "Globals.h"
#include "artOperations.h"
#include "keypress.h"
#include "paletteResources.h"

namespace {

// Room for a notification's type name.
constexpr ai_uint32 kNotifierTypeSize = 255;

// Picture-button style codes, passed to the host as they stand.
constexpr ai_int32 kArrowButtonStyle = 1;
constexpr ai_int32 kPlainButtonStyle = 0;

// Unit direction of each arrow item, positive v pointing up on the palette.
struct ArrowDirection {
  ai_int32 itemID;
  ai_int32 h;
  ai_int32 v;
};
constexpr ArrowDirection kArrowDirections[] = {
    {kArrowRightItem, 1, 0},   {kArrowUpRightItem, 1, 1},    {kArrowUpItem, 0, 1},
    {kArrowUpLeftItem, -1, 1}, {kArrowLeftItem, -1, 0},      {kArrowDownLeftItem, -1, -1},
    {kArrowDownItem, 0, -1},   {kArrowDownRightItem, 1, -1},
};

bool isUserChange(ADMNotifierRef notifier) {
  char theHeck[kNotifierTypeSize] = {};
  sADMNotifier->GetNotifierType(notifier, theHeck, kNotifierTypeSize);
  theHeck[kNotifierTypeSize - 1] = '\0';
  return std::strcmp(theHeck, kADMUserChangedNotifier) == 0;
}

// The step of one click for the modifier keys held now: 1, doubled with
// Shift; then the Windows key, Alt and Ctrl scale it by 2, 4 and 8, as
// factors with Shift and as divisors without it.
ASReal stepForModifierKeys() {
  ASReal dist = 1.0f;
  if (isPressed(kShiftKey)) {
    dist *= 2.0f;
    if (isPressed(kLeftWindowsKey)) dist *= 2.0f;
    if (isPressed(kAltKey)) dist *= 4.0f;
    if (isPressed(kControlKey)) dist *= 8.0f;
  } else {
    if (isPressed(kLeftWindowsKey)) dist /= 2.0f;
    if (isPressed(kAltKey)) dist /= 4.0f;
    if (isPressed(kControlKey)) dist /= 8.0f;
  }
  return dist;
}

void setUpButton(ADMDialogRef dialog, ai_int32 itemID, ai_int32 style, ai_int32 pictureID,
                 ADMItemNotifyProc notifyProc) {
  ADMItemRef item = sADMDialog->GetItem(dialog, itemID);
  if (!item) return;
  sADMItem->SetItemStyle(item, style);
  if (pictureID != 0) sADMItem->SetPictureID(item, pictureID);
  sADMItem->SetNotifyProc(item, notifyProc);
}

} // namespace

void initButtons(ADMDialogRef dialog) {
  for (const ArrowDirection &arrow : kArrowDirections)
    setUpButton(dialog, arrow.itemID, kArrowButtonStyle, arrow.itemID, GetPelloArrowProc);
  setUpButton(dialog, kDashLeftItem, kPlainButtonStyle, kArrowLeftBitmap, GetPelloArrowProc);
  setUpButton(dialog, kDashRightItem, kPlainButtonStyle, kArrowRightBitmap, GetPelloArrowProc);
  setUpButton(dialog, kUntransformItem, kPlainButtonStyle, 0, GetUnxformProc);
}

void ASAPI GetPelloArrowProc(ADMItemRef item, ADMNotifierRef notifier) {
  ASReal h = 0.0f;
  ASReal v = 0.0f;
  if (!isUserChange(notifier)) return;
  ADMDialogRef dlg = sADMItem->GetDialog(item);
  const ASReal dist = stepForModifierKeys();

  for (const ArrowDirection &arrow : kArrowDirections) {
    if (item == sADMDialog->GetItem(dlg, arrow.itemID)) {
      h = static_cast<ASReal>(arrow.h) * dist;
      v = static_cast<ASReal>(arrow.v) * dist;
      break;
    }
  }

  g->doingWhat = 0;
  if (item == sADMDialog->GetItem(dlg, kDashRightItem)) {
    g->doingWhat = 1;
    pelloDashes(-dist);
  } else if (item == sADMDialog->GetItem(dlg, kDashLeftItem)) {
    g->doingWhat = 1;
    pelloDashes(dist);
  }
  // The document's vertical axis runs opposite to the palette's.
  if (g->doingWhat == 0) pelloPattern(h, -v);
}

void ASAPI GetUnxformProc(ADMItemRef /*item*/, ADMNotifierRef notifier) {
  if (isUserChange(notifier)) UntransformMatrix();
}
