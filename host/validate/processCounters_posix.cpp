// Platform (POSIX): the counters from /proc and the C library's allocator.
#include "pello/validate/ProcessCounters.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Under AddressSanitizer the allocator is its own (mallinfo reports nothing)
// and it keeps freed memory in quarantine and grows its shadow, so neither
// the heap nor the resident size says anything about a leak.
#if defined(__SANITIZE_ADDRESS__)
#define PELLO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELLO_UNDER_ASAN 1
#endif
#endif

namespace pello::validate {

ProcessCounters readProcessCounters() {
  ProcessCounters counters;
  std::error_code ec;
  long long descriptors = 0;
  for (std::filesystem::directory_iterator it("/proc/self/fd", ec), end; !ec && it != end; it.increment(ec))
    ++descriptors;
  if (!ec) counters.handles = descriptors;
#if !defined(PELLO_UNDER_ASAN)
#if defined(__GLIBC__)
  counters.heapBytes = static_cast<long long>(mallinfo2().uordblks);
#endif
  std::ifstream statm("/proc/self/statm");
  long long size = 0, resident = 0;
  if (statm >> size >> resident) counters.residentBytes = resident * sysconf(_SC_PAGESIZE);
#endif
  return counters;
}

} // namespace pello::validate
