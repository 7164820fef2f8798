// pello-host demo: the embedded demo session on the embedded demo document
// (examples/demo/, compiled in), with its transcript and pictures.
#include "Commands.h"
#include "DemoData.h"
#include "FileArguments.h"
#include "SessionRunner.h"
#include "SessionScript.h"

#include <chrono>
#include <cstdio>

namespace pello::cli {

void addDemoCommand(CLI::App &app, Options &options) {
  struct Arguments {
    std::string out = "pello-out";
    bool json = false, verbose = false;
  };
  auto args = std::make_shared<Arguments>();
  CLI::App *demo = app.add_subcommand(
      "demo", "Load the plug-in, click through the palette on a demo document and print what happens; writes "
              "before.svg, after.svg and palette.svg");
  demo->add_option("--out", args->out, "Folder for the pictures")
      ->capture_default_str()
      ->check(outputFolder());
  demo->add_flag("--json", args->json, "Print the transcript as JSON");
  demo->add_flag("--verbose", args->verbose, "Print every host call as it happens");
  addPluginOption(*demo, options);
  refuseSharedFiles(*demo, {{"--out", FileRole::writesInto, kPictureFiles}}, true);
  demo->callback([args, &options] {
    const auto start = std::chrono::steady_clock::now();
    Session session;
    try {
      session = readSession(Json::parse(kDemoSession), ".", "demo",
                            {{kDemoDocumentName, std::string(kDemoDocument)}});
    } catch (const std::exception &e) {
      std::fprintf(stderr, "pello-host: the embedded demo is malformed: %s\n", e.what());
      options.status = kExitMalformed;
      return;
    }
    options.status =
        runSessionCommand(session, {pluginPath(options.plugin), args->out, args->json, args->verbose});
    if (!args->json) {
      std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      std::printf("\n(demo took %.2f s)\n", took.count());
    }
  });
}

} // namespace pello::cli
