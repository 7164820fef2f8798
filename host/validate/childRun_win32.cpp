// Platform (Windows): no fork. The work runs in this process (each check
// already runs in a child process of its own), and the choices are kept in
// its own memory.
#include "ChildRun.h"

#include <cstdlib>

namespace pello::validate {

bool childRunsAvailable() {
  return false;
}

ChildEnd runInChild(const std::function<void(const std::function<void(const std::string &)> &send)> &work,
                    const std::function<void(const std::string &line)> &onLine) {
  work(onLine);
  return ChildEnd{};
}

void endAsChildEnded(const ChildEnd &end) {
  std::exit(end.exitStatus != 0 ? end.exitStatus : 1);
}

SharedChoices::SharedChoices() = default;
SharedChoices::~SharedChoices() = default;

void SharedChoices::nextAction() {
  own_.push_back(kActionMark);
}

void SharedChoices::add(std::uint32_t value) {
  own_.push_back(value);
}

std::span<const std::uint64_t> SharedChoices::recorded() const {
  return own_;
}

} // namespace pello::validate
