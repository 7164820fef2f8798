// pello-host session: the plug-in's lifecycle in short: load, startup, the
// About box, one call made to fail so that the error dialog shows, shutdown.
#include "Commands.h"
#include "FileArguments.h"
#include "SessionRunner.h"
#include "Transcript.h"
#include "pello/harness/HostedPlugin.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/Blocks.h"
#include "pello/host/Menus.h"
#include "pello/host/Notifiers.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"

#include "SPBlocks.h"

#include <cstdio>

namespace pello::cli {

namespace {

void listHostState(host::Host &host, Transcript &transcript) {
  for (const auto &item : host.get<host::Menus>().items())
    transcript.note("menu item \"" + item->text + "\" in \"" + item->group + "\" (key \"" + item->key +
                    "\")" + (item->checked ? ", checked" : ""));
  for (const auto &notifier : host.get<host::Notifiers>().all())
    transcript.note("notifier \"" + notifier->name + "\" for \"" + notifier->type + "\"");
  auto &blocks = host.get<host::Blocks>();
  transcript.note("live blocks: " + std::to_string(blocks.liveCount()) + " (" +
                  std::to_string(blocks.liveBytes()) + " bytes)");
}

int runLifecycle(const std::filesystem::path &module, const std::string &preferences, bool verbose) {
  reportCrashesOf(module);
  Transcript transcript(stdout, Transcript::Format::text, verbose);
  harness::HostedPlugin hosted(harness::HostedPluginOptions{
      module, preferences, [&](host::Host &host) { transcript.attach(host); }, std::nullopt});
  host::Host &host = hosted.host();
  // The transcript stops listening before the host ends.
  struct Detach {
    Transcript &transcript;
    ~Detach() { transcript.detach(); }
  } detach{transcript};
  for (const std::string &warning : hosted.preferences().warnings())
    transcript.note("warning: " + warning);

  auto &plugin = hosted.plugin();
  transcript.heading("Load " + module.string());
  if (harness::Outcome loaded = hosted.load(); !loaded) {
    transcript.note("refused: " + loaded.failure);
    return kExitNoPlugin;
  }
  const host::PiPLInfo &pipl = plugin.module()->pipl();
  transcript.note("PiPL: kind 'SPEA', interface version " + std::to_string(pipl.interfaceVersion) +
                  ", entry point \"" + pipl.entryPoint + "\"");

  transcript.heading("Startup");
  hosted.startup();
  transcript.flush();
  listHostState(host, transcript);

  transcript.heading("About box (the user presses OK)");
  plugin.about();
  transcript.flush();

  // The "AI Update" call for the menu item, with the host short of memory
  // when the plug-in acquires its 27th suite: the acquisition alert, then the
  // error dialog for the code.
  transcript.heading("Menu update with the host out of memory at the 27th suite (the user presses OK)");
  host.faults().failOnCall("SPBasic::AcquireSuite", 27, kSPOutOfMemoryError);
  plugin.menuUpdate(hosted.menuItem());
  host.faults().clear();
  transcript.flush();

  transcript.heading("Shutdown");
  const std::size_t warned = hosted.preferences().warnings().size();
  hosted.shutdown();
  transcript.flush();
  listHostState(host, transcript);
  // The file is written at shutdown; a file that could not be written is said so, not reported as saved.
  const std::vector<std::string> &warnings = hosted.preferences().warnings();
  for (std::size_t i = warned; i < warnings.size(); ++i)
    transcript.note("warning: " + warnings[i]);
  if (warnings.size() > warned) {
    std::fprintf(stderr, "pello-host: --prefs: %s\n", warnings.back().c_str());
    return kExitMalformed;
  }
  if (!preferences.empty()) transcript.note("preferences written to " + preferences);
  int holds = host.suites().totalHolds();
  if (holds != 0) transcript.note("suites still held: " + std::to_string(holds));
  bool clean = host.get<host::Blocks>().liveCount() == 0 && holds == 0;
  transcript.heading(clean ? "Session ended cleanly" : "Session ended with resources left behind");
  return clean ? kExitOk : kExitFailed;
}

} // namespace

void addSessionCommand(CLI::App &app, Options &options) {
  struct Arguments {
    std::string preferences;
    bool verbose = false;
  };
  auto args = std::make_shared<Arguments>();
  CLI::App *session = app.add_subcommand(
      "session", "The plug-in's lifecycle in short: startup, About, an error dialog, shutdown");
  session->add_option("--prefs", args->preferences, "The preferences file (default: none, kept in memory)")
      ->check(preferencesFile());
  session->add_flag("--verbose", args->verbose, "Print every host call, suite acquisitions included");
  addPluginOption(*session, options);
  refuseSharedFiles(*session, {{"--prefs", FileRole::readsAndWrites}}, true);
  session->callback([args, &options] {
    options.status = runLifecycle(pluginPath(options.plugin), args->preferences, args->verbose);
  });
}

} // namespace pello::cli
