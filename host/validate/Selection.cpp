#include "Selection.h"

#include <algorithm>
#include <array>
#include <random>

namespace pello::validate {

namespace {

// The lowest level of each group: 1 is a smoke run of the module's load and
// lifecycle, 2 adds the suites and the data, 3 the fault sweep, the load
// cycles and the random sessions.
struct GroupLevel {
  const char *group;
  int level;
};
constexpr std::array<GroupLevel, 8> kGroupLevels{{{"load", 1},
                                                  {"lifecycle", 1},
                                                  {"order", 1},
                                                  {"suites", 2},
                                                  {"data", 2},
                                                  {"faults", 3},
                                                  {"cycles", 3},
                                                  {"random", 3}}};

// By level, 1 to 10; the default level, 5, is the run every build makes.
constexpr std::array<int, 10> kStepsAtLevel{50, 50, 100, 100, 200, 400, 800, 1600, 3200, 6400};
constexpr std::array<int, 10> kCyclesAtLevel{100, 100, 100, 300, 0, 0, 0, 0, 0, 0};

std::size_t levelIndex(int strictness) {
  return static_cast<std::size_t>(std::clamp(strictness, kLowestStrictness, kHighestStrictness) - 1);
}

bool matches(const std::string &pattern, const Check &check) {
  return wildcardMatch(pattern, check.group) || wildcardMatch(pattern, check.name);
}

} // namespace

bool wildcardMatch(std::string_view pattern, std::string_view text) {
  // The last * seen and the text position it is tried from: on a mismatch
  // the star takes one more character.
  std::size_t p = 0, t = 0, star = std::string_view::npos, from = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      from = t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++from;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

std::vector<const Check *> chooseChecks(const ValidateOptions &options, std::string &error) {
  const std::vector<Check> &checks = allChecks();
  for (const std::vector<std::string> *patterns : {&options.only, &options.exclude})
    for (const std::string &pattern : *patterns)
      if (std::none_of(checks.begin(), checks.end(),
                       [&](const Check &check) { return matches(pattern, check); })) {
        error = "no group or check matches \"" + pattern + "\" (see --list)";
        return {};
      }
  std::vector<const Check *> chosen;
  for (const Check &check : checks) {
    const auto matching = [&](const std::string &pattern) { return matches(pattern, check); };
    if (!options.only.empty() && std::none_of(options.only.begin(), options.only.end(), matching)) continue;
    if (std::any_of(options.exclude.begin(), options.exclude.end(), matching)) continue;
    chosen.push_back(&check);
  }
  if (chosen.empty()) error = "--only and --exclude leave no check to run";
  return chosen;
}

int lowestStrictness(const Check &check) {
  for (const GroupLevel &entry : kGroupLevels)
    if (std::string_view(entry.group) == check.group) return entry.level;
  return kLowestStrictness;
}

int stepsAt(int strictness) {
  return kStepsAtLevel[levelIndex(strictness)];
}

int cyclesAt(int strictness) {
  return kCyclesAtLevel[levelIndex(strictness)];
}

std::uint64_t roundSeed(std::uint64_t seed, int round) {
  if (round == 0) return seed;
  // splitmix64: rounds' seeds far apart, so their random sessions differ.
  std::uint64_t z = seed + 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(round);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return (z ^ (z >> 31)) % 1000000000u;
}

std::vector<std::size_t> shuffledOrder(std::size_t count, std::uint64_t seed) {
  std::vector<std::size_t> order(count);
  for (std::size_t i = 0; i < count; ++i)
    order[i] = i;
  // Fisher-Yates on mt19937_64, whose output the standard fixes (the
  // library's std::shuffle and distributions may differ between builds).
  std::mt19937_64 engine(seed);
  for (std::size_t i = count; i > 1; --i)
    std::swap(order[i - 1], order[static_cast<std::size_t>(engine() % i)]);
  return order;
}

} // namespace pello::validate
