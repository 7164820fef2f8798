// The palette as the host shows it, as an SVG picture: the dialog's frame
// and tab from its dialog resource, every item at its rectangle in the
// dialog manager's pixels, picture buttons with their bitmaps drawn pixel by
// pixel from the module's bitmap resources, labels, etched separators, the
// option-menu button and its menu open beside it with the entries the
// dialog manager loaded.
#pragma once

#include "pello/host/DialogManager.h"
#include "pello/host/PluginModule.h"

#include <string>
#include <vector>

namespace pello::cli {

// `dialog` as the dialog manager reports it; its resources come from
// `module`. Throws std::runtime_error when the dialog resource is missing or
// malformed.
std::string paletteSvg(const host::DialogInfo &dialog, const host::PluginModule &module);

// Where a user clicks in paletteSvg's picture, in the picture's coordinates:
// each shown, enabled item at its bounds, and each entry of the option menu
// drawn open beside it.
struct PaletteTarget {
  int item = 0;   // the item's id
  int entry = -1; // the option-menu entry's index, or -1 for the item itself
  double left = 0, top = 0, width = 0, height = 0;
};
std::vector<PaletteTarget> paletteTargets(const host::DialogInfo &dialog, const host::PluginModule &module);

} // namespace pello::cli
