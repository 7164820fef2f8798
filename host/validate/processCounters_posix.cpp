// Platform (POSIX): the counters from /proc and the C library's allocator.
#include "ProcessCounters.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pello::validate {

ProcessCounters readProcessCounters() {
  ProcessCounters counters;
  std::error_code ec;
  long long descriptors = 0;
  for (std::filesystem::directory_iterator it("/proc/self/fd", ec), end; !ec && it != end; it.increment(ec))
    ++descriptors;
  if (!ec) counters.handles = descriptors;
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
  // Under AddressSanitizer the allocator is its own and reports nothing here.
  counters.heapBytes = static_cast<long long>(mallinfo2().uordblks);
#endif
  std::ifstream statm("/proc/self/statm");
  long long size = 0, resident = 0;
  if (statm >> size >> resident) counters.residentBytes = resident * sysconf(_SC_PAGESIZE);
  return counters;
}

} // namespace pello::validate
