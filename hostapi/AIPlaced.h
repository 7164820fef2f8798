/* AIPlaced.h: "AI Placed Suite" version 5, placed art's matrix. */
#ifndef PELLO_HOSTAPI_AIPLACED_H
#define PELLO_HOSTAPI_AIPLACED_H

#include "AIArt.h"

AS_BEGIN_C

#define kAIPlacedSuite "AI Placed Suite"
#define kAIPlacedSuiteVersion 5

typedef struct AIPlacedSuite {
  /* Copies the matrix of placed art (kPlacedArt) into *matrix; other art
   * fails with kAIWrongArtTypeError and leaves *matrix untouched. */
  ASErr(ASAPI *GetPlacedMatrix)(AIArtHandle placed, ASRealMatrix *matrix);
  /* Replaces the matrix of placed art. */
  ASErr(ASAPI *SetPlacedMatrix)(AIArtHandle placed, const ASRealMatrix *matrix);
} AIPlacedSuite;

AS_END_C

#endif
