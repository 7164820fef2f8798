// pello-host: the stand-in host from the command line. Each subcommand lives
// in its own file (*Command.cpp).
#include "Commands.h"
#include "FileArguments.h"
#include "SessionRunner.h"
#include "pello/validate/ValidateCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>

namespace {

constexpr const char *kExitStatuses =
    "Exit status:\n"
    "  0  passed\n"
    "  1  an expectation failed, or a check failed, crashed or timed out\n"
    "  2  the command line, a session or a document is malformed\n"
    "  3  the module cannot be loaded or is not a plug-in\n"
    "  4  internal error of pello-host, or a crash with the plug-in loaded\n";

// The word on the command line that no subcommand or option is named, or "".
// CLI11 keeps such words aside and reports what went wrong next instead: a
// subcommand missing for "pello-host bogus", a file "-" that does not exist
// for "run S -o -".
std::string unknownArgument(CLI::App &app) {
  const std::vector<CLI::App *> used = app.get_subcommands();
  if (used.empty()) {
    if (app.remaining().empty()) return {};
    const std::string word = app.remaining().front();
    return (word.rfind('-', 0) == 0 ? "unknown option \"" : "unknown subcommand \"") + word + "\"";
  }
  for (const std::string &word : used.front()->remaining())
    if (word.size() > 1 && word[0] == '-')
      return used.front()->get_name() + ": unknown option \"" + word + "\"";
  return {};
}

int run(int argc, char **argv) {
  CLI::App app{
      "pello-host: loads PelloPalette.aip into a stand-in host and drives it as the real host and its "
      "user would"};
  app.name("pello-host");
  app.require_subcommand(1);
  app.set_version_flag("--version", "pello-host " PELLO_VERSION);
  app.footer(kExitStatuses);
  // Paths such as /tmp/session.json are arguments, not Windows-style options.
  app.allow_windows_style_options(false);
  pello::cli::Options options;
  pello::cli::addDemoCommand(app, options);
  pello::cli::addRunCommand(app, options);
  pello::cli::addRenderCommand(app, options);
  pello::cli::addPaletteCommand(app, options);
  pello::cli::addSessionCommand(app, options);
#ifdef PELLO_HAS_PLAY
  pello::cli::addPlayCommand(app, options);
#endif
  CLI::App *validate = pello::validate::addValidateCommand(app, pello::cli::pluginPath);
  validate->get_option("--junit")->check(pello::cli::outputFile());
  pello::cli::refuseSharedFiles(*validate, {{"--junit", pello::cli::FileRole::writes}}, true);
  if (argc == 1) {
    std::printf("%s", app.help().c_str());
    return pello::cli::kExitOk;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::RuntimeError &e) {
    // A subcommand that ends with its own status this way (validate).
    return e.get_exit_code();
  } catch (const CLI::ParseError &e) {
    if (std::string unknown = unknownArgument(app); !unknown.empty()) {
      std::fprintf(stderr, "pello-host: %s (pello-host --help lists what it takes)\n", unknown.c_str());
      return pello::cli::kExitMalformed;
    }
    // Help and the version are answers (CLI11 gives them status 0); every
    // other refusal of the command line is a malformed command line.
    const int status = app.exit(e);
    return status == 0 ? pello::cli::kExitOk : pello::cli::kExitMalformed;
  }
  return options.status;
}

} // namespace

int main(int argc, char **argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "pello-host: internal error: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "pello-host: internal error\n");
  }
  return pello::cli::kExitInternal;
}
