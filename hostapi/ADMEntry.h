/* ADMEntry.h: "ADM Entry Suite" version 2, one entry of a list. */
#ifndef PELLO_HOSTAPI_ADMENTRY_H
#define PELLO_HOSTAPI_ADMENTRY_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

typedef struct ADMEntrySuite2 {
  /* The entry's 0-based position in its list; -1 for a null entry. */
  ai_int32(ASAPI *GetIndex)(ADMEntryRef entry);
  /* The entry's id (a menu entry's command id). */
  ai_int32(ASAPI *GetID)(ADMEntryRef entry);
  /* Copies the entry's text, zero-terminated and cut to maxLen bytes. */
  void(ASAPI *GetText)(ADMEntryRef entry, char *text, ai_int32 maxLen);
} ADMEntrySuite2;

AS_END_C

#endif
