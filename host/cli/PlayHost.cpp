#include "PlayHost.h"

#include "PlayState.h"
#include "SvgPalette.h"
#include "pello/host/DialogManager.h"
#include "pello/host/JsonLimits.h"

#include <exception>
#include <memory>

namespace pello::cli {

namespace {

constexpr int kOkItem = 1;

PlayHost::Reply refusal(int status, const std::string &why) {
  return {status, Json{{"error", why}}};
}

// A modal dialog as the page draws it: from its resources, with the places
// the user can click.
Json modalView(host::DialogManager &dm, ADMDialogRef dialog) {
  Json view{
      {"kind", "modal"}, {"title", ""}, {"svg", ""}, {"targets", Json::array()}, {"buttons", Json::array()}};
  std::optional<host::DialogInfo> info = dm.info(dialog);
  if (!info) return view;
  view["title"] = info->title;
  for (const host::ItemInfo &item : info->items)
    if (item.kind == host::ItemKind::PushButton && item.visible)
      view["buttons"].push_back(Json{{"item", static_cast<std::int16_t>(item.id)}, {"text", item.text}});
  if (const host::PluginModule *module = dm.moduleFor(info->plugin)) {
    try {
      view["svg"] = paletteSvg(*info, *module);
      for (const PaletteTarget &t : paletteTargets(*info, *module))
        view["targets"].push_back(Json{{"item", static_cast<std::int16_t>(t.item)},
                                       {"entry", t.entry},
                                       {"box", {t.left, t.top, t.width, t.height}}});
    } catch (const std::exception &) {
      // A dialog its resources cannot draw is answered by its buttons.
    }
  }
  return view;
}

} // namespace

PlayHost::PlayHost(Settings settings) : settings_(std::move(settings)) {}

PlayHost::~PlayHost() {
  stop();
}

// Every new host's dialog manager hands its modal dialogs and alerts to
// the page, through the user's answers.
std::function<void(host::Host &)> PlayHost::preparation() {
  return [this](host::Host &host) {
    auto &dm = host.get<host::DialogManager>();
    dm.setModalUser([this](host::DialogManager &manager, ADMDialogRef dialog) {
      const int item = waitForUser(modalView(manager, dialog));
      manager.click(dialog, item);
    });
    dm.setAlertUser([this](const std::string &text) {
      waitForUser(Json{{"kind", "alert"}, {"text", text}});
    });
  };
}

bool PlayHost::start(std::string &why) {
  thread_ = std::thread([this] { threadMain(); });
  // The start may open an alert and return before it is answered: what it
  // finds outlives this call.
  struct Start {
    bool done = false, started = false;
    std::string why;
  };
  auto outcome = std::make_shared<Start>();
  Reply reply = submit([this, outcome] {
    play_ = std::make_unique<PlayState>(PlayState::Settings{settings_.plugin, settings_.preferences,
                                                            settings_.documentText, settings_.documentName},
                                        preparation());
    std::string why;
    const bool started = play_->begin(why);
    std::lock_guard lock(mutex_);
    *outcome = Start{true, started, why};
  });
  std::unique_lock lock(mutex_);
  if (!outcome->done) {
    // Waiting for the page: the plug-in is running.
    return reply.status == 200;
  }
  why = outcome->why;
  return outcome->started && reply.status == 200;
}

std::string PlayHost::stop() {
  if (!thread_.joinable()) return preferencesProblem_;
  {
    std::unique_lock lock(mutex_);
    // Open dialogs are closed with OK; work already running finishes.
    stopRequested_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return current_ == nullptr; });
    auto shutdown = std::make_shared<Task>();
    shutdown->work = [this] {
      if (play_) preferencesProblem_ = play_->end();
      play_.reset();
    };
    current_ = queued_ = shutdown;
    stopping_ = true;
    changed_.notify_all();
  }
  thread_.join();
  return preferencesProblem_;
}

void PlayHost::threadMain() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return queued_ != nullptr || stopping_; });
    if (!queued_) return;
    std::shared_ptr<Task> task = std::move(queued_);
    lock.unlock();
    Json outcome = runTask(*task);
    lock.lock();
    task->outcome = std::move(outcome);
    task->done = true;
    current_.reset();
    changed_.notify_all();
    if (stopping_) return;
  }
}

