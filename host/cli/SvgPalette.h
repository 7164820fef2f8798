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

namespace pello::cli {

// `dialog` as the dialog manager reports it; its resources come from
// `module`. Throws std::runtime_error when the dialog resource is missing or
// malformed.
std::string paletteSvg(const host::DialogInfo &dialog, const host::PluginModule &module);

} // namespace pello::cli
