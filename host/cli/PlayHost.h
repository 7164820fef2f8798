// pello-host play's host: the plug-in in the stand-in host, run on one
// thread of its own, as the host's user-interface thread runs it. The web
// server's threads hand it work and wait; nothing of the plug-in is entered
// from any other thread. A modal dialog or an alert holds that thread, inside
// the plug-in's call, until the page answers it.
//
// Each step the page asks for is a session step (the form `pello-host run`
// reads), checked as a session's steps are, run by the session runner, and
// recorded with expectations of the state it reached.
#pragma once

#include "SessionScript.h"

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace pello::cli {

class PlayState;

class PlayHost {
public:
  struct Settings {
    std::filesystem::path plugin;
    std::filesystem::path preferences; // kept across restarts and documents
    std::string documentText;          // the document's JSON, already checked
    std::string documentName;
  };
  explicit PlayHost(Settings settings);
  ~PlayHost();
  PlayHost(const PlayHost &) = delete;
  PlayHost &operator=(const PlayHost &) = delete;

  // Starts the thread, loads the module and starts the plug-in on the
  // document; false with the loader's reason when the module is refused.
  bool start(std::string &why);
  // Shuts the plug-in down (its preferences are written) and ends the
  // thread; an open dialog is closed with OK first. Returns why the
  // preferences could not be written ("" when they were, or nothing ran).
  std::string stop();

  // What the page gets: an HTTP status and a JSON body (the state, or
  // {"error": ...}).
  struct Reply {
    int status = 200;
    Json body;
  };
  // A session step, e.g. {"do": "click", "item": "up", "keys": ["shift"]}.
  Reply act(const Json &step);
  // The open dialog or alert is closed with `item` (1: OK).
  Reply answer(int item);
  // A new document (checked as `run` checks a session's): the plug-in is
  // shut down and started again on it, with the same preferences file; the
  // recording starts again.
  Reply open(const std::string &documentText, const std::string &name);
  // The state the last step left (with the whole transcript), the
  // recording as a session file.
  Reply state();
  Reply recording();
  // The document before the last step, for the ghost overlay.
  Reply previousPicture();

private:
  // One piece of work for the plug-in thread, with what it left: each
  // waiter reads its own task's state, never another's.
  struct Task {
    std::function<void()> work;
    bool done = false;
    Json outcome;             // the state once done, with its refusal
    std::uint64_t pauses = 0; // the dialogs it opened so far
    Json paused;              // the state at the latest one
  };
  // Runs `work` on the plug-in thread; returns once it is done or waits for
  // the user in a dialog.
  Reply submit(std::function<void()> work);
  // Waits (holding `lock`) until `task` is done or opens another dialog
  // than the `pauses`th.
  Reply awaitTask(std::unique_lock<std::mutex> &lock, const std::shared_ptr<Task> &task,
                  std::uint64_t pauses);
  void threadMain();
  Json runTask(Task &task);
  // On the plug-in thread: publishes `dialog` and waits for the answer.
  int waitForUser(Json dialog);
  std::function<void(host::Host &)> preparation();

  Settings settings_;
  std::unique_ptr<PlayState> play_; // touched on the plug-in thread only
  std::thread thread_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::shared_ptr<Task> queued_;  // handed to the plug-in thread, not yet taken
  std::shared_ptr<Task> current_; // queued or running; null when the thread is free
  bool stopRequested_ = false, stopping_ = false, waitingForUser_ = false;
  bool wholeTranscript_ = false; // the plug-in thread's
  std::optional<int> answer_;
  std::string preferencesProblem_; // the plug-in thread's, read after it ends
};

} // namespace pello::cli
