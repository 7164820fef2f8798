/* ADMTracker.h: "ADM Tracker Suite" version 1, mouse and key events on an
 * item before they become notifications. */
#ifndef PELLO_HOSTAPI_ADMTRACKER_H
#define PELLO_HOSTAPI_ADMTRACKER_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1

enum { kADMMouseDownAction = 1, kADMMouseUpAction = 2, kADMMouseMovedAction = 3, kADMKeyDownAction = 4 };

typedef struct ADMTrackerSuite1 {
  /* The event's action code. */
  ai_int32(ASAPI *GetAction)(ADMTrackerRef tracker);
  /* The event's position in the item's coordinates. */
  void(ASAPI *GetPoint)(ADMTrackerRef tracker, ASPoint *point);
  /* Stops the event from going further. */
  void(ASAPI *Abort)(ADMTrackerRef tracker);
} ADMTrackerSuite1;

AS_END_C

#endif
