// Platform (Windows): no fork. The work runs in this process (each check
// already runs in a child process of its own), and the choices are kept in
// its own memory.
#include "ChildRun.h"

#include <cstdlib>

namespace pello::validate {

namespace {
constexpr std::uint64_t kActionMark = std::uint64_t{1} << 32;
}

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

ActionScript SharedChoices::script() const {
  ActionScript script;
  for (std::uint64_t word : own_) {
    if (word == kActionMark)
      script.emplace_back();
    else if (!script.empty())
      script.back().push_back(static_cast<std::uint32_t>(word));
  }
  return script;
}

} // namespace pello::validate
