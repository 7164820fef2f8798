#include "pello/host/Faults.h"

#include "pello/host/HostCall.h"

#include <algorithm>

namespace pello::host {

namespace {
void disarmSlot(OpSlot &slot, void *) {
  slot.armed = false;
}
void zeroSlot(OpSlot &slot, void *) {
  slot.calls = 0;
}
} // namespace

const std::vector<std::string> &Faults::knownOperations() {
  static const std::vector<std::string> known = {
#include "HostOperations.inc"
  };
  return known;
}

bool Faults::isKnownOperation(const std::string &op) {
  const std::vector<std::string> &known = knownOperations();
  return std::binary_search(known.begin(), known.end(), op);
}

void Faults::arm(const std::string &op) {
  if (OpSlot *slot = OpSlot::find(op)) slot->armed = true;
}

void Faults::failOnCall(const std::string &op, int k, ASErr code) {
  OpSlot *slot = OpSlot::find(op);
  long long now = slot ? slot->calls : 0;
  rules_[op].push_back(Rule{now + (k < 1 ? 1 : k), code});
  arm(op);
}

void Faults::failAlways(const std::string &op, ASErr code) {
  rules_[op].push_back(Rule{0, code});
  arm(op);
}

void Faults::clear() {
  rules_.clear();
  OpSlot::forEach(disarmSlot, nullptr);
}

long long Faults::count(const std::string &op) const {
  OpSlot *slot = OpSlot::find(op);
  return slot ? slot->calls : 0;
}

std::map<std::string, long long> Faults::counts() const {
  std::map<std::string, long long> out;
  OpSlot::forEach(
      [](OpSlot &slot, void *ctx) {
        if (slot.calls > 0) (*static_cast<std::map<std::string, long long> *>(ctx))[slot.name()] = slot.calls;
      },
      &out);
  return out;
}

void Faults::resetCounts() {
  OpSlot::forEach(zeroSlot, nullptr);
}

ASErr Faults::onCall(OpSlot &slot) {
  ++slot.calls;
  if (!slot.armed) return 0;
  auto it = rules_.find(slot.name());
  if (it == rules_.end()) {
    // A rule set before the slot existed arms it on its first call.
    return 0;
  }
  for (const Rule &rule : it->second) {
    if (rule.atCall == 0 || rule.atCall == slot.calls) {
      fired_.push_back(Fired{slot.name(), slot.calls, rule.code});
      return rule.code;
    }
  }
  return 0;
}

} // namespace pello::host
