// The palette's option menu: copy, paste and show the held matrix.
#ifndef PELLO_PLUGIN_PALETTE_PALETTEOPTIONSMENU_H
#define PELLO_PLUGIN_PALETTE_PALETTEOPTIONSMENU_H

#include "Suites.h"

// Track procedure of the option-menu button: the dialog manager's own
// tracking, which opens the menu.
ASBoolean ASAPI dialogPopupMenuTrackProc(ADMItemRef item, ADMTrackerRef tracker);
// Notification procedure of the option-menu button: runs the chosen command.
void ASAPI dialogPopupMenuProc(ADMItemRef item, ADMNotifierRef notifier);
// Index of the active entry of the button's menu; -1 when there is none.
ai_int32 GetPopupSelection(ADMItemRef item);

#endif
