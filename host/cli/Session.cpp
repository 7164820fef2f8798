#include "Session.h"

#include "Transcript.h"
#include "pello/host/Blocks.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Menus.h"
#include "pello/host/Notifiers.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"

#include "ADMDialog.h"
#include "SPBlocks.h"

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

} // namespace

int runSession(const SessionOptions &options, std::FILE *out) {
  host::Host host;
  Transcript transcript(host, out, options.verbose);
  auto &prefs = host.get<host::Preferences>();
  if (!options.preferences.empty()) prefs.setFile(options.preferences);
  for (const std::string &warning : prefs.warnings())
    transcript.note("warning: " + warning);

  auto &plugin = host.get<host::Plugin>();
  transcript.heading("Load " + options.plugin.string());
  if (plugin.load(options.plugin) != 0) {
    std::fprintf(out, "   refused: %s\n", plugin.lastError().c_str());
    return 2;
  }
  const host::PiPLInfo &pipl = plugin.module()->pipl();
  transcript.note("PiPL: kind 'SPEA', interface version " + std::to_string(pipl.interfaceVersion) +
                  ", entry point \"" + pipl.entryPoint + "\"");

  transcript.heading("Startup");
  plugin.startup();
  listHostState(host, transcript);

  transcript.heading("About box (the user presses OK)");
  plugin.about();

  // The "AI Update" call for the menu item, with the host short of memory
  // when the plug-in acquires its 27th suite: the acquisition alert, then the
  // error dialog for the code.
  transcript.heading("Menu update with the host out of memory at the 27th suite (the user presses OK)");
  host.faults().failOnCall("SPBasic::AcquireSuite", 27, kSPOutOfMemoryError);
  host::MenuItem *item = host.get<host::Menus>().find("Pello Palette Menu Item");
  plugin.menuUpdate(item ? item->handle() : nullptr);
  host.faults().clear();

  transcript.heading("Shutdown");
  plugin.shutdown();
  listHostState(host, transcript);
  if (!options.preferences.empty()) transcript.note("preferences written to " + options.preferences.string());
  int holds = host.suites().totalHolds();
  if (holds != 0) transcript.note("suites still held: " + std::to_string(holds));
  bool clean = host.get<host::Blocks>().liveCount() == 0 && holds == 0;
  transcript.heading(clean ? "Session ended cleanly" : "Session ended with resources left behind");
  return clean ? 0 : 1;
}

} // namespace pello::cli
