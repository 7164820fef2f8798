// The random session driver: a source of choices (a seeded generator, or the
// bytes of a fuzzer's input) drives one stand-in host through a sequence of
// host actions on the plug-in: lifecycle calls, clicks with modifier keys,
// option-menu entries, documents of every kind of art with bad values,
// selections, unload and reload, faults, missing suites, odd preferences,
// the host's own palette controls. The random group and the session fuzzer
// share it.
#pragma once

#include "pello/host/DocumentJson.h"
#include "pello/host/Plugin.h"
#include "pello/validate/Check.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace pello::validate {

class Chooser {
public:
  virtual ~Chooser() = default;
  // A number in [0, bound); bound > 0.
  virtual std::uint32_t below(std::uint32_t bound) = 0;
  // Four raw bytes, for floats of any bit pattern.
  virtual std::uint32_t word() = 0;
  // No more choices worth making (a fuzzer's input ran out).
  virtual bool exhausted() const { return false; }
  // The driver begins its next action (each action's choices follow).
  virtual void nextAction() {}
};

class RandomChooser : public Chooser {
public:
  explicit RandomChooser(std::uint64_t seed) : engine_(seed) {}
  std::uint32_t below(std::uint32_t bound) override;
  std::uint32_t word() override;

private:
  std::mt19937_64 engine_;
};

class ByteChooser : public Chooser {
public:
  ByteChooser(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
  std::uint32_t below(std::uint32_t bound) override;
  std::uint32_t word() override;
  bool exhausted() const override { return at_ >= size_; }

private:
  std::uint8_t byte();
  const std::uint8_t *data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// The choices each action of a session made, in order: a session recorded
// so that any subset of its actions can be run again (shrinking).
using ActionScript = std::vector<std::vector<std::uint32_t>>;

// Plays a recorded script back: each action gets its own choices again
// (0 once they run out, where the host's state asks for more), and the
// session ends with the script.
class ScriptChooser : public Chooser {
public:
  explicit ScriptChooser(const ActionScript &script) : script_(script) {}
  std::uint32_t below(std::uint32_t bound) override { return next() % bound; }
  std::uint32_t word() override { return next(); }
  bool exhausted() const override { return action_ >= script_.size(); }
  void nextAction() override {
    current_ = action_ < script_.size() ? &script_[action_] : nullptr;
    ++action_;
    at_ = 0;
  }

private:
  std::uint32_t next() { return current_ && at_ < current_->size() ? (*current_)[at_++] : 0; }
  const ActionScript &script_;
  const std::vector<std::uint32_t> *current_ = nullptr;
  std::size_t action_ = 0;
  std::size_t at_ = 0;
};

// What a driven session did, as the steps of a session file
// (examples/README.md) that pello-host run replays.
struct SessionDescription {
  // Per action, the steps it made: none for an action that did nothing
  // (a click with no palette); {"do": "open", "document": ...} for a new
  // document; {"do": "-", "what": ...} for an action no session step makes
  // (a withdrawn suite, an odd preference, docking).
  std::vector<host::Json> actions;
  // The final shutdown: clearFaults, a reload if the library was out, the
  // shutdowns sent.
  host::Json finish = host::Json::array();
  int firstFailingStep = 0;       // the action at which the first failure was recorded; 0: at the end
  std::vector<std::string> notes; // the actions as the stages name them

  // When set, told each change as it is made, so that a run in another
  // process that crashes still leaves what it did: 'A' a new action, 'S' a
  // step (JSON) of the current action, 'R' its last step taken back, 'F' a
  // step of the finish, 'N' a note, 'P' the first failing action.
  std::function<void(char change, const std::string &text)> onChange;
  // Makes a change told by onChange (the other process's side).
  void apply(char change, const std::string &text);
};

struct DriverOptions {
  int steps = 200;
  bool faults = true; // inject faults, withdraw suites, damage preferences
  std::string label;  // names the session in stages ("session seed 12")
  // Runs once the module is loaded, before the first action.
  std::function<void(host::Plugin &)> afterLoad;
  // Opens an empty document before the first action, as a session file
  // always has one.
  bool emptyDocumentFirst = false;
  // When set, filled with what the session did, step by step.
  SessionDescription *description = nullptr;
};

// Runs one session of at most options.steps actions against a fresh host,
// then shuts the plug-in down and checks that nothing is left. Failures go to
// `context`, with the actions so far as its stage.
void runDrivenSession(CheckContext &context, Chooser &chooser, const DriverOptions &options);

} // namespace pello::validate
