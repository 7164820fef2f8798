// The plug-in's global record as the stand-in host sees it: the live block
// that the plug-in allocated under the name "globals". Tests that look into
// the record include plugin/shell (for Globals.h) and this folder.
#pragma once

#include "Globals.h"
#include "pello/host/Blocks.h"
#include "pello/host/Host.h"

namespace pello::test {

// The record, or null while the plug-in holds none (before startup, after
// shutdown).
inline Globals *pluginGlobals(pello::host::Host &host) {
  for (const pello::host::Blocks::Block &block : host.get<pello::host::Blocks>().live())
    if (block.name == "globals" && block.size == sizeof(Globals))
      return static_cast<Globals *>(block.address);
  return nullptr;
}

} // namespace pello::test
