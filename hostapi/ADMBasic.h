/* ADMBasic.h: "ADM Basic Suite" version 2, alerts, string lists and the
 * palette layout area. */
#ifndef PELLO_HOSTAPI_ADMBASIC_H
#define PELLO_HOSTAPI_ADMBASIC_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 2

typedef struct ADMBasicSuite2 {
  /* Shows `message` in a modal alert with one OK button and returns when the
   * user has dismissed it. */
  void(ASAPI *MessageAlert)(const char *message);
  /* Copies entry `stringIndex` (1-based) of the plug-in's indexed string
   * list `stringID` into `string` (maxLen bytes), zero-terminated and cut to
   * fit. An entry past the end of the list gives the empty string. A list
   * the plug-in lacks, or index 0, fails with kSPBadParameterError and
   * leaves `string` untouched. On every platform a list is the run of
   * string-table strings stringID + 1, stringID + 2, ... of the plug-in's
   * resources, ending at the first id that is absent. */
  ASErr(ASAPI *GetIndexString)(SPPluginRef plugin, ai_int32 stringID, ai_int32 stringIndex, char *string,
                               ai_int32 maxLen);
  /* Stores the area in which the host lays out palettes, in the coordinates
   * of ADMDialogSuite3::GetBoundsRect. */
  ASErr(ASAPI *GetPaletteLayoutBounds)(ASRect *dimensions);
  /* Sounds the alert beep. */
  void(ASAPI *Beep)(void);
} ADMBasicSuite2;

AS_END_C

#endif
