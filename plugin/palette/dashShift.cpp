// The dash buttons' operation: moves the dash pattern along each selected
// dashed path.
#include <algorithm>

#include "artKinds.h"
#include "artOperations.h"
#include "selectedArt.h"

namespace {

// The sum of the dash lengths in use, each partial sum a float. A length
// count from the host outside 0..6 never reads past the array: a negative
// count sums nothing, a larger one sums all six entries.
ASReal dashPatternLength(const AIDashStyle &dash) {
  const int inUse = std::clamp<int>(dash.length, 0, kMaxDashComponents);
  ASReal sum = 0.0f;
  for (int index = 0; index < inUse; ++index)
    sum += dash.array[index];
  return sum;
}

ASErr shiftDashes(AIArtHandle path, ASReal dist) {
  AIPathStyle style;
  ASErr error = sPathStyle->GetPathStyle(path, &style);
  if (error != kASNoError || !hasDashedStroke(style)) return error;
  AIDashStyle &dash = style.stroke.dash;
  dash.offset += dist;
  if (dash.offset < 0.0f) {
    // Brought back once, by twice the pattern; it may stay negative.
    ASReal offset = dashPatternLength(dash);
    offset *= 2.0f;
    dash.offset += offset;
  }
  error = sPathStyle->SetPathStyle(path, &style);
  if (error != kASNoError) showAlert(kWriteFailedAlert);
  return error;
}

} // namespace

ASErr pelloDashes(ASReal dist) {
  return visitSelectedArt([dist](AIArtHandle art, ai_int16 type, bool &) -> ASErr {
    if (type == kMysteryPathArt) {
      showAlert(kMysteryPathAlert);
      return kASNoError;
    }
    if (type != kPathArt) return kASNoError;
    return shiftDashes(art, dist);
  });
}
