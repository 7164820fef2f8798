// Fault injection: make a host operation fail with a chosen code on its k-th
// call from now, or on every call. Operations are named "Suite::Function",
// e.g. "AIPathStyle::SetPathStyle" or "SPBasic::AcquireSuite".
#pragma once

#include "ASTypes.h"

#include <map>
#include <string>
#include <vector>

namespace pello::host {

class OpSlot;

class Faults {
public:
  // Fail the k-th call (1-based) of `op` counted from now.
  void failOnCall(const std::string &op, int k, ASErr code);
  // Fail every call of `op` until cleared.
  void failAlways(const std::string &op, ASErr code);
  // Remove every rule (call counts stay).
  void clear();
  bool armed() const { return !rules_.empty(); }
  bool hasRule(const std::string &op) const { return rules_.count(op) != 0; }

  // Every operation the host records and can make fail, sorted.
  static const std::vector<std::string> &knownOperations();
  static bool isKnownOperation(const std::string &op);

  // Calls of `op` made since the host started (or since resetCounts).
  long long count(const std::string &op) const;
  // Every operation called at least once, with its count.
  std::map<std::string, long long> counts() const;
  void resetCounts();

  // Faults that fired, in order.
  struct Fired {
    std::string op;
    long long call;
    ASErr code;
  };
  const std::vector<Fired> &fired() const { return fired_; }

  // For HostCall: counts the call of `slot` and returns the code to fail
  // it with, or 0.
  ASErr onCall(OpSlot &slot);

private:
  struct Rule {
    long long atCall; // absolute call number to fail; 0 = every call
    ASErr code;
  };
  void arm(const std::string &op);
  std::map<std::string, std::vector<Rule>> rules_;
  std::vector<Fired> fired_;
};

} // namespace pello::host
