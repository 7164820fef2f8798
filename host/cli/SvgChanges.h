// What a session changed, drawn over the document after it: each changed
// object framed, its new values captioned beside it, and a pattern's shift
// drawn as an arrow from the tile's old origin to its new one, so that a
// shift of a few units shows at a glance.
#pragma once

#include "pello/host/Document.h"
#include "pello/host/DocumentDiff.h"

#include <string>

namespace pello::cli {

// SVG elements to draw over `model` (the document after the changes).
std::string changeMarks(const host::DocumentModel &model, const host::ChangeList &changes);

} // namespace pello::cli
