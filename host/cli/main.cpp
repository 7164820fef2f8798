// pello-host: the stand-in host from the command line.
#include "Session.h"

#include <CLI/CLI.hpp>

#include <filesystem>

namespace {

// The module built beside this executable, else the one the build made.
std::filesystem::path defaultPlugin(const char *argv0) {
  std::error_code ec;
  std::filesystem::path beside = std::filesystem::path(argv0).parent_path() / "PelloPalette.aip";
  if (std::filesystem::exists(beside, ec)) return beside;
#ifdef PELLO_BUILT_PLUGIN_PATH
  return PELLO_BUILT_PLUGIN_PATH;
#else
  return beside;
#endif
}

} // namespace

int main(int argc, char **argv) {
  CLI::App app{"pello-host: loads PelloPalette.aip into a stand-in host and drives it"};
  app.require_subcommand(0, 1);

  pello::cli::SessionOptions session;
  std::string pluginPath;
  std::string prefsPath;
  CLI::App *sessionCommand =
      app.add_subcommand("session", "Startup, About, an error dialog and shutdown (default)");
  for (CLI::App *command : {&app, sessionCommand}) {
    command->add_option("--plugin", pluginPath, "The plug-in module to load");
    command->add_option("--prefs", prefsPath, "The preferences file (default: none, kept in memory)");
    command->add_flag("--verbose", session.verbose, "Print every host call, suite acquisitions included");
  }
  CLI11_PARSE(app, argc, argv);

  session.plugin = pluginPath.empty() ? defaultPlugin(argv[0]) : std::filesystem::path(pluginPath);
  session.preferences = prefsPath;
  return pello::cli::runSession(session, stdout);
}
