// Documents compared and searched through their JSON form (the form the
// host loads and saves): what changed between two states, and the value of
// one field of one art object.
#pragma once

#include "pello/host/DocumentJson.h"

#include <string>

namespace pello::cli {

using host::Json;

// One "change" event per value that differs between `before` and `after`
// (both as writeDocument gives them), by art id and field path, e.g.
// {"art": "p1", "field": "style.fill.color.transform", "before": [...], "after": [...]}.
// Matrices, points and dash arrays count as one value. The selection shows
// as art "(selection)", patterns as "(pattern NAME)".
Json documentChanges(const Json &before, const Json &after);

// The art object `id` of a written document, at any depth, or null.
const Json *findArt(const Json &document, const std::string &id);

// The value at `path` under `value` ("stroke.dash.offset",
// "textPaths[1].matrix"), or null.
const Json *fieldAt(const Json &value, const std::string &path);

} // namespace pello::cli
