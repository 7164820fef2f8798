#include "pello/host/JsonLimits.h"

#include <utility>

namespace pello::host {

void JsonPlace::enter(bool array) {
  scalar();
  levels_.push_back(Level{array, 0, {}});
}

void JsonPlace::leave() {
  if (!levels_.empty()) levels_.pop_back();
}

void JsonPlace::key(std::string name) {
  if (!levels_.empty()) levels_.back().key = std::move(name);
}

void JsonPlace::scalar() {
  if (!levels_.empty() && levels_.back().array) ++levels_.back().elements;
}

std::string JsonPlace::text() const {
  std::vector<std::string> steps;
  for (std::size_t i = 0; i + 1 < levels_.size(); ++i) {
    const Level &level = levels_[i];
    steps.push_back(level.array ? "[" + std::to_string(level.elements - 1) + "]" : level.key);
  }
  return steps.empty() ? "the top level" : joinedPath(steps);
}

std::string joinedPath(const std::vector<std::string> &steps) {
  constexpr std::size_t kLongest = 40, kFirst = 8, kLast = 4;
  const bool elided = steps.size() > kLongest;
  std::string out;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (elided && i == kFirst) {
      out += "...";
      i = steps.size() - kLast;
    } else if (!out.empty() && !steps[i].starts_with('[')) {
      out += ".";
    }
    out += steps[i];
  }
  return out;
}

std::string nestingMessage(const JsonPlace &place, std::size_t limit) {
  return place.text() + ": nested deeper than " + std::to_string(limit) + " levels of arrays and objects";
}

} // namespace pello::host
