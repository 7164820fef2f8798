#include "pello/host/Blocks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pello::host {

Blocks::~Blocks() {
  for (auto &[address, entry] : live_)
    std::free(address);
}

void *Blocks::allocate(std::size_t size, const char *debugName) {
  if (limit_ != 0 && (size > limit_ || liveBytes_ > limit_ - size)) return nullptr;
  void *block = std::malloc(size == 0 ? 1 : size);
  if (!block) return nullptr;
  // Filled as a debugging heap fills it: a plug-in that reads what it never
  // wrote reads the same garbage on every run, never a lucky zero.
  std::memset(block, kFreshByte, size);
  live_[block] = Entry{size, debugName ? debugName : "", allocations_++};
  liveBytes_ += size;
  return block;
}

bool Blocks::free(void *block) {
  auto it = live_.find(block);
  if (it == live_.end()) return false;
  liveBytes_ -= it->second.size;
  live_.erase(it);
  std::free(block);
  return true;
}

void *Blocks::reallocate(void *block, std::size_t newSize, const char *debugName) {
  auto it = live_.find(block);
  if (it == live_.end()) return nullptr;
  void *fresh = allocate(newSize, debugName ? debugName : it->second.name.c_str());
  if (!fresh) return nullptr;
  std::memcpy(fresh, block, std::min(newSize, it->second.size));
  free(block);
  return fresh;
}

std::optional<Blocks::Block> Blocks::find(const void *block) const {
  auto it = live_.find(const_cast<void *>(block));
  if (it == live_.end()) return std::nullopt;
  return Block{it->first, it->second.size, it->second.name};
}

std::vector<Blocks::Block> Blocks::live() const {
  std::vector<std::pair<std::size_t, Block>> ordered;
  for (const auto &[address, entry] : live_)
    ordered.push_back({entry.serial, Block{address, entry.size, entry.name}});
  std::sort(ordered.begin(), ordered.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
  std::vector<Block> out;
  for (auto &[serial, block] : ordered)
    out.push_back(std::move(block));
  return out;
}

} // namespace pello::host
