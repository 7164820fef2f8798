// The plug-in under test in a stand-in host, as the checks use it: the
// harness's actions, their refusals recorded as failures of the check, and
// the state that must be clean when the plug-in has been shut down.
#pragma once

#include "pello/harness/HostedPlugin.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/Blocks.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/Host.h"
#include "pello/host/Menus.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"
#include "pello/validate/Check.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace pello::validate {

// A host error code as the error dialog shows it: decimal, or four characters.
inline std::string codeText(ASErr code) {
  return harness::errorCodeText(code);
}

// What a host fault may leave behind by the plug-in's own rules: a failed
// ReleaseSuite ends the release walk with the later suites still held, a
// failed FreeBlock or ReleasePlugin leaves its block or reference; a
// palette whose destroy procedure the host never set or never called keeps
// its holds on the suites and the plug-in.
struct Allowances {
  bool holds = false;
  bool blocks = false;
  bool access = false;
  bool dialogs = false;
  bool contexts = false; // a failed PopAppContext leaves its context
};

class HostSession {
public:
  // `preferences`: the preferences file (empty: kept in memory).
  explicit HostSession(CheckContext &context, const std::filesystem::path &preferences = {});
  ~HostSession();
  HostSession(const HostSession &) = delete;
  HostSession &operator=(const HostSession &) = delete;

  harness::HostedPlugin hosted;
  host::Host &host;
  host::Plugin &plugin;
  host::DialogManager &dialogs;
  host::Document &document;
  host::Preferences &preferences;
  host::Blocks &blocks;
  CheckContext &context;

  // Loads the module; a refusal fails the check.
  bool load();
  // Load, startup, application started: the palette is up. False (with a
  // failure recorded) when any step fails.
  bool bringUp();
  // Startup and application started, the module loaded already.
  bool start();

  ADMDialogRef palette() const { return dialogs.palette(); }
  AIMenuItemHandle menuItem() { return hosted.menuItem(); }
  // The user's actions on the palette; false when the palette or the item
  // is not there.
  bool click(int item, std::initializer_list<int> keys = {}) { return bool(hosted.click(item, keys)); }
  bool choose(int entry) { return bool(hosted.choose(entry)); }

  // Opens a document given as JSON; a refused document fails the check.
  bool open(const host::Json &json);
  std::string documentText() const;

  // Clears every fault and suite restriction, then shuts the plug-in down
  // for as long as it still holds anything (a shutdown that a fault spoiled
  // is repeated once), and checks that nothing is left.
  // `shutdownsSent`, when given, counts the shutdowns sent.
  void finish(const Allowances &allowed = {}, int *shutdownsSent = nullptr);
  // Checks that the plug-in holds nothing in the host any more.
  void checkClean(const Allowances &allowed = {});
  // What the faults that fired so far allow to be left.
  Allowances allowancesFromFaults() const;
  // The preferences file, written by the host, reads back as the host's
  // format with the palette's keys of the right types.
  void checkPreferencesFile();

  // Error dialogs shown since the host started.
  std::vector<host::ModalRecord> errorDialogs() const { return hosted.errorDialogs(); }
};

} // namespace pello::validate
