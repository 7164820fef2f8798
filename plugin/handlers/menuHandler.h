// The "Pello Palette" menu item that shows and hides the palette.
#ifndef PELLO_PLUGIN_HANDLERS_MENUHANDLER_H
#define PELLO_PLUGIN_HANDLERS_MENUHANDLER_H

#include "AIMenu.h"
#include "SPMessage.h"

// Adds the item to "Tool Palettes" and keeps its handle in g->showPelloDialog.
ASErr addMenu(SPInterfaceMessage *message);
// Toggles the palette when the item is chosen. Always 0.
ASErr goMenuItem(AIMenuMessage *message);
// Gives the item its check mark exactly while the palette is visible. Always 0.
ASErr updateMenuItem(AIMenuMessage *message);

#endif
