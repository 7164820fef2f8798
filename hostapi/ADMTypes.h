/* ADMTypes.h: references and procedure types shared by the dialog manager
 * (ADM) suites. */
#ifndef PELLO_HOSTAPI_ADMTYPES_H
#define PELLO_HOSTAPI_ADMTYPES_H

#include "ASTypes.h"

AS_BEGIN_C

/* Opaque references, valid while the object exists in the dialog manager. */
typedef struct _t_ADMDialog *ADMDialogRef;
typedef struct _t_ADMItem *ADMItemRef;
typedef struct _t_ADMList *ADMListRef;
typedef struct _t_ADMEntry *ADMEntryRef;
typedef struct _t_ADMNotifier *ADMNotifierRef;
typedef struct _t_ADMTracker *ADMTrackerRef;
typedef struct _t_ADMIcon *ADMIconRef;
typedef void *ADMUserData;

/* Dialog styles. */
typedef ai_int32 ADMDialogStyle;
enum {
  kADMModalDialogStyle = 0,
  kADMAlertDialogStyle = 1,
  kADMFloatingDialogStyle = 2,
  kADMTabbedFloatingDialogStyle = 3,
  kADMResizingFloatingDialogStyle = 4,
  kADMTabbedResizingFloatingDialogStyle = 5
};

/* The option-menu button of a tabbed palette, as an item id. */
#define kADMMenuItemID (-5)

/* Notification types. */
#define kADMUserChangedNotifier "ADM User Changed Notifier"
#define kADMIntermediateChangedNotifier "ADM Intermediate Changed Notifier"
#define kADMBoundsChangedNotifier "ADM Bounds Changed Notifier"
#define kADMEntryTextChangedNotifier "ADM Entry Text Changed Notifier"
#define kADMCloseHitNotifier "ADM Close Hit Notifier"

/* Called once when a dialog is created, before Create or Modal returns;
 * a non-zero result makes Create return null and Modal return -1. */
typedef ASErr(ASAPI *ADMDialogInitProc)(ADMDialogRef dialog);
/* Called once from inside Destroy (or when a modal dialog closes), while the
 * dialog and its items still exist. */
typedef void(ASAPI *ADMDialogDestroyProc)(ADMDialogRef dialog);
/* Called for every notification an item receives. */
typedef void(ASAPI *ADMItemNotifyProc)(ADMItemRef item, ADMNotifierRef notifier);
/* Called for every tracker event of an item; the result says whether the
 * event goes on to a notification. */
typedef ASBoolean(ASAPI *ADMItemTrackProc)(ADMItemRef item, ADMTrackerRef tracker);

AS_END_C

#endif
