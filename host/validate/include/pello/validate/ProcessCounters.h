// What a process holds that a module loaded and unloaded over and over could
// make grow: thread-local storage slots, system handles, heap and resident
// memory. A counter the platform does not report is -1.
#pragma once

#include <string>

namespace pello::validate {

struct ProcessCounters {
  long long tlsSlots = -1;  // the next free thread-local storage index (Windows)
  long long handles = -1;   // open handles (where Wine counts none, the lowest free one), or file descriptors
  long long heapBytes = -1; // bytes in use on the heaps
  long long residentBytes = -1; // the working set, or resident set
};

ProcessCounters readProcessCounters();

// "tls 3, handles 12, heap 1.2 MB, resident 9.5 MB", leaving out what is -1.
std::string countersText(const ProcessCounters &counters);

} // namespace pello::validate
