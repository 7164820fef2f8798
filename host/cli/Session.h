// The short session: load the plug-in, start it, show its About box, make
// one call fail so the error dialog shows, and shut it down.
#pragma once

#include <cstdio>
#include <filesystem>

namespace pello::cli {

struct SessionOptions {
  std::filesystem::path plugin;
  std::filesystem::path preferences; // empty: kept in memory only
  bool verbose = false;
};

// Prints the transcript to `out`; returns the process's exit status.
int runSession(const SessionOptions &options, std::FILE *out);

} // namespace pello::cli
