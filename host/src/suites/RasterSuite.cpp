// "AI Raster Suite" version 5: the matrix of raster art.
#include "AIRaster.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI GetRasterMatrix(AIArtHandle raster, ASRealMatrix *matrix) {
  PELLO_HOST_CALL(call, "AIRaster::GetRasterMatrix");
  return getArtMatrix(call, raster, kRasterArt, matrix);
}

ASErr ASAPI SetRasterMatrix(AIArtHandle raster, const ASRealMatrix *matrix) {
  PELLO_HOST_CALL(call, "AIRaster::SetRasterMatrix");
  return setArtMatrix(call, raster, kRasterArt, matrix);
}

AIRasterSuite gSuite = {GetRasterMatrix, SetRasterMatrix};

} // namespace

void registerRasterSuite(SuiteRegistry &registry) {
  registry.add(kAIRasterSuite, kAIRasterSuiteVersion, &gSuite);
}

} // namespace pello::host
