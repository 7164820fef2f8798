// The arrow buttons' operation: moves each selected path's fill pattern.
#include "artKinds.h"
#include "artOperations.h"
#include "selectedArt.h"

namespace {

ASErr shiftFillPattern(AIArtHandle path, ASReal h, ASReal v) {
  AIPathStyle style;
  ASErr error = sPathStyle->GetPathStyle(path, &style);
  if (error != kASNoError || !hasPatternFill(style)) return error;
  sAIRealMath->AIRealMatrixConcatTranslate(&style.fill.color.c.p.transform, h, v);
  error = sPathStyle->SetPathStyle(path, &style);
  if (error != kASNoError) showAlert(kWriteFailedAlert);
  return error;
}

} // namespace

ASErr pelloPattern(ASReal h, ASReal v) {
  return visitSelectedArt([h, v](AIArtHandle art, ai_int16 type, bool &) -> ASErr {
    if (type != kPathArt) return kASNoError;
    return shiftFillPattern(art, h, v);
  });
}
