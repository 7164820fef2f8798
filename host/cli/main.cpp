// pello-host: the stand-in host from the command line. Each subcommand lives
// in its own file (*Command.cpp).
#include "Commands.h"
#include "pello/validate/ValidateCommand.h"

#include <CLI/CLI.hpp>

int main(int argc, char **argv) {
  CLI::App app{
      "pello-host: loads PelloPalette.aip into a stand-in host and drives it as the real host and its "
      "user would"};
  app.name("pello-host");
  app.require_subcommand(1);
  app.set_version_flag("--version", "pello-host " PELLO_VERSION);
  // Paths such as /tmp/session.json are arguments, not Windows-style options.
  app.allow_windows_style_options(false);
  pello::cli::Options options;
  pello::cli::addDemoCommand(app, options);
  pello::cli::addRunCommand(app, options);
  pello::cli::addRenderCommand(app, options);
  pello::cli::addPaletteCommand(app, options);
  pello::cli::addSessionCommand(app, options);
  pello::validate::addValidateCommand(app, pello::cli::pluginPath);
  if (argc == 1) {
    std::printf("%s", app.help().c_str());
    return 0;
  }
  CLI11_PARSE(app, argc, argv);
  return options.status;
}
