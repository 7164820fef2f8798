// The frame that every art operation shares: ask the host for the selected
// art, visit the objects in list order without descending into containers,
// stop at the first failed host call, and report a failure in the closing
// alert. The selection list goes back to the host on every way out.
#ifndef PELLO_PLUGIN_PALETTE_SELECTEDART_H
#define PELLO_PLUGIN_PALETTE_SELECTEDART_H

#include "Suites.h"

// Alert texts shared by the operations.
inline constexpr const char *kFilterCancelledAlert = "There was an error, filter cancelled.";
inline constexpr const char *kWriteFailedAlert = "ERROR!";
inline constexpr const char *kMysteryPathAlert = "Hmmm... don't know how to handle mystery path art!";

// Shows `text` in a message alert.
void showAlert(const char *text);

// The host's list of selected art. The list is one block that the caller
// owns; it is given back when this object goes out of scope.
class SelectedArt {
public:
  SelectedArt() = default;
  SelectedArt(const SelectedArt &) = delete;
  SelectedArt &operator=(const SelectedArt &) = delete;
  ~SelectedArt();

  // Asks the host for the selection; the host's code.
  ASErr fetch();
  ai_int32 count() const { return count_; }
  // Entry `index`, read through the host's handle.
  AIArtHandle at(ai_int32 index) const { return (*matches_)[index]; }

private:
  AIArtHandle **matches_ = nullptr;
  ai_int32 count_ = 0;
};

// Shows the closing alert when `error` is not 0; returns `error`.
ASErr finishOperation(ASErr error);

// Runs one operation over the selection: kASStopError without an alert when
// the host cannot give the selection, 0 for an empty selection; otherwise
// `prepare()` once, then for each object in list order its art type and
// `visit(art, type, searchEnded)`, until a host call fails or a visit sets
// `searchEnded`. A non-zero code ends in the closing alert.
template <typename Prepare, typename Visit> ASErr visitSelectedArt(Prepare prepare, Visit visit) {
  SelectedArt selection;
  if (selection.fetch() != kASNoError) return kASStopError;
  if (selection.count() == 0) return kASNoError;
  prepare();
  ASErr error = kASNoError;
  bool searchEnded = false;
  for (ai_int32 index = 0; index < selection.count() && !searchEnded; ++index) {
    AIArtHandle art = selection.at(index);
    ai_int16 type = kUnknownArt;
    error = sAIArt->GetArtType(art, &type);
    if (error == kASNoError) error = visit(art, type, searchEnded);
    if (error != kASNoError) break;
  }
  return finishOperation(error);
}

template <typename Visit> ASErr visitSelectedArt(Visit visit) {
  return visitSelectedArt([] {}, visit);
}

#endif
