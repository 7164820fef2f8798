// The plug-in's About box, dialog resource 16050.
#ifndef PELLO_PLUGIN_COMMON_ABOUT_H
#define PELLO_PLUGIN_COMMON_ABOUT_H

#include "ADMTypes.h"
#include "SPMessage.h"

// Runs the About box; returns what the modal dialog call gave.
ai_int32 goAbout(SPInterfaceMessage *message);
ASErr ASAPI AboutPluginInitProc(ADMDialogRef dialog);
void ASAPI AboutDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);

#endif
