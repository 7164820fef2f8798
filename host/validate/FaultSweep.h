// The fault sweep: a scenario run in a fresh host with one host call failed,
// what the run did, and the judges of a faulted run against the fault-free
// run of the same scenario.
#pragma once

#include "pello/validate/Check.h"
#include "pello/validate/HostSession.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace pello::validate::faultsweep {

enum class Kind {
  Call,      // PluginMain calls: judged by their codes and the error dialog
  Operation, // an art operation: judged by its writes and alerts
  Copy,      // the matrix copy: judged by the held matrix shown afterwards
};

struct RunState {
  std::string oldShow; // Copy: the held matrix as shown before the copy
  std::vector<ASErr> allowedCodes;
};

struct Scenario {
  const char *name;
  Kind kind;
  bool (*setup)(HostSession &, RunState &);
  std::vector<ASErr> (*action)(HostSession &);
};

// What one run of a scenario's action did.
struct Trace {
  std::vector<ASErr> codes;
  std::vector<std::string> writes;    // op(args) of each write the host accepted
  std::vector<std::string> snapshots; // the document before the action and after each write
  std::vector<std::string> alerts;
  std::size_t errorDialogs = 0;
  std::string lastErrorCodeText;
  std::map<std::string, long long> calls; // per operation, during the action
  bool fired = false;
  std::string firedName;         // the failed call's "name" (the suite a failed AcquireSuite asked for)
  bool dialogSuitesHeld = false; // at the failure: the error dialog could be shown
};

struct Fault {
  std::string op;
  long long k = 0;
  ASErr code = 0;
};

// Runs the scenario without faults, then once for every call of every host
// operation the fault-free run made, failing that call.
void sweep(CheckContext &context, const Scenario &scenario);

void judgeCall(CheckContext &context, const Scenario &scenario, const Fault &fault, const Trace &trace,
               const RunState &state);
void judgeOperation(CheckContext &context, const Scenario &scenario, const Fault &fault, const Trace &trace,
                    const Trace &baseline, const RunState &state);

} // namespace pello::validate::faultsweep
