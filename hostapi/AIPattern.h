/* AIPattern.h: "AI Pattern Suite" version 7, the patterns a document defines. */
#ifndef PELLO_HOSTAPI_AIPATTERN_H
#define PELLO_HOSTAPI_AIPATTERN_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIPatternSuite "AI Pattern Suite"
#define kAIPatternSuiteVersion 7

/* One pattern of the current document; opaque. */
typedef struct _t_AIPatternOpaque *AIPatternHandle;

typedef struct AIPatternSuite {
  /* Stores the number of patterns of the current document in *count. */
  ASErr(ASAPI *CountPatterns)(ai_int32 *count);
  /* Stores pattern n (0-based) in *pattern; out of range: kSPBadParameterError. */
  ASErr(ASAPI *GetNthPattern)(ai_int32 n, AIPatternHandle *pattern);
  /* Copies the pattern's name, zero-terminated, into name (capacity bytes);
   * too small a buffer fails with kASBufferTooSmallError. */
  ASErr(ASAPI *GetPatternName)(AIPatternHandle pattern, char *name, ai_uint32 capacity);
} AIPatternSuite;

AS_END_C

#endif
