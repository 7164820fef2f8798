/* AINotifier.h: "AI Notifier Suite" version 2 and the "AI Notifier" message:
 * notifications of host events. */
#ifndef PELLO_HOSTAPI_AINOTIFIER_H
#define PELLO_HOSTAPI_AINOTIFIER_H

#include "SPMessage.h"

AS_BEGIN_C

#define kAINotifierSuite "AI Notifier Suite"
#define kAINotifierSuiteVersion 2

#define kAINotifierCaller "AI Notifier"
#define kAINotifierNotifySelector "AI Notify"

/* Sent once when the application has finished starting. */
#define kAIApplicationStartedNotifier "AI Application Started Notifier"

/* One installed notifier; opaque. */
typedef struct _t_AINotifierOpaque *AINotifierHandle;

/* Caller "AI Notifier". */
typedef struct AINotifierMessage {
  SPMessageData d;
  AINotifierHandle notifier; /* the notifier that fired */
  const char *type;          /* its notification type */
  void *notifyData;          /* type-specific, may be null */
} AINotifierMessage;

typedef struct AINotifierSuite {
  /* Asks for "AI Notifier" / "AI Notify" calls whenever a notification of
   * `type` is sent; the host copies the strings. The notifier belongs to the
   * host and stays installed for the run. */
  ASErr(ASAPI *AddNotifier)(SPPluginRef self, const char *name, const char *type, AINotifierHandle *notifier);
  /* Stops or resumes the notifier's calls. */
  ASErr(ASAPI *SetNotifierActive)(AINotifierHandle notifier, ASBoolean active);
} AINotifierSuite;

AS_END_C

#endif
