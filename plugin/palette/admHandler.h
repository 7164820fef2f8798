// The palette: a tabbed floating dialog built from dialog resource 16000,
// created when the host has started and destroyed at shutdown.
#ifndef PELLO_PLUGIN_PALETTE_ADMHANDLER_H
#define PELLO_PLUGIN_PALETTE_ADMHANDLER_H

#include "AINotifier.h"
#include "Suites.h"

// Creates the palette for the application-started notification and stores it
// in g->PelloDialog. Always 0.
ASErr createADMDialog(AINotifierMessage *message);

// The palette's initialisation and destroy procedures.
ASErr ASAPI DlgInit(ADMDialogRef dlg);
void ASAPI DlgDestroyProc(ADMDialogRef dlg);

#endif
