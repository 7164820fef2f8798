#include "pello/validate/Check.h"

namespace pello::validate {

namespace {
constexpr int kMessagesKept = 200;
}

void CheckContext::stage(const std::string &where) {
  stage_ = where;
  if (sink) sink('S', where);
}

void CheckContext::summarize(const std::string &text) {
  summary_ = text;
  if (sink) sink('N', text);
}

void CheckContext::fail(const std::string &message) {
  ++failures_;
  std::string text = stage_.empty() ? message : "[" + stage_ + "] " + message;
  if (static_cast<int>(messages.size()) < kMessagesKept) messages.push_back(text);
  if (sink) sink('F', text);
}

void CheckContext::failAsReported(const std::string &text) {
  ++failures_;
  if (static_cast<int>(messages.size()) < kMessagesKept) messages.push_back(text);
  if (sink) sink('F', text);
}

void CheckContext::warn(const std::string &message) {
  ++warnings_;
  if (static_cast<int>(warnings.size()) < kMessagesKept) warnings.push_back(message);
  if (sink) sink('W', message);
}

bool CheckContext::expect(bool ok, const std::string &message) {
  if (!ok) fail(message);
  return ok;
}

const std::vector<Check> &allChecks() {
  static const std::vector<Check> checks = [] {
    std::vector<Check> all;
    for (auto group : {loadChecks, lifecycleChecks, cyclesChecks, orderChecks, suitesChecks, faultsChecks,
                       dataChecks, randomChecks}) {
      std::vector<Check> some = group();
      all.insert(all.end(), some.begin(), some.end());
    }
    return all;
  }();
  return checks;
}

} // namespace pello::validate
