// pello-host palette -o OUT.svg: the palette the plug-in creates, as a picture.
#include "Commands.h"
#include "SessionRunner.h"
#include "SvgPalette.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Host.h"
#include "pello/host/Plugin.h"

#include <cstdio>

namespace pello::cli {

void addPaletteCommand(CLI::App &app, Options &options) {
  auto out = std::make_shared<std::string>();
  CLI::App *palette = app.add_subcommand(
      "palette", "Start the plug-in, let it create its palette, and draw the palette as an SVG picture");
  palette->add_option("-o,--output", *out, "The SVG file to write")->required();
  addPluginOption(*palette, options);
  palette->callback([out, &options] {
    host::Host host;
    auto &plugin = host.get<host::Plugin>();
    const std::filesystem::path module = pluginPath(options.plugin);
    if (plugin.load(module) != 0) {
      std::fprintf(stderr, "pello-host: %s: %s\n", module.string().c_str(), plugin.lastError().c_str());
      options.status = kExitNoPlugin;
      return;
    }
    plugin.startup();
    plugin.notifyApplicationStarted();
    auto &dm = host.get<host::DialogManager>();
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
    plugin.shutdown();
  });
}

} // namespace pello::cli
