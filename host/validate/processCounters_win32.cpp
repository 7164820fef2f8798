// Platform (Windows): the counters from kernel32 and psapi.
#include "pello/validate/ProcessCounters.h"

#include <windows.h>

#include <psapi.h>

#include <cstdint>
#include <vector>

namespace pello::validate {

namespace {

// Every busy block on every heap of the process (the C runtime's among them).
long long heapBytesInUse() {
  const DWORD count = GetProcessHeaps(0, nullptr);
  std::vector<HANDLE> heaps(count + 8);
  const DWORD got = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  if (got == 0 || got > heaps.size()) return -1;
  long long bytes = 0;
  for (DWORD i = 0; i < got; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return bytes;
}

} // namespace

ProcessCounters readProcessCounters() {
  ProcessCounters counters;
  // Slots are handed out lowest first: the next one tells how many are taken.
  const DWORD slot = TlsAlloc();
  if (slot != TLS_OUT_OF_INDEXES) {
    counters.tlsSlots = slot;
    TlsFree(slot);
  }
  DWORD handles = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles > 0) {
    counters.handles = handles;
  } else if (HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    // Wine counts nothing here, but hands out the lowest free handle value
    // (a multiple of 4): that tells how far the handle table is taken.
    counters.handles = static_cast<long long>(reinterpret_cast<std::uintptr_t>(probe) / 4);
    CloseHandle(probe);
  }
  counters.heapBytes = heapBytesInUse();
  PROCESS_MEMORY_COUNTERS memory{};
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    counters.residentBytes = static_cast<long long>(memory.WorkingSetSize);
  return counters;
}

} // namespace pello::validate
