// The record of every host call the plug-in makes: operation, the arguments
// that matter, and the result.
#pragma once

#include "ASTypes.h"
#include "pello/host/CallValue.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pello::host {

struct CallRecord {
  std::string op;            // "Suite::Function"
  std::vector<CallArg> args; // the arguments that matter, in order
  ASErr result = 0;          // the code returned; 0 for functions without one
  bool injected = false;     // the result was a fault injected by the test

  // The first argument called `name`, or null.
  const CallValue *arg(std::string_view name) const {
    for (const CallArg &a : args)
      if (a.name == name) return &a.value;
    return nullptr;
  }
  // "name=value, ..." as the log prints it.
  std::string argsText() const { return host::argsText(args); }
};

class CallLog {
public:
  // Logging costs a record per call; benchmarks switch it off.
  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { enabled_ = on; }

  void add(CallRecord record);
  const std::vector<CallRecord> &records() const { return records_; }
  void clear() { records_.clear(); }

  // Number of records of `op`.
  std::size_t count(std::string_view op) const;
  // The ops of the records from `from` on, in order.
  std::vector<std::string> ops(std::size_t from = 0) const;

  // Called for every record as it is added (transcripts).
  void setListener(std::function<void(const CallRecord &)> listener) { listener_ = std::move(listener); }

private:
  bool enabled_ = true;
  std::vector<CallRecord> records_;
  std::function<void(const CallRecord &)> listener_;
};

} // namespace pello::host
