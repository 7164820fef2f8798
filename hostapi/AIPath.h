/* AIPath.h: "AI Path Suite" version 4, the segments of path art. */
#ifndef PELLO_HOSTAPI_AIPATH_H
#define PELLO_HOSTAPI_AIPATH_H

#include "AIArt.h"

AS_BEGIN_C

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 4

typedef struct AIPathSegment {
  ASRealPoint p;   /* anchor */
  ASRealPoint in;  /* control point before the anchor */
  ASRealPoint out; /* control point after the anchor */
  ASBoolean corner;
} AIPathSegment;

typedef struct AIPathSuite {
  /* Stores the number of segments of a path (kPathArt) in *count. */
  ASErr(ASAPI *GetPathSegmentCount)(AIArtHandle path, ai_int16 *count);
  /* Copies `count` segments from `segNumber` on into segments; a range
   * beyond the path fails with kSPBadParameterError. */
  ASErr(ASAPI *GetPathSegments)(AIArtHandle path, ai_int16 segNumber, ai_int16 count, AIPathSegment *segments);
  /* Stores whether the path is closed. */
  ASErr(ASAPI *GetPathClosed)(AIArtHandle path, ASBoolean *closed);
} AIPathSuite;

AS_END_C

#endif
