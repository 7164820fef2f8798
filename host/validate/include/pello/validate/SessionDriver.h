// The random session driver: a source of choices (a seeded generator, or the
// bytes of a fuzzer's input) drives one stand-in host through a sequence of
// host actions on the plug-in: lifecycle calls, clicks with modifier keys,
// option-menu entries, documents of every kind of art with bad values,
// selections, unload and reload, faults, missing suites, odd preferences,
// the host's own palette controls. The random group and the session fuzzer
// share it.
#pragma once

#include "pello/validate/Check.h"
#include "pello/host/Plugin.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

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

struct DriverOptions {
  int steps = 200;
  bool faults = true; // inject faults, withdraw suites, damage preferences
  std::string label;  // names the session in stages ("session seed 12")
  // Runs once the module is loaded, before the first action.
  std::function<void(host::Plugin &)> afterLoad;
};

// Runs one session of at most options.steps actions against a fresh host,
// then shuts the plug-in down and checks that nothing is left. Failures go to
// `context`, with the actions so far as its stage.
void runDrivenSession(CheckContext &context, Chooser &chooser, const DriverOptions &options);

} // namespace pello::validate
