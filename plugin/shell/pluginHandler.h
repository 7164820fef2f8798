// Caller dispatch below PluginMain, and the startup and shutdown steps.
#ifndef PELLO_PLUGIN_SHELL_PLUGINHANDLER_H
#define PELLO_PLUGIN_SHELL_PLUGINHANDLER_H

#include "SPMessage.h"

// Dispatches "AI Menu" and "AI Notifier" calls; 0 for anything else.
ASErr handlePluginCaller(const char *caller, const char *selector, void *message);
// Adds the menu item and the notifier and sets the held matrix to identity;
// returns the first failure of the two additions.
ASErr pluginStartup(SPInterfaceMessage *message);
// Destroys the palette if there is one.
void pluginShutdown(SPInterfaceMessage *message);

#endif
