/* AIArt.h: "AI Art Suite" version 9, art objects of the current document. */
#ifndef PELLO_HOSTAPI_AIART_H
#define PELLO_HOSTAPI_AIART_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 9

/* One art object; opaque. Valid while the object is in the document. */
typedef struct _t_AIArtOpaque *AIArtHandle;

/* Art type codes (signed 16-bit). */
enum {
  kUnknownArt = 0,
  kGroupArt = 1,
  kPathArt = 2,
  kCompoundPathArt = 3,
  kTextArt = 4,
  kTextPathArt = 5,
  kTextRunArt = 6,
  kPlacedArt = 7,
  kMysteryPathArt = 8,
  kRasterArt = 9
};

typedef struct AIArtSuite {
  /* Stores the object's type code in *type. Fails with kSPBadParameterError
   * for a handle the document does not hold. */
  ASErr(ASAPI *GetArtType)(AIArtHandle art, ai_int16 *type);
  /* Stores the group, compound path or layer group holding the object in
   * *parent, or null for a top-level object. */
  ASErr(ASAPI *GetArtParent)(AIArtHandle art, AIArtHandle *parent);
} AIArtSuite;

AS_END_C

#endif
