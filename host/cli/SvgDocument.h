// A document as an SVG picture, in the host's coordinate convention: x grows
// to the right and y grows downward, as in SVG, so document coordinates are
// drawn as they stand and a pattern whose matrix's ty decreases moves up.
//
// Paths are drawn with their fill and stroke (pattern fills as <pattern>
// tiles placed by the pattern's transform, dashes from the dash array and
// offset), text paths as text placed by their matrices, placed and raster
// art as framed image-like rectangles placed by theirs. Selected objects are
// marked with a blue frame; every top-level object is labelled with its id.
#pragma once

#include "pello/host/Document.h"
#include "pello/host/DocumentDiff.h"

#include <string>

namespace pello::cli {

struct View {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// The area the document's art covers, with room around it.
View documentView(const host::DocumentModel &model);
View unite(const View &a, const View &b);

// `changes` (the changes that led to `model`) are marked over it: each
// changed object framed, its new values captioned, a pattern's shift drawn
// as an arrow.
std::string documentSvg(const host::DocumentModel &model, const View &view, const std::string &caption,
                        const host::ChangeList &changes = {});

} // namespace pello::cli
