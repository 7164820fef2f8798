/* AIRaster.h: "AI Raster Suite" version 5, raster art's matrix. */
#ifndef PELLO_HOSTAPI_AIRASTER_H
#define PELLO_HOSTAPI_AIRASTER_H

#include "AIArt.h"

AS_BEGIN_C

#define kAIRasterSuite "AI Raster Suite"
#define kAIRasterSuiteVersion 5

typedef struct AIRasterSuite {
  /* Copies the matrix of raster art (kRasterArt) into *matrix; other art
   * fails with kAIWrongArtTypeError and leaves *matrix untouched. */
  ASErr(ASAPI *GetRasterMatrix)(AIArtHandle raster, ASRealMatrix *matrix);
  /* Replaces the matrix of raster art. */
  ASErr(ASAPI *SetRasterMatrix)(AIArtHandle raster, const ASRealMatrix *matrix);
} AIRasterSuite;

AS_END_C

#endif
