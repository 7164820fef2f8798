/* ADMItem.h: "ADM Item Suite" version 4, the items of a dialog. */
#ifndef PELLO_HOSTAPI_ADMITEM_H
#define PELLO_HOSTAPI_ADMITEM_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 4

/* Picture button styles, drawn as the host chooses. */
enum { kADMBlackSunkenRectPictureButtonStyle = 0, kADMBlackRectPictureButtonStyle = 1 };

typedef struct ADMItemSuite4 {
  /* Installs the item's notification procedure; null restores the default. */
  void(ASAPI *SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc proc);
  /* Installs the item's tracking procedure; null restores the default. */
  void(ASAPI *SetTrackProc)(ADMItemRef item, ADMItemTrackProc proc);
  /* The item's standard handling of a notification (an OK button closes its
   * modal dialog). */
  void(ASAPI *DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);
  /* The item's standard tracking of an event (an option-menu button opens
   * its menu); true when a notification follows. */
  ASBoolean(ASAPI *DefaultTrack)(ADMItemRef item, ADMTrackerRef tracker);
  /* The item's list (an option-menu button's menu), or null; the item owns it. */
  ADMListRef(ASAPI *GetList)(ADMItemRef item);
  /* The dialog holding the item. */
  ADMDialogRef(ASAPI *GetDialog)(ADMItemRef item);
  /* The item's id in its dialog. */
  ai_int32(ASAPI *GetID)(ADMItemRef item);
  /* Sets the item's style code, as the item's kind reads it. */
  void(ASAPI *SetItemStyle)(ADMItemRef item, ai_int32 style);
  /* Shows bitmap resource `pictureResID` of the dialog's plug-in on the item. */
  void(ASAPI *SetPictureID)(ADMItemRef item, ai_int32 pictureResID);
  /* Replaces the item's text; the dialog manager copies it. */
  void(ASAPI *SetText)(ADMItemRef item, const char *text);
  /* Copies the item's text, zero-terminated and cut to maxLen bytes. */
  void(ASAPI *GetText)(ADMItemRef item, char *text, ai_int32 maxLen);
  void(ASAPI *SetUserData)(ADMItemRef item, ADMUserData data);
  ADMUserData(ASAPI *GetUserData)(ADMItemRef item);
} ADMItemSuite4;

AS_END_C

#endif
