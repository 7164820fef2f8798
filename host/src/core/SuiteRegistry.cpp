#include "pello/host/SuiteRegistry.h"

#include "pello/host/HostCall.h"

namespace pello::host {

void SuiteRegistry::add(const std::string &name, ai_int32 version, const void *table) {
  Entry &entry = entries_[name];
  entry.version = version;
  entry.offeredVersion = version;
  entry.table = table;
}

void SuiteRegistry::withdraw(const std::string &name) { entries_[name].withdrawn = true; }

void SuiteRegistry::offerAt(const std::string &name, ai_int32 version) { entries_[name].offeredVersion = version; }

void SuiteRegistry::restore(const std::string &name) {
  auto it = entries_.find(name);
  if (it == entries_.end()) return;
  it->second.withdrawn = false;
  it->second.offeredVersion = it->second.version;
}

ASErr SuiteRegistry::acquire(std::string_view name, ai_int32 version, const void **suite) {
  ASErr result = kSPSuiteNotFoundError;
  auto it = entries_.find(name);
  if (suite == nullptr) {
    result = kSPBadParameterError;
  } else if (it != entries_.end() && it->second.table && !it->second.withdrawn &&
             it->second.offeredVersion == version) {
    // A suite offered at another version than its own has no table for
    // that version: only its own version hands out the table.
    if (version == it->second.version) {
      *suite = it->second.table;
      ++it->second.holds;
      ++it->second.acquires;
      result = kASNoError;
    }
  }
  if (recordingEvents_) events_.push_back(Event{true, std::string(name), version, result});
  return result;
}

ASErr SuiteRegistry::release(std::string_view name, ai_int32 version) {
  ASErr result = kSPBadParameterError;
  auto it = entries_.find(name);
  if (it != entries_.end() && it->second.version == version && it->second.holds > 0) {
    --it->second.holds;
    ++it->second.releases;
    result = kASNoError;
  }
  if (recordingEvents_) events_.push_back(Event{false, std::string(name), version, result});
  return result;
}

int SuiteRegistry::holds(const std::string &name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? 0 : it->second.holds;
}

int SuiteRegistry::totalHolds() const {
  int total = 0;
  for (const auto &[name, entry] : entries_) total += entry.holds;
  return total;
}

int SuiteRegistry::acquireCount(const std::string &name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? 0 : it->second.acquires;
}

int SuiteRegistry::releaseCount(const std::string &name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? 0 : it->second.releases;
}

std::vector<std::string> SuiteRegistry::names() const {
  std::vector<std::string> out;
  for (const auto &[name, entry] : entries_) out.push_back(name);
  return out;
}

bool SuiteRegistry::offers(const std::string &name) const {
  auto it = entries_.find(name);
  return it != entries_.end() && it->second.table && !it->second.withdrawn;
}

} // namespace pello::host
