// What a child leaves its parent, read on the parent's side: the choices it
// recorded, and its context's lines made again in the parent's context.
#include "ChildRun.h"

namespace pello::validate {

std::function<void(char kind, const std::string &text)>
contextLines(const std::function<void(const std::string &)> &send) {
  return [send](char kind, const std::string &text) {
    std::string line(1, kind);
    for (char c : text)
      line += (c == '\n' || c == '\r') ? ' ' : c;
    send(line);
  };
}

ActionScript SharedChoices::script() const {
  ActionScript script;
  for (std::uint64_t word : recorded()) {
    if (word == kActionMark)
      script.emplace_back();
    else if (!script.empty())
      script.back().push_back(static_cast<std::uint32_t>(word));
  }
  return script;
}

void applyContextLine(CheckContext &context, const std::string &line) {
  if (line.empty()) return;
  const std::string text = line.substr(1);
  switch (line[0]) {
  case 'S':
    context.stage(text);
    break;
  case 'F':
    context.failAsReported(text);
    break;
  case 'W':
    context.warn(text);
    break;
  default:
    break;
  }
}

} // namespace pello::validate
