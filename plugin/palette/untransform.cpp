// The "Untransform" button's operation: resets fill patterns and dash
// offsets, and the linear part of text path, placed and raster matrices.
#include "artKinds.h"
#include "artOperations.h"
#include "selectedArt.h"

namespace {

void resetPattern(AIPatternStyle &pattern, const ASRealMatrix &identity) {
  pattern.shiftDist = 0;
  pattern.shiftAngle = 0;
  pattern.scale.h = 100;
  pattern.scale.v = 100;
  pattern.rotate = 0;
  pattern.reflect = false;
  pattern.reflectAngle = 0;
  pattern.shearAngle = 0;
  pattern.shearAxis = 0;
  pattern.transform = identity;
}

ASErr writeStyle(AIArtHandle path, const AIPathStyle &style) {
  ASErr error = sPathStyle->SetPathStyle(path, &style);
  if (error != kASNoError) showAlert(kWriteFailedAlert);
  return error;
}

// A path needing both resets is written twice: the pattern first, then the
// dash offset on top of it.
ASErr untransformPath(AIArtHandle path, const ASRealMatrix &identity) {
  AIPathStyle style;
  ASErr error = sPathStyle->GetPathStyle(path, &style);
  if (error != kASNoError) return error;
  if (hasPatternFill(style)) {
    resetPattern(style.fill.color.c.p, identity);
    error = writeStyle(path, style);
    if (error != kASNoError) return error;
  }
  if (hasDashedStroke(style)) {
    style.stroke.dash.offset = 0;
    error = writeStyle(path, style);
  }
  return error;
}

ASErr untransformText(AIArtHandle text) {
  return forEachTextPath(text, [](AIArtHandle textPath) {
    ASRealMatrix textMatrix;
    ASErr error = sTextPath->GetTextPathMatrix(textPath, &textMatrix);
    if (error != kASNoError) return error;
    resetLinearPart(textMatrix);
    return sTextPath->SetTextPathMatrix(textPath, &textMatrix);
  });
}

ASErr untransformPlaced(AIArtHandle placed) {
  ASRealMatrix matrix;
  ASErr error = sPlaced->GetPlacedMatrix(placed, &matrix);
  if (error != kASNoError) return error;
  resetLinearPart(matrix);
  return sPlaced->SetPlacedMatrix(placed, &matrix);
}

ASErr untransformRaster(AIArtHandle raster) {
  ASRealMatrix matrix;
  ASErr error = sRaster->GetRasterMatrix(raster, &matrix);
  if (error != kASNoError) return error;
  resetLinearPart(matrix);
  return sRaster->SetRasterMatrix(raster, &matrix);
}

} // namespace

ASErr UntransformMatrix() {
  ASRealMatrix pelloMatrix{};
  return visitSelectedArt([&pelloMatrix] { sAIRealMath->AIRealMatrixSetIdentity(&pelloMatrix); },
                          [&pelloMatrix](AIArtHandle art, ai_int16 type, bool &) -> ASErr {
                            if (type == kPathArt) return untransformPath(art, pelloMatrix);
                            if (isTextArt(type)) return untransformText(art);
                            if (type == kPlacedArt) return untransformPlaced(art);
                            if (type == kRasterArt) return untransformRaster(art);
                            if (type == kMysteryPathArt) showAlert(kMysteryPathAlert);
                            return kASNoError;
                          });
}
