// The suites the stand-in host offers, by name and version, with the holds
// on each. A suite can be withdrawn or offered at another version only, so a
// test can reproduce the suite-not-found error.
#pragma once

#include "ASTypes.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pello::host {

class SuiteRegistry {
public:
  // Offers `table` as suite `name` at `version`.
  void add(const std::string &name, ai_int32 version, const void *table);
  // Stops offering the suite (acquisition fails with kSPSuiteNotFoundError).
  void withdraw(const std::string &name);
  // Offers the suite at `version` only, in place of its own version.
  void offerAt(const std::string &name, ai_int32 version);
  // Undoes withdraw and offerAt.
  void restore(const std::string &name);

  ASErr acquire(std::string_view name, ai_int32 version, const void **suite);
  ASErr release(std::string_view name, ai_int32 version);

  // Holds now outstanding on `name`, and on all suites together.
  int holds(const std::string &name) const;
  int totalHolds() const;
  // Acquisitions and releases of `name` so far.
  int acquireCount(const std::string &name) const;
  int releaseCount(const std::string &name) const;

  struct Event {
    bool acquire; // false: release
    std::string name;
    ai_int32 version;
    ASErr result;
  };
  // Every acquire and release, in order, while recording is on (the
  // default). Benchmarks switch it off, as they do the call log: the record
  // grows with every acquire and release.
  const std::vector<Event> &events() const { return events_; }
  void clearEvents() { events_.clear(); }
  void setRecordingEvents(bool on) { recordingEvents_ = on; }

  std::vector<std::string> names() const;
  bool offers(const std::string &name) const;

private:
  struct Entry {
    ai_int32 version = 0;
    ai_int32 offeredVersion = 0;
    const void *table = nullptr;
    bool withdrawn = false;
    int holds = 0;
    int acquires = 0;
    int releases = 0;
  };
  std::map<std::string, Entry, std::less<>> entries_; // found by string_view
  std::vector<Event> events_;
  bool recordingEvents_ = true;
};

} // namespace pello::host
