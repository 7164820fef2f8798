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

#include "SvgArtShapes.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentDiff.h"

#include <string>
#include <utility>
#include <vector>

namespace pello::cli {

struct View {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// The area the document's art covers, with room around it: around the
// extents of its top-level objects (each drawn with its label above it).
View documentView(const host::DocumentModel &model);
Box objectExtent(const host::DocumentModel &model, const host::ArtObject &o);
View viewAround(const Box &extents);
View unite(const View &a, const View &b);

// `changes` (the changes that led to `model`) are marked over it: each
// changed object framed, its new values captioned, a pattern's shift drawn
// as an arrow.
std::string documentSvg(const host::DocumentModel &model, const View &view, const std::string &caption,
                        const host::ChangeList &changes = {});

// The same picture in parts, for a page that replaces only what changed:
// the <svg> tag and title, the background and caption, each <pattern>, each
// top-level object's elements and the selection's marks. A pattern's id
// comes from the pattern and its placement, not from the order of first
// use, so that a change to one object leaves the others drawn as they were.
struct PictureParts {
  std::string head, frame;
  std::vector<std::pair<std::string, std::string>> patterns, art; // by id, in order
  std::string marks;
};
PictureParts documentParts(const host::DocumentModel &model, const View &view, const std::string &caption);

} // namespace pello::cli
