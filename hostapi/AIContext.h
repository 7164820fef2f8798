/* AIContext.h: "AI Context Suite" version 3, the application context a
 * plug-in works in outside a host call. */
#ifndef PELLO_HOSTAPI_AICONTEXT_H
#define PELLO_HOSTAPI_AICONTEXT_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIAppContextSuite "AI Context Suite"
#define kAIAppContextSuiteVersion 3

/* One pushed context; opaque. */
typedef struct _t_AIAppContextOpaque *AIAppContextHandle;

typedef struct AIAppContextSuite {
  /* Makes `plugin` the current context and stores a handle for the matching
   * PopAppContext in *appContext. Pushes nest. */
  ASErr(ASAPI *PushAppContext)(SPPluginRef plugin, AIAppContextHandle *appContext);
  /* Ends the innermost context; `appContext` must be the innermost one, else
   * kSPBadParameterError. */
  ASErr(ASAPI *PopAppContext)(AIAppContextHandle appContext);
} AIAppContextSuite;

AS_END_C

#endif
