// The option menu's copy and paste: a one-matrix clipboard, g->scrapMatrix,
// filled from the first suitable selected object and written onto every
// suitable selected object.
#include "Globals.h"
#include "artKinds.h"
#include "artOperations.h"
#include "selectedArt.h"

namespace {

constexpr const char *kTextMatrixReadAlert = "Error getting text matrix!";
constexpr const char *kPatternMatrixWriteAlert = "Error setting matrix in pattern!";

ASErr copyFromPath(AIArtHandle path, bool &hasMatrix) {
  AIPathStyle style;
  ASErr error = sPathStyle->GetPathStyle(path, &style);
  if (error == kASNoError && hasPatternFill(style)) {
    g->scrapMatrix = style.fill.color.c.p.transform;
    hasMatrix = true;
  }
  return error;
}

// Only the first text path is read. A text object without one yields no
// matrix and the search goes on.
ASErr copyFromText(AIArtHandle text, bool &hasMatrix) {
  AIArtHandle textPath = nullptr;
  ASErr error = sTextPath->GetFirstTextPath(text, &textPath);
  if (error != kASNoError || textPath == nullptr) return error;
  ASRealMatrix matrix;
  error = sTextPath->GetTextPathMatrix(textPath, &matrix);
  if (error != kASNoError) {
    showAlert(kTextMatrixReadAlert);
    return error;
  }
  g->scrapMatrix = matrix;
  hasMatrix = true;
  return kASNoError;
}

// Placed and raster art end the search whatever the read returned; the held
// matrix changes only when the read succeeded.
template <typename ReadMatrix> ASErr copyFromObject(ReadMatrix readMatrix, AIArtHandle art, bool &hasMatrix) {
  ASRealMatrix matrix;
  ASErr error = readMatrix(art, &matrix);
  hasMatrix = true;
  if (error == kASNoError) g->scrapMatrix = matrix;
  return error;
}

ASErr pasteOntoPath(AIArtHandle path) {
  AIPathStyle style;
  ASErr error = sPathStyle->GetPathStyle(path, &style);
  if (error != kASNoError || !hasPatternFill(style)) return error;
  style.fill.color.c.p.transform = g->scrapMatrix;
  error = sPathStyle->SetPathStyle(path, &style);
  if (error != kASNoError) showAlert(kPatternMatrixWriteAlert);
  return error;
}

ASErr pasteOntoText(AIArtHandle text) {
  return forEachTextPath(
      text, [](AIArtHandle textPath) { return sTextPath->SetTextPathMatrix(textPath, &g->scrapMatrix); });
}

} // namespace

ASErr GetMatrix() {
  return visitSelectedArt([](AIArtHandle art, ai_int16 type, bool &hasMatrix) -> ASErr {
    if (type == kPathArt) return copyFromPath(art, hasMatrix);
    if (isTextArt(type)) return copyFromText(art, hasMatrix);
    if (type == kPlacedArt) return copyFromObject(sPlaced->GetPlacedMatrix, art, hasMatrix);
    if (type == kRasterArt) return copyFromObject(sRaster->GetRasterMatrix, art, hasMatrix);
    if (type == kMysteryPathArt) {
      showAlert(kMysteryPathAlert);
      hasMatrix = true;
    }
    return kASNoError;
  });
}

ASErr SetMatrix() {
  return visitSelectedArt([](AIArtHandle art, ai_int16 type, bool &) -> ASErr {
    if (type == kPathArt) return pasteOntoPath(art);
    if (isTextArt(type)) return pasteOntoText(art);
    if (type == kPlacedArt) return sPlaced->SetPlacedMatrix(art, &g->scrapMatrix);
    if (type == kRasterArt) return sRaster->SetRasterMatrix(art, &g->scrapMatrix);
    if (type == kMysteryPathArt) showAlert(kMysteryPathAlert);
    return kASNoError;
  });
}
