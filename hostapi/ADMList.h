/* ADMList.h: "ADM List Suite" version 1, the entries of an item's list. */
#ifndef PELLO_HOSTAPI_ADMLIST_H
#define PELLO_HOSTAPI_ADMLIST_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

typedef struct ADMListSuite1 {
  /* Replaces the list's entries with the command items of menu resource
   * `menuResID` of the dialog's plug-in, in resource order. */
  void(ASAPI *SetMenuID)(ADMListRef list, ai_int32 menuResID);
  /* The entry chosen last, or null. */
  ADMEntryRef(ASAPI *GetActiveEntry)(ADMListRef list);
  ai_int32(ASAPI *NumberOfEntries)(ADMListRef list);
  /* Entry `index` (0-based), or null. The list owns its entries. */
  ADMEntryRef(ASAPI *IndexEntry)(ADMListRef list, ai_int32 index);
} ADMListSuite1;

AS_END_C

#endif
