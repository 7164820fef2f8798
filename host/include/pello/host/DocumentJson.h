// clang-format off
// Documents as JSON. Tests, the command line and renders share this format.
//
//   {
//     "units": "points",               // points picas inches millimeters
//                                      // centimeters pixels (default points)
//     "modified": false,               // optional
//     "patterns": [
//       { "name": "Stripes", "tile": [0, 0, 10, 10],   // left, top, right, bottom
//         "shapes": [ { "kind": "rectangle", "bounds": [0, 0, 5, 10], "color": "#d04020" },
//                     { "kind": "ellipse", "bounds": [6, 2, 9, 8], "color": "#2040d0" },
//                     { "kind": "polygon", "points": [[0, 0], [5, 5], [0, 10]] } ] } ],
//     "art": [
//       { "id": "p1", "type": "path", "name": "optional",
//         "style": { ... see below ... },
//         "segments": [[0, 0], [10, 0], { "p": [10, 10], "in": [12, 8], "out": [8, 12], "corner": false }],
//         "closed": true },                // or "rectangle": [l, t, r, b], or "polygon": [[x, y], ...]
//       { "id": "g1", "type": "group", "children": [ ...art... ] },   // also "compoundPath"
//       { "id": "t1", "type": "text", "textPaths": [ { "matrix": [1, 0, 0, 1, 10, 20], "text": "Hi" } ] },
//       { "id": "i1", "type": "placed", "matrix": [1, 0, 0, 1, 0, 0], "size": [100, 50],
//         "file": "logo.eps" },
//       { "id": "r1", "type": "raster", "matrix": [1, 0, 0, 1, 0, 0], "size": [64, 64] },
//       { "id": "m1", "type": "mysteryPath", "style": {...}, "segments": [...] },
//       { "id": "x1", "type": 12 }   // any other code: a number, or "unknown" (0),
//     ],                             // "textPath" (5), "textRun" (6)
//     "selection": ["p1", "i1"]            // ids, in selection order
//   }
//
// A path style names its members as the host's records do; every member is
// optional and defaults to defaultPathStyle():
//
//   { "fillPaint": true, "strokePaint": true,
//     "fill": { "color": COLOR, "overprint": false },
//     "stroke": { "color": COLOR, "overprint": false, "width": 1,
//                 "dash": { "length": 2, "offset": 0.5, "array": [3, 2] },
//                 "cap": "butt", "join": "miter", "miterLimit": 4 },
//     "clip": false, "lockClip": false, "evenodd": false, "resolution": 800 }
//
//   COLOR: { "kind": "gray", "gray": 0.5 }
//        | { "kind": "fourColor", "cyan": 0, "magenta": 0, "yellow": 0, "black": 1 }
//        | { "kind": "threeColor", "red": 1, "green": 0, "blue": 0 }
//        | { "kind": "pattern", "pattern": "Stripes" (or null), "shiftDist": 0, "shiftAngle": 0,
//            "scale": [100, 100], "rotate": 0, "reflect": false, "reflectAngle": 0,
//            "shearAngle": 0, "shearAxis": 0, "transform": [1, 0, 0, 1, 0, 0] }
//        | { "kind": "customColor" } | { "kind": "gradient" } | { "kind": "none" } | { "kind": 9 }
//
// Matrices are [a, b, c, d, tx, ty] (or an object with those members).
// Numbers that are not finite are written "NaN", "Infinity", "-Infinity".
// A dash "array" holds at most 6 entries (the rest are 0); "length" defaults
// to the number of entries given and may be any 16-bit value, so that a
// document can hold what a faulty host would. Booleans are true, false or a
// 32-bit integer (a host may hold a true that is not 1). Caps are "butt",
// "round", "projecting"; joins "miter", "round", "bevel"; or numbers.
//
// Art nests at most kMaxArtNesting levels deep: an object at the top level
// is at level 1, the children of a group or compound path one level below it.
//
// Reading refuses anything else, including unknown members, with a
// DocumentFormatError that names the place ("art[3].style.stroke.dash.array:
// ..."); host/cli/schemas/document.schema.json refuses the same where a schema
// can (keep the two in step).
// Writing writes every member, each float in the fewest digits that
// read back to the same float, so a document saved and loaded again is the
// same bit for bit (NaN payloads aside).
// clang-format on
#pragma once

#include "pello/host/Document.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace pello::host {

// Members keep the order in which they are written.
using Json = nlohmann::ordered_json;

// Deep enough for any drawing, shallow enough that reading, writing, drawing
// and comparing a document (each recursive over its groups) stay far within
// a thread's stack, even on Windows (1 MB) or in a sanitized build.
inline constexpr std::size_t kMaxArtNesting = 100;

DocumentModel readDocument(const Json &json);
// Parses the text too; a syntax error is a DocumentFormatError as well.
DocumentModel parseDocument(std::string_view text);

Json writeDocument(const DocumentModel &model);
// Indented text, ending in a newline.
std::string formatDocument(const DocumentModel &model);

// One art object as writeDocument writes it, but without its children.
Json writeOwnArt(const DocumentModel &model, const ArtObject &object);
// One pattern definition as writeDocument writes it.
Json writePattern(const Pattern &pattern);

// The style of a path as a document writes it (pattern names from `model`).
Json writePathStyle(const DocumentModel &model, const AIPathStyle &style);

// A float as a JSON number that reads back to exactly `value` (a string for
// NaN and the infinities).
Json realToJson(ASReal value);

} // namespace pello::host
