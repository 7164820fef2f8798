// The plug-in in a stand-in host, as every driver of it works with it: the
// tests' fixtures, pello-host's sessions, the validator, the benchmarks and
// the fuzzers. It loads the module, starts it, clicks palette items by name
// or id with keys held, chooses option-menu entries, answers modal dialogs,
// restarts the host on the same preferences, and reads the document, the
// preferences, the alerts, the dialogs and the call log.
//
// Actions report an Outcome: how a driver treats a refusal (a failed check,
// a failed step, a test assertion) is the driver's business.
#pragma once

#include "pello/harness/ErrorTextListModule.h"
#include "pello/host/Blocks.h"
#include "pello/host/CallLog.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/Host.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pello::harness {

// What came of an action: nothing to say, or why it did not happen.
struct Outcome {
  std::string failure; // empty when the action went through
  explicit operator bool() const { return failure.empty(); }
  static Outcome ok() { return {}; }
  static Outcome failed(std::string why) { return {why.empty() ? std::string("failed") : std::move(why)}; }
};

struct HostedPluginOptions {
  std::filesystem::path module;
  // The preferences file the host reads at its start and writes at the
  // plug-in's shutdown; empty: preferences kept in memory only.
  std::filesystem::path preferences;
  // Called on every new host before the module is loaded (listeners,
  // layout area, logging off).
  std::function<void(host::Host &)> prepare;
  // The error text list the host reads instead of the module's own, entry
  // 1 first (UTF-8); none: the module's.
  std::optional<std::vector<std::string>> errorTexts;
};

class HostedPlugin {
public:
  // A host with nothing loaded yet. One host runs per process.
  explicit HostedPlugin(HostedPluginOptions options);
  explicit HostedPlugin(std::filesystem::path module)
      : HostedPlugin(HostedPluginOptions{std::move(module), {}, {}, std::nullopt}) {}
  ~HostedPlugin();
  HostedPlugin(const HostedPlugin &) = delete;
  HostedPlugin &operator=(const HostedPlugin &) = delete;

  // The host now running; restart() replaces it, so hold no reference to it
  // (or to its components) across a restart.
  host::Host &host() { return *host_; }
  const host::Host &host() const { return *host_; }
  host::Plugin &plugin() { return host_->get<host::Plugin>(); }
  host::DialogManager &dialogs() { return host_->get<host::DialogManager>(); }
  const host::DialogManager &dialogs() const { return host_->get<host::DialogManager>(); }
  host::Document &document() { return host_->get<host::Document>(); }
  const host::Document &document() const { return host_->get<host::Document>(); }
  host::Preferences &preferences() { return host_->get<host::Preferences>(); }
  host::Blocks &blocks() { return host_->get<host::Blocks>(); }
  host::Faults &faults() { return host_->faults(); }
  host::CallLog &log() { return host_->log(); }
  const std::filesystem::path &modulePath() const { return options_.module; }
  const std::filesystem::path &preferencesFile() const { return options_.preferences; }

  // ---- the plug-in's life ----
  // Loads the module; the loader's reason when the host refuses it.
  Outcome load();
  // Startup, then the application-started notification: the palette is up.
  Outcome start();
  Outcome bringUp();
  // The plug-in's startup and shutdown messages on their own, with the
  // plug-in's answer (at shutdown the host writes the preferences file).
  // Once a shutdown has freed the plug-in's record, the host closes the
  // dialogs it left open (a fault spoiled its Destroy) without calling into
  // the plug-in, which could not use them any more.
  ASErr startup();
  ASErr shutdown();
  // Whether the plug-in's record (its globals block) is allocated.
  bool holdsRecord() const;
  // Whether a startup went through and no shutdown was sent since.
  bool started() const { return started_; }
  // The user quits the host and starts it again: the plug-in is shut down
  // if it was started, the old host ends, a new one starts on the same
  // preferences file and loads the module (not started). The document, if
  // `keepDocument`, is carried over as it stands. Fails when the shutdown
  // was refused (the host restarts all the same) or the module cannot be
  // loaded again.
  Outcome restart(bool keepDocument = false);

  // Puts the host right (faults cleared, suites restored, keyboard reads
  // working, the library back in memory if it was unloaded) and sends
  // shutdown for as long as the plug-in still holds anything, at most
  // twice. The code of the first shutdown sent, or 0 when none was needed;
  // `shutdownsSent`, when given, counts the shutdowns sent.
  ASErr settleAndShutDown(int *shutdownsSent = nullptr);
  // Whether the plug-in still holds a palette, a block or a suite.
  bool holdsAnything();

  // ---- the user ----
  // The palette (the newest floating dialog), or null.
  ADMDialogRef palette() const { return dialogs().palette(); }
  // Whether there is a palette to act on, and why not.
  Outcome paletteThere() const;
  // The plug-in's menu item "Pello Palette", or null.
  AIMenuItemHandle menuItem();
  // Clicks a palette item (by id, or by the name sessions give it) with the
  // virtual keys `keys` held.
  Outcome click(int item, std::span<const int> keys = {});
  Outcome click(int item, std::initializer_list<int> keys) {
    return click(item, std::span(keys.begin(), keys.size()));
  }
  Outcome click(std::string_view name, std::span<const int> keys = {});
  // Chooses an entry of the palette's option menu, by index or by its text.
  Outcome choose(int entry, std::span<const int> keys = {});
  Outcome choose(std::string_view text, std::span<const int> keys = {});
  // The user closes the next modal dialog with `item` (without this: OK).
  void answerNextModal(int item);

  // ---- the document ----
  // Opens a document given in the host's JSON form; the reader's reason
  // when the host refuses it.
  Outcome open(const host::Json &document);
  // The open document in the JSON form (null when none is open), and as
  // text ("" when none is open).
  host::Json documentJson() const;
  std::string documentText() const;

  // ---- what was shown ----
  std::vector<std::string> alerts() const { return dialogs().alerts(); }
  // Error dialogs shown since the host started.
  std::vector<host::ModalRecord> errorDialogs() const;

  // ---- the call log ----
  // The log's position now, and what was logged from `from` on.
  std::size_t mark() const { return host_->log().records().size(); }
  std::vector<host::CallRecord> recordsSince(std::string_view op, std::size_t from) const;
  std::size_t callsSince(std::string_view op, std::size_t from) const {
    return recordsSince(op, from).size();
  }
  // The operations from `from` on, without the host's own markers and the
  // basic suite's string comparisons.
  std::vector<std::string> opsSince(std::size_t from) const;

private:
  void startHost();

  HostedPluginOptions options_;
  std::unique_ptr<ErrorTextListModule> errorTexts_; // outlives the host that reads it
  std::unique_ptr<host::Host> host_;
  bool started_ = false;
};

} // namespace pello::harness
