// The table of host suites the plug-in acquires, and the count of holders.
#ifndef PELLO_PLUGIN_SHELL_SUITETABLE_H
#define PELLO_PLUGIN_SHELL_SUITETABLE_H

#include "Suites.h"

#include <array>

// One row of the suite table: the suite's name and version and the global
// pointer that receives it.
struct ImportBunch {
  const char *name;
  ai_int32 version;
  const void **suite;
};

// One suite the plug-in would offer to other plug-ins.
struct ExportBunch {
  const char *name;
  ai_int32 version;
};

constexpr int kImportCount = 32;
extern const ImportBunch imports[kImportCount];

// The plug-in offers no suite: the table has no row.
extern const std::array<ExportBunch, 0> exports;

// The untyped slot through which the host fills a suite pointer.
template <typename Suite> const void **suiteSlot(Suite **pointer) {
  return static_cast<const void **>(static_cast<void *>(pointer));
}

// Holders of the suites: the running PluginMain calls and the palette.
extern ai_int16 gAcquireCount;

// Hooks of the "SP Access" calls; nothing needs them yet.
ASErr reloadPluginSuiteFunctions(SPAccessMessage *message);
void unloadPluginSuiteFunctions(SPAccessMessage *message);

#endif
