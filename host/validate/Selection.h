// Which checks a run takes, in which order, and how hard: the --only and
// --exclude patterns, the strictness levels and the shuffled order.
#pragma once

#include "pello/validate/Check.h"
#include "pello/validate/Validate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pello::validate {

// `text` matches `pattern`, in which * stands for any run of characters and
// ? for any one.
bool wildcardMatch(std::string_view pattern, std::string_view text);

// The checks that --only and --exclude choose, in table order; sets `error`
// (and returns none) when a pattern matches no group or check.
std::vector<const Check *> chooseChecks(const ValidateOptions &options, std::string &error);

// The lowest --strictness at which `check` runs.
int lowestStrictness(const Check &check);

// Actions per random session and loads of the cycles group at a strictness
// (cycles 0: the group's own default, its full count).
int stepsAt(int strictness);
int cyclesAt(int strictness);

// The seed of a repeated run's round: the run's seed for the first.
std::uint64_t roundSeed(std::uint64_t seed, int round);

// `count` indexes in an order drawn from `seed`, the same on every platform.
std::vector<std::size_t> shuffledOrder(std::size_t count, std::uint64_t seed);

} // namespace pello::validate
