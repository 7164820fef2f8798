/* AITransformArt.h: "AI Transform Art Suite" version 1, transforming whole
 * art objects. */
#ifndef PELLO_HOSTAPI_AITRANSFORMART_H
#define PELLO_HOSTAPI_AITRANSFORMART_H

#include "AIArt.h"

AS_BEGIN_C

#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1

/* TransformArt flags: what of the object the transformation reaches. */
enum { kTransformObjects = 1, kTransformFillPatterns = 2, kTransformStrokePatterns = 4 };

typedef struct AITransformArtSuite {
  /* Applies `matrix` to the object as `flags` say, scaling line widths by
   * lineScale. */
  ASErr(ASAPI *TransformArt)(AIArtHandle art, const ASRealMatrix *matrix, ASReal lineScale, ai_int32 flags);
} AITransformArtSuite;

AS_END_C

#endif
