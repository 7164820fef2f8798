// Generated documents for the benchmarks: n top-level objects, all selected
// in document order.
//
//   patternPaths: paths filled with a pattern;
//   dashedPaths:  paths with a painted, dashed stroke (dashes 3 and 2);
//   mixedArt:     a repeating run of eight kinds: a pattern-filled path, a
//                 dashed path, a path with both, a solidly filled path, a
//                 text object with two text paths, placed art, raster art
//                 and an empty group. No mystery paths: every one would
//                 bring up an alert.
#pragma once

#include "pello/host/Document.h"

#include <cstddef>

enum class ArtKind { patternPaths, dashedPaths, mixedArt };

const char *artKindName(ArtKind kind);

// Builds the document and makes it the host's current one (replacing any
// other, so only one large document lives at a time).
void openArtDocument(pello::host::Document &document, ArtKind kind, std::size_t count);

// Opens the document unless the same one (kind and count) is open already.
void useArtDocument(pello::host::Document &document, ArtKind kind, std::size_t count);
