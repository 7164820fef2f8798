/* ADMIcon.h: "ADM Icon Suite" version 1, pictures from a plug-in's bitmap
 * resources. */
#ifndef PELLO_HOSTAPI_ADMICON_H
#define PELLO_HOSTAPI_ADMICON_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1

typedef struct ADMIconSuite1 {
  /* An icon from bitmap resource `iconID` of `plugin`, owned by the caller
   * until Destroy; null when the resource is missing. */
  ADMIconRef(ASAPI *GetFromResource)(SPPluginRef plugin, ai_int32 iconID);
  void(ASAPI *Destroy)(ADMIconRef icon);
  ai_int32(ASAPI *GetWidth)(ADMIconRef icon);
  ai_int32(ASAPI *GetHeight)(ADMIconRef icon);
} ADMIconSuite1;

AS_END_C

#endif
