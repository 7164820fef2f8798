// The subcommands of pello-host, one file each, and what they share.
#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace pello::cli {

// Filled by CLI11 and read by the subcommand that runs.
struct Options {
  std::string plugin; // --plugin, empty for the default
  int status = 0;     // the exit status of the subcommand that ran
};

// The plug-in module to load: `option` if given; else PelloPalette.aip beside
// the executable, then the installed one (../lib/pello/ from the
// executable's folder), then the one this executable was built with.
std::filesystem::path pluginPath(const std::string &option);
// From here on, a fatal fault ends pello-host with a message naming
// `module` and status 4 (kExitInternal), not with a signal.
void reportCrashesOf(const std::filesystem::path &module);
// What is running now ("steps[3] (click up)"), named by that message; "" for nothing.
void reportCrashStep(const std::string &what);
// Adds --plugin to a subcommand.
void addPluginOption(CLI::App &command, Options &options);

void addSessionCommand(CLI::App &app, Options &options);
void addDemoCommand(CLI::App &app, Options &options);
void addRunCommand(CLI::App &app, Options &options);
void addRenderCommand(CLI::App &app, Options &options);
void addPaletteCommand(CLI::App &app, Options &options);
void addPlayCommand(CLI::App &app, Options &options); // native builds only (PELLO_HAS_PLAY)

// The pictures a session writes into its --out folder.
inline const std::vector<std::string> kPictureFiles{"before.svg", "after.svg", "palette.svg"};

// Runs `session` with the transcript on stdout (text, or JSON with `json`);
// with `out` not empty, writes before.svg, after.svg and palette.svg there.
// Returns the exit status.
struct SessionSettings {
  std::filesystem::path plugin;
  std::filesystem::path out;
  bool json = false;
  bool verbose = false;
};
struct Session;
int runSessionCommand(const Session &session, const SessionSettings &settings);

// Writes `text` to `file` ("-": standard output), creating its folder; false (with a message on
// stderr) when it cannot.
bool writeTextFile(const std::filesystem::path &file, const std::string &text);

} // namespace pello::cli
