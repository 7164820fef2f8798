/* AIRuntime.h: "AI Runtime Suite" version 7, facts about the running host. */
#ifndef PELLO_HOSTAPI_AIRUNTIME_H
#define PELLO_HOSTAPI_AIRUNTIME_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIRuntimeSuite "AI Runtime Suite"
#define kAIRuntimeSuiteVersion 7

typedef struct AIRuntimeSuite {
  /* Stores the host's name, a zero-terminated string the host owns. */
  ASErr(ASAPI *GetAppName)(const char **name);
  /* Stores the host's major version number. */
  ASErr(ASAPI *GetAppMajorVersion)(ai_int32 *major);
} AIRuntimeSuite;

AS_END_C

#endif
