// What the art operations look for in an object: a pattern fill, a dashed
// stroke, the text paths of a text object, and the linear part of a matrix.
#ifndef PELLO_PLUGIN_PALETTE_ARTKINDS_H
#define PELLO_PLUGIN_PALETTE_ARTKINDS_H

#include "Suites.h"

// The fill is painted (exactly 1) with a pattern colour.
inline bool hasPatternFill(const AIPathStyle &style) {
  return style.fillPaint == 1 && style.fill.color.kind == kPattern;
}

// The stroke is painted (exactly 1) and has a dash pattern.
inline bool hasDashedStroke(const AIPathStyle &style) {
  return style.strokePaint == 1 && style.stroke.dash.length != 0;
}

// Text objects of both kinds are handled through their text paths.
inline bool isTextArt(ai_int16 type) {
  return type == kTextArt || type == kTextPathArt;
}

// Drops scale, rotation, skew and reflection; keeps the translation.
inline void resetLinearPart(ASRealMatrix &matrix) {
  matrix.a = 1;
  matrix.b = 0;
  matrix.c = 0;
  matrix.d = 1;
}

// Calls `action(textPath)` for each text path of `text`, first to last. The
// walk ends quietly when the host yields no further text path or refuses to
// give one; it ends with the action's code when an action fails.
template <typename Action> ASErr forEachTextPath(AIArtHandle text, Action action) {
  AIArtHandle textPath = nullptr;
  if (sTextPath->GetFirstTextPath(text, &textPath) != kASNoError) return kASNoError;
  while (textPath != nullptr) {
    ASErr error = action(textPath);
    if (error != kASNoError) return error;
    AIArtHandle next = nullptr;
    if (sTextPath->GetNextTextPath(text, textPath, &next) != kASNoError) return kASNoError;
    textPath = next;
  }
  return kASNoError;
}

#endif
