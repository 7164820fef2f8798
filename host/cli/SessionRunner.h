// Runs a session in the stand-in host: loads the plug-in, starts it, opens
// the document, runs the steps, checks the expectations and shuts down,
// telling the transcript everything. "restart" replaces the host with a new
// one that keeps the preferences file and the document as they are.
#pragma once

#include "SessionScript.h"
#include "Transcript.h"
#include "pello/harness/HostedPlugin.h"
#include "pello/host/DocumentDiff.h"
#include "pello/host/Host.h"
#include "pello/validate/ProcessCounters.h"

#include "AIMenu.h"
#include "AINotifier.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pello::cli {

// Exit statuses of the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;    // an expectation or a step failed
inline constexpr int kExitMalformed = 2; // bad arguments, session or document
inline constexpr int kExitNoPlugin = 3;  // the plug-in could not be loaded
inline constexpr int kExitInternal = 4;  // pello-host itself failed

class SessionRunner {
public:
  SessionRunner(const Session &session, std::filesystem::path plugin, Transcript &transcript);
  ~SessionRunner();

  // Runs the whole session; returns an exit status.
  int run();
  // The same in pieces, for a session whose steps come one by one: the
  // host started (false: the module was refused), each step as it comes
  // (false: it could not run), the shutdown and the summary (the status).
  bool begin();
  bool runStep(std::size_t index, const Step &step);
  int end();
  // Called on every new host once the transcript listens to it (restarts too).
  void setHostPreparation(std::function<void(host::Host &)> prepare) { onNewHost_ = std::move(prepare); }
  // The plug-in in its host, once begin() has started it.
  harness::HostedPlugin &hosted() { return *hosted_; }

  // The document as written at the start (before the first step) and at
  // the end, in the JSON form; the palette as an SVG picture, drawn when it
  // first appeared ("" if it never did).
  const Json &documentBefore() const { return before_; }
  const Json &documentAfter() const { return after_; }
  const std::string &palettePicture() const { return palette_; }

  int expectationsMet() const { return met_; }
  int expectationsFailed() const { return failed_; }
  int stepsFailed() const { return stepsFailed_; }

private:
  bool startHost();
  bool loaded(const harness::Outcome &load);
  host::Host &host() { return hosted_->host(); }
  void shutdownPlugin();
  bool act(const Step &step);
  void expect(const Step &step);
  void expectation(const std::string &what, bool passed, const Json &expected, const Json &actual);
  void afterAction(const Step &step);
  void stepFailed(const std::string &why);
  void notePalette();
  void notePreferences();
  Json documentNow() const;
  const host::DocumentModel *currentModel();
  void noteFaultsFired();
  AIMenuItemHandle otherMenuItem();
  AINotifierHandle pluginNotifier(const std::string &type);
  AINotifierHandle otherNotifier(const std::string &type);

  const Session &session_;
  std::filesystem::path pluginPath_;
  Transcript &transcript_;
  std::function<void(host::Host &)> onNewHost_;
  std::unique_ptr<harness::HostedPlugin> hosted_;
  std::filesystem::path preferences_;
  bool ownPreferences_ = false;
  std::size_t preferenceWarningsSeen_ = 0; // of the current host's preferences store
  Json before_, after_;
  host::DocumentWatch document_; // as the last step left it
  std::string palette_;
  std::size_t currentStep_ = 0;
  int met_ = 0, failed_ = 0, stepsFailed_ = 0;
  // The session's faults, to tell at the end those that never fired.
  struct ArmedFault {
    std::size_t step;
    std::string op;
    bool always;
    bool fired = false;
  };
  std::vector<ArmedFault> armed_;
  std::size_t firedSeen_ = 0; // the host's fired faults already matched
  // What the process held each time the library left memory (`unload`).
  std::vector<validate::ProcessCounters> outOfMemory_;
};

} // namespace pello::cli
