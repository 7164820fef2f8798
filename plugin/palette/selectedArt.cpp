#include "selectedArt.h"

void showAlert(const char *text) {
  sADMBasic->MessageAlert(text);
}

SelectedArt::~SelectedArt() {
  if (matches_ != nullptr) sSPBlocks->FreeBlock(matches_);
}

ASErr SelectedArt::fetch() {
  AIArtHandle **matches = nullptr;
  ai_int32 count = 0;
  ASErr error = sAIMatchingArt->GetSelectedArt(&matches, &count);
  if (error != kASNoError) return error;
  matches_ = matches;
  count_ = matches != nullptr && count > 0 ? count : 0;
  return kASNoError;
}

ASErr finishOperation(ASErr error) {
  if (error != kASNoError) showAlert(kFilterCancelledAlert);
  return error;
}
