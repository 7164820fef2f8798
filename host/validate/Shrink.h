// Shrinking a failing random session: the recorded actions and faults are
// cut down by delta debugging (ddmin) to a few that still fail the same way,
// and written as a session file that pello-host run replays.
#pragma once

#include "pello/validate/SessionDriver.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace pello::validate {

// What kind of failure a message tells: the message without its stage, its
// quoted details and its numbers ("memory blocks still allocated after
// shutdown"). Two failures of one kind are the same failure for shrinking.
std::string failureKind(const std::string &message);

// The kind of a session that crashed the plug-in (or ended its process
// otherwise): pello-host run on its shrunk session reports the crash.
inline constexpr const char *kCrashedKind = "crashed";

struct ShrinkResult {
  std::size_t from = 0;           // actions of the failing session
  std::size_t to = 0;             // actions of the shrunk one (still failing the same way)
  std::filesystem::path file;     // the session file written; empty when none was
  std::string why;                // why no file was written
  std::vector<std::string> notes; // the shrunk session's actions, as the driver names them
  int trials = 0;
};

struct ShrinkOptions {
  bool faults = true;         // the session's DriverOptions::faults
  double seconds = 120;       // the time the reduction may take
  std::filesystem::path file; // where to write the session file
  std::string title;          // the session file's title
};

// `script`, run with `options`, failed with a message of `kind`: shrinks it.
ShrinkResult shrinkSession(const CheckContext &context, const ActionScript &script, const std::string &kind,
                           const ShrinkOptions &options);

} // namespace pello::validate
