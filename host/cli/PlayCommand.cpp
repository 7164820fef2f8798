// pello-host play [DOCUMENT]: the palette in a browser. A local web server
// whose page is the host: the palette drawn from the module's resources,
// the document drawn live, the transcript, dialogs, host actions and the
// recording of a session. Ctrl-C shuts the plug-in down.
#include "Commands.h"
#include "DemoData.h"
#include "FileArguments.h"
#include "PlayHost.h"
#include "PlayServer.h"
#include "SessionRunner.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace pello::cli {

namespace {

std::atomic<bool> gInterrupted{false};

extern "C" void onInterrupt(int) {
  gInterrupted = true;
}

std::filesystem::path playPreferencesFile() {
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::filesystem::temp_directory_path() / ("pello-play-prefs-" + std::to_string(stamp) + ".json");
}

struct Arguments {
  std::string document;
  std::string preferences;
  int port = 0;
};

int play(const Arguments &args, const Options &options) {
  PlayHost::Settings settings;
  settings.plugin = pluginPath(options.plugin);
  try {
    // The document is read and checked as a session's own document is.
    Json source = args.document.empty() ? Json::parse(kDemoDocument)
                                        : Json(std::filesystem::absolute(args.document).string());
    Session checked = readSession(Json{{"document", source}, {"steps", Json::array()}},
                                  std::filesystem::current_path(), "play");
    settings.documentText = checked.documentText;
    settings.documentName = args.document.empty() ? "the default document" : args.document;
  } catch (const SessionError &e) {
    std::fprintf(stderr, "pello-host: malformed document: %s\n", e.what());
    return kExitMalformed;
  }
  const bool ownPreferences = args.preferences.empty();
  settings.preferences = ownPreferences ? playPreferencesFile() : std::filesystem::path(args.preferences);

  reportCrashesOf(settings.plugin);
  // Ctrl-C, a kill and a closed terminal all shut the plug-in down, even
  // one that comes while it starts.
  for (int which : {SIGINT, SIGTERM, SIGHUP})
    std::signal(which, onInterrupt);
  PlayHost host(settings);
  std::string why;
  if (!host.start(why)) {
    std::fprintf(stderr, "pello-host: %s\n", why.c_str());
    host.stop();
    return kExitNoPlugin;
  }
  PlayServer server(host, Json::parse(kDemoDocument).dump());
  if (!server.bind(args.port)) {
    const bool inUse = errno == EADDRINUSE;
    std::fprintf(stderr, "pello-host: cannot listen on 127.0.0.1:%d%s\n", args.port,
                 inUse ? ": the port is in use" : "");
    host.stop();
    return kExitMalformed;
  }
  std::thread serving([&server] { server.serve(); });
  std::printf("pello-host play: open %s\n(Ctrl-C shuts the plug-in down and ends pello-host)\n",
              server.address().c_str());
  std::fflush(stdout);
  while (!gInterrupted)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  server.stop();
  serving.join();
  const std::string problem = host.stop();
  std::printf("pello-host play: the plug-in was shut down%s\n",
              ownPreferences || !problem.empty() ? ""
                                                 : ("; preferences written to " + args.preferences).c_str());
  if (ownPreferences) {
    std::error_code ec;
    std::filesystem::remove(settings.preferences, ec);
  }
  if (!problem.empty()) {
    std::fprintf(stderr, "pello-host: %s\n", problem.c_str());
    return kExitFailed;
  }
  return kExitOk;
}

} // namespace

void addPlayCommand(CLI::App &app, Options &options) {
  auto args = std::make_shared<Arguments>();
  CLI::App *command = app.add_subcommand(
      "play",
      "The palette in a browser: a web server on 127.0.0.1 whose page is the host, driving the plug-in; "
      "it prints the page's address (with its token). Built natively only (not in the Windows builds)");
  command->add_option("DOCUMENT", args->document, "The document to open (JSON; default: the demo's)")
      ->check(inputFile());
  command
      ->add_option(
          "--prefs", args->preferences,
          "The preferences file the host reads and writes (default: a fresh store, removed at the end)")
      ->check(preferencesFile());
  command->add_option("--port", args->port, "The port to listen on (default: a free one)")
      ->check(CLI::Range(0, 65535));
  addPluginOption(*command, options);
  refuseSharedFiles(*command, {{"DOCUMENT", FileRole::reads}, {"--prefs", FileRole::readsAndWrites}}, true);
  command->callback([args, &options] { options.status = play(*args, options); });
}

} // namespace pello::cli
