// The entry point the host calls and the lifecycle wrappers it dispatches to.
#ifndef PELLO_PLUGIN_SHELL_PLUGINMAIN_H
#define PELLO_PLUGIN_SHELL_PLUGINMAIN_H

#include "PluginExport.h"
#include "SPMessage.h"

// The module's only export, named by the PiPL's entry point property.
extern "C" PELLO_EXPORT ASErr ASAPI PluginMain(const char *caller, const char *selector, void *message);

// "SP Interface" / "About": shows the About box; always 0.
ASErr AboutPlugin(SPInterfaceMessage *message);
// "SP Interface" / "Startup" and "Shutdown": allocate and free the global
// record around pluginStartup and pluginShutdown.
ASErr StartupPlugin(SPInterfaceMessage *message);
ASErr ShutdownPlugin(SPInterfaceMessage *message);
// "SP Access" / "Unload" and "Reload": hand the global record to the host
// while the library is out of memory and take it back.
ASErr UnloadPlugin(SPAccessMessage *message);
ASErr ReloadPlugin(SPAccessMessage *message);

#endif
