// The palette's buttons: eight pattern arrows, two dash buttons and
// "Untransform", each click turned into one art operation.
#ifndef PELLO_PLUGIN_PALETTE_PALETTEBUTTONS_H
#define PELLO_PLUGIN_PALETTE_PALETTEBUTTONS_H

#include "Suites.h"

// Gives items 1 to 11 of the palette their styles, icons and notification
// procedures.
void initButtons(ADMDialogRef dialog);

// Notification procedure of the arrows (items 1 to 8) and the dash buttons
// (items 9 and 10).
void ASAPI GetPelloArrowProc(ADMItemRef item, ADMNotifierRef notifier);
// Notification procedure of the "Untransform" button (item 11).
void ASAPI GetUnxformProc(ADMItemRef item, ADMNotifierRef notifier);

#endif
