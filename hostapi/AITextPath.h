/* AITextPath.h: "AI Text Path Suite" version 4, the text paths of text
 * objects and their matrices. */
#ifndef PELLO_HOSTAPI_AITEXTPATH_H
#define PELLO_HOSTAPI_AITEXTPATH_H

#include "AIArt.h"

AS_BEGIN_C

#define kAITextPathSuite "AI Text Path Suite"
#define kAITextPathSuiteVersion 4

typedef struct AITextPathSuite {
  /* Stores the first text path of a text object (kTextArt or kTextPathArt)
   * in *textPath, or null when it has none. */
  ASErr(ASAPI *GetFirstTextPath)(AIArtHandle text, AIArtHandle *textPath);
  /* Stores the text path after `textPath` in *next, or null after the last. */
  ASErr(ASAPI *GetNextTextPath)(AIArtHandle text, AIArtHandle textPath, AIArtHandle *next);
  /* Copies the text path's matrix into *matrix; a null or unknown text path
   * fails with kSPBadParameterError and leaves *matrix untouched. */
  ASErr(ASAPI *GetTextPathMatrix)(AIArtHandle textPath, ASRealMatrix *matrix);
  /* Replaces the text path's matrix. */
  ASErr(ASAPI *SetTextPathMatrix)(AIArtHandle textPath, const ASRealMatrix *matrix);
} AITextPathSuite;

AS_END_C

#endif
