// A check's lines across a child process: what the child's context tells,
// made again in the parent's.
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
