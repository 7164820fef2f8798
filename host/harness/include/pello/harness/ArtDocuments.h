// Art objects for the checks' documents, as the host's JSON document format
// writes them. Every document defines the pattern "Stripes".
#pragma once

#include "pello/host/DocumentJson.h"

#include <optional>
#include <string>
#include <vector>

namespace pello::harness {

using host::Json;

Json matrixJson(const ASRealMatrix &m);
Json patternPath(const std::string &id, const ASRealMatrix &transform = {1, 0, 0, 1, 0, 0});
// A painted, dashed stroke; `length` other than -1 stores that count.
Json dashedPath(const std::string &id, const std::vector<float> &dashes, float offset,
                std::optional<int> length = std::nullopt);
// A pattern fill and a dashed stroke.
Json patternDashedPath(const std::string &id, const ASRealMatrix &transform, const std::vector<float> &dashes,
                       float offset);
Json solidPath(const std::string &id);
Json textArt(const std::string &id, const std::vector<ASRealMatrix> &textPaths, int type = 4);
Json placedArt(const std::string &id, const ASRealMatrix &m);
Json rasterArt(const std::string &id, const ASRealMatrix &m);
Json mysteryPath(const std::string &id);
Json groupArt(const std::string &id, std::vector<Json> children);

// A document of `art` with the top-level objects of `selection` selected in
// that order (every top-level object when `selection` is empty).
Json documentOf(std::vector<Json> art, std::vector<std::string> selection = {});

} // namespace pello::harness