// On the plug-in thread: the task's work, then the state it left.
Json PlayHost::runTask(Task &task) {
  Json error;
  try {
    task.work();
  } catch (const SessionError &e) {
    error = Json{{"status", 400}, {"error", e.what()}};
  } catch (const std::exception &e) {
    error = Json{{"status", 500}, {"error", e.what()}};
  }
  Json snapshot;
  try {
    snapshot = play_ ? play_->snapshot(wholeTranscript_) : Json::object();
    wholeTranscript_ = false;
  } catch (const std::exception &e) {
    snapshot = Json{{"error", e.what()}};
  }
  if (!error.is_null()) snapshot["refused"] = error;
  return snapshot;
}

PlayHost::Reply PlayHost::submit(std::function<void()> work) {
  std::unique_lock lock(mutex_);
  if (stopRequested_) return refusal(503, "pello-host is shutting down");
  if (current_)
    return refusal(409,
                   waitingForUser_ ? "a dialog is open: answer it first" : "the host is busy with a step");
  auto task = std::make_shared<Task>();
  task->work = std::move(work);
  current_ = queued_ = task;
  changed_.notify_all();
  return awaitTask(lock, task, 0);
}

PlayHost::Reply PlayHost::answer(int item) {
  std::unique_lock lock(mutex_);
  if (!waitingForUser_ || answer_ || !current_) return refusal(409, "no dialog is open");
  answer_ = item;
  const std::shared_ptr<Task> task = current_;
  changed_.notify_all();
  return awaitTask(lock, task, task->pauses);
}

// The state the task left, with its refusal as the reply's status; or, when
// it opened a dialog, the state with the dialog.
PlayHost::Reply PlayHost::awaitTask(std::unique_lock<std::mutex> &lock, const std::shared_ptr<Task> &task,
                                    std::uint64_t pauses) {
  changed_.wait(lock, [&] { return task->done || task->pauses != pauses; });
  if (!task->done) return {200, task->paused};
  Reply reply{200, task->outcome};
  if (task->outcome.contains("refused")) {
    reply.status = task->outcome["refused"]["status"].get<int>();
    reply.body["error"] = task->outcome["refused"]["error"];
  }
  return reply;
}

int PlayHost::waitForUser(Json dialog) {
  Json snapshot = play_ ? play_->snapshot(false) : Json::object();
  snapshot["dialog"] = std::move(dialog);
  std::unique_lock lock(mutex_);
  // The dialog belongs to the running task: its waiter gets this state.
  current_->paused = std::move(snapshot);
  ++current_->pauses;
  waitingForUser_ = true;
  answer_.reset();
  changed_.notify_all();
  changed_.wait(lock, [this] { return answer_.has_value() || stopRequested_; });
  const int item = answer_.value_or(kOkItem);
  answer_.reset();
  waitingForUser_ = false;
  return item;
}

PlayHost::Reply PlayHost::act(const Json &step) {
  return submit([this, step] { play_->step(step); });
}

PlayHost::Reply PlayHost::open(const std::string &documentText, const std::string &name) {
  return submit([this, documentText, name] {
    // Checked as a session's own document is; never a path to read.
    Json parsed;
    try {
      parsed = host::parseBoundedJson<Json>(documentText);
    } catch (const host::JsonNestingError &e) {
      throw SessionError(std::string("the document is refused: ") + e.what());
    } catch (const Json::exception &) {
    }
    if (!parsed.is_object()) throw SessionError("the document is not a JSON object");
    const std::string checked =
        readSession(Json{{"document", parsed}, {"steps", Json::array()}}, ".", name).documentText;
    std::string why;
    play_->end();
    play_.reset();
    settings_.documentText = checked;
    settings_.documentName = name;
    play_ = std::make_unique<PlayState>(
        PlayState::Settings{settings_.plugin, settings_.preferences, checked, name}, preparation());
    if (!play_->begin(why)) throw std::runtime_error(why);
  });
}

PlayHost::Reply PlayHost::state() {
  {
    std::unique_lock lock(mutex_);
    if (waitingForUser_ && current_) return {200, current_->paused};
  }
  return submit([this] { wholeTranscript_ = true; });
}

PlayHost::Reply PlayHost::previousPicture() {
  std::string picture;
  Reply reply = submit([this, &picture] { picture = play_->previousPicture(); });
  if (reply.status != 200) return reply;
  return {200, Json{{"svg", picture}}};
}

PlayHost::Reply PlayHost::recording() {
  Json session;
  Reply reply = submit([this, &session] { session = play_->recording(); });
  if (reply.status != 200) return reply;
  return {200, session};
}

} // namespace pello::cli
