// pello-host palette -o OUT.svg: the palette the plug-in creates, as a picture.
#include "Commands.h"
#include "FileArguments.h"
#include "SessionRunner.h"
#include "SvgPalette.h"
#include "pello/harness/HostedPlugin.h"

#include <cstdio>

namespace pello::cli {

void addPaletteCommand(CLI::App &app, Options &options) {
  auto out = std::make_shared<std::string>();
  CLI::App *palette = app.add_subcommand(
      "palette", "Start the plug-in, let it create its palette, and draw the palette as an SVG picture");
  palette->add_option("-o,--output", *out, "The SVG file to write (- for standard output)")
      ->required()
      ->check(outputFile());
  addPluginOption(*palette, options);
  refuseSharedFiles(*palette, {{"--output", FileRole::writes}}, false);
  palette->callback([out, &options] {
    const std::filesystem::path module = pluginPath(options.plugin);
    reportCrashesOf(module);
    harness::HostedPlugin hosted(module);
    if (harness::Outcome loaded = hosted.load(); !loaded) {
      std::fprintf(stderr, "pello-host: %s\n", loaded.failure.c_str());
      options.status = kExitNoPlugin;
      return;
    }
    hosted.start();
    auto &plugin = hosted.plugin();
    auto &dm = hosted.dialogs();
    std::optional<host::DialogInfo> info = dm.palette() ? dm.info(dm.palette()) : std::nullopt;
    if (!info) {
      std::fprintf(stderr, "pello-host: the plug-in created no palette\n");
      options.status = kExitFailed;
    } else {
      try {
        options.status = writeTextFile(*out, paletteSvg(*info, *plugin.module())) ? kExitOk : kExitMalformed;
      } catch (const std::exception &e) {
        std::fprintf(stderr, "pello-host: %s\n", e.what());
        options.status = kExitFailed;
      }
    }
    hosted.shutdown();
  });
}

} // namespace pello::cli
