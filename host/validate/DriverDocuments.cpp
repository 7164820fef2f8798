// The driver's documents: every kind of art, groups of it, with values from
// the ordinary to the not finite, and selections of it in any order.
#include "Driver.h"

#include <bit>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

float Driver::number() {
  static const float kValues[] = {0,
                                  1,
                                  -1,
                                  0.5f,
                                  2,
                                  -0.0f,
                                  100,
                                  1e-7f,
                                  1e7f,
                                  3.4e38f,
                                  -3.4e38f,
                                  1e-45f,
                                  16777217.0f,
                                  0.1f,
                                  12345.678f,
                                  -99999.99f,
                                  std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(),
                                  std::numeric_limits<float>::quiet_NaN()};
  if (chance(10)) return std::bit_cast<float>(chooser_.word());
  return kValues[pick(std::size(kValues))];
}

ASRealMatrix Driver::matrix() {
  if (chance(30)) return {1, 0, 0, 1, number(), number()};
  return {number(), number(), number(), number(), number(), number()};
}

Json Driver::randomArt(int &serial, int depth) {
  const std::string id = "a" + std::to_string(serial++);
  switch (pick(depth < 2 ? 10 : 9)) {
  case 0:
    return patternPath(id, matrix());
  case 1: {
    std::vector<float> dashes(pick(7));
    for (float &d : dashes)
      d = number();
    std::optional<int> length;
    if (chance(20)) length = static_cast<int>(pick(65536)) - 32768;
    return dashedPath(id, dashes, number(), length);
  }
  case 2:
    return patternDashedPath(id, matrix(), {number(), number()}, number());
  case 3:
    return solidPath(id);
  case 4: {
    std::vector<ASRealMatrix> paths(pick(4));
    for (ASRealMatrix &m : paths)
      m = matrix();
    return textArt(id, paths, chance(50) ? 4 : 5);
  }
  case 5:
    return placedArt(id, matrix());
  case 6:
    return rasterArt(id, matrix());
  case 7:
    return mysteryPath(id);
  case 8:
    return Json{{"id", id}, {"type", static_cast<int>(pick(40)) - 10}};
  default: {
    std::vector<Json> children;
    for (std::uint32_t i = pick(3); i > 0; --i)
      children.push_back(randomArt(serial, depth + 1));
    return groupArt(id, std::move(children));
  }
  }
}

void Driver::newDocument() {
  std::vector<Json> art;
  int serial = 0;
  for (std::uint32_t i = pick(9); i > 0; --i) {
    Json object = randomArt(serial, 0);
    // Groups of "other" codes cannot hold children; keep them flat.
    if (object["type"].is_number() && object.contains("children")) object.erase("children");
    art.push_back(std::move(object));
  }
  std::vector<std::string> ids;
  for (const Json &object : art)
    if (chance(80)) ids.push_back(object["id"].get<std::string>());
  Json document = documentOf(std::move(art), {});
  document["selection"] = ids;
  emit(Json{{"do", "open"}, {"document", document}});
  session_.open(document);
}

void Driver::newSelection() {
  if (!session_.document.isOpen()) return;
  std::vector<std::string> ids;
  session_.document.model().forEach([&](const ArtObject &object, int depth) {
    if (depth == 0 && chance(60)) ids.push_back(object.id);
  });
  for (std::size_t i = ids.size(); i > 1; --i)
    std::swap(ids[i - 1], ids[pick(static_cast<std::uint32_t>(i))]);
  emit(Json{{"do", "select"}, {"art", ids}});
  session_.document.model().select(ids);
}

} // namespace pello::validate
