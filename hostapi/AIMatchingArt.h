/* AIMatchingArt.h: "AI Matching Art Suite" version 4, the selection. */
#ifndef PELLO_HOSTAPI_AIMATCHINGART_H
#define PELLO_HOSTAPI_AIMATCHINGART_H

#include "AIArt.h"

AS_BEGIN_C

#define kAIMatchingArtSuite "AI Matching Art Suite"
#define kAIMatchingArtSuiteVersion 4

typedef struct AIMatchingArtSuite {
  /* Lists the selected objects of the current document, in selection order,
   * without descending into them. On success *matches is a handle
   * (*matches)[0 .. *numMatches-1] and the caller owns it: it is one SP
   * Blocks block, given back with SPBlocksSuite::FreeBlock(*matches). With
   * nothing selected *numMatches is 0 and *matches is null. On failure
   * (kAINoDocumentError without a document) neither is written. */
  ASErr(ASAPI *GetSelectedArt)(AIArtHandle ***matches, ai_int32 *numMatches);
} AIMatchingArtSuite;

AS_END_C

#endif
