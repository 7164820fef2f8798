// "AI Placed Suite" version 5: the matrix of placed art.
#include "AIPlaced.h"
#include "suites/ArtSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI GetPlacedMatrix(AIArtHandle placed, ASRealMatrix *matrix) {
  PELLO_HOST_CALL(call, "AIPlaced::GetPlacedMatrix");
  return getArtMatrix(call, placed, kPlacedArt, matrix);
}

ASErr ASAPI SetPlacedMatrix(AIArtHandle placed, const ASRealMatrix *matrix) {
  PELLO_HOST_CALL(call, "AIPlaced::SetPlacedMatrix");
  return setArtMatrix(call, placed, kPlacedArt, matrix);
}

AIPlacedSuite gSuite = {GetPlacedMatrix, SetPlacedMatrix};

} // namespace

void registerPlacedSuite(SuiteRegistry &registry) {
  registry.add(kAIPlacedSuite, kAIPlacedSuiteVersion, &gSuite);
}

} // namespace pello::host
