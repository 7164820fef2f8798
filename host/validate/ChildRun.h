// Work run in a child process where the platform has fork, so that a
// plug-in that crashes there ends the child only: random sessions that may
// crash, and the shrinker's trials. The child talks back in lines, and a
// random session's choices go into memory the two processes share, so that
// a session that crashed leaves the choices it made up to the crash.
#pragma once

#include "pello/validate/SessionDriver.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace pello::validate {

// Whether runInChild really uses another process here (false on Windows).
bool childRunsAvailable();

// How a child ended: "" normally, else "signal 11 (Segmentation fault)" or
// "exit status 1" (a sanitizer's report ends so).
struct ChildEnd {
  std::string how;
  int signal = 0;
  int exitStatus = 0;
  bool crashed() const { return !how.empty(); }
};

// Runs `work` in a child (here, without fork), giving it a way to send one
// line (no newline in it) that reaches `onLine` here as it comes. The child
// dies with this process.
ChildEnd runInChild(const std::function<void(const std::function<void(const std::string &)> &send)> &work,
                    const std::function<void(const std::string &line)> &onLine);

// Ends this process as `end` says the child ended: the same signal, or the
// same exit status.
[[noreturn]] void endAsChildEnded(const ChildEnd &end);

// Marks the start of an action among the recorded choices (which are below
// 2^32).
inline constexpr std::uint64_t kActionMark = std::uint64_t{1} << 32;

// Choices recorded where a child's records outlive it: memory shared with
// the parent (on Windows, this process's own).
class SharedChoices {
public:
  SharedChoices();
  ~SharedChoices();
  SharedChoices(const SharedChoices &) = delete;
  SharedChoices &operator=(const SharedChoices &) = delete;

  void nextAction();
  void add(std::uint32_t value);
  // The choices so far, action by action.
  ActionScript script() const;

private:
  // The words recorded so far (platform).
  std::span<const std::uint64_t> recorded() const;
  // Each value, and kActionMark before each action's values: shared memory
  // ([0] the count) where there is fork, else this process's own.
  std::uint64_t *words_ = nullptr;
  std::size_t capacity_ = 0;
  std::vector<std::uint64_t> own_;
};

// Passes another chooser's choices on and records them in shared memory.
class SharedRecordingChooser : public Chooser {
public:
  SharedRecordingChooser(Chooser &inner, SharedChoices &choices) : inner_(inner), choices_(choices) {}
  std::uint32_t below(std::uint32_t bound) override { return kept(inner_.below(bound)); }
  std::uint32_t word() override { return kept(inner_.word()); }
  bool exhausted() const override { return inner_.exhausted(); }
  void nextAction() override {
    inner_.nextAction();
    choices_.nextAction();
  }

private:
  std::uint32_t kept(std::uint32_t value) {
    choices_.add(value);
    return value;
  }
  Chooser &inner_;
  SharedChoices &choices_;
};

// A check's stages, failures and warnings as lines ("S..", "F..", "W.."),
// and back into a context.
std::function<void(char kind, const std::string &text)>
contextLines(const std::function<void(const std::string &)> &send);
void applyContextLine(CheckContext &context, const std::string &line);

} // namespace pello::validate
