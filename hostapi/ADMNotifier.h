/* ADMNotifier.h: "ADM Notifier Suite" version 1, what a notification is. */
#ifndef PELLO_HOSTAPI_ADMNOTIFIER_H
#define PELLO_HOSTAPI_ADMNOTIFIER_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 1

typedef struct ADMNotifierSuite1 {
  /* Copies the notification's type name into notifierType, zero-terminated
   * and cut to maxLen bytes. */
  void(ASAPI *GetNotifierType)(ADMNotifierRef notifier, char *notifierType, ai_uint32 maxLen);
  /* True when the notification's type name equals notifierType. */
  ASBoolean(ASAPI *IsNotifierType)(ADMNotifierRef notifier, const char *notifierType);
  /* The item the notification is for. */
  ADMItemRef(ASAPI *GetItem)(ADMNotifierRef notifier);
} ADMNotifierSuite1;

AS_END_C

#endif
