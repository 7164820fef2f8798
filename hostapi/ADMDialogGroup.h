/* ADMDialogGroup.h: "ADM Dialog Group Suite" version 1, docking palettes
 * into named groups. */
#ifndef PELLO_HOSTAPI_ADMDIALOGGROUP_H
#define PELLO_HOSTAPI_ADMDIALOGGROUP_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMDialogGroupSuite "ADM Dialog Group Suite"
#define kADMDialogGroupSuiteVersion 1

typedef struct ADMDialogGroupSuite1 {
  /* Stores the name of the dock group holding the palette (a string the
   * host owns, valid until the palette moves or is destroyed) and its
   * position code in the group. */
  ASErr(ASAPI *GetDialogGroupInfo)(ADMDialogRef dialog, const char **groupName, ai_int32 *positionCode);
  /* Docks the palette into the group `groupName` (created when new) at
   * `positionCode`; the host copies the name. The code's meaning is the
   * host's. */
  ASErr(ASAPI *SetDialogGroupInfo)(ADMDialogRef dialog, const char *groupName, ai_int32 positionCode);
} ADMDialogGroupSuite1;

AS_END_C

#endif
