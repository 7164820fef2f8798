// The host's memory blocks (SP Blocks Suite): every live block with its size
// and debugging name, so a leak is visible. Other host parts that hand the
// plug-in a block it must free (the selection list) allocate it here.
#pragma once

#include "pello/host/Host.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pello::host {

class Blocks : public Component {
public:
  struct Block {
    void *address;
    std::size_t size;
    std::string name;
  };

  explicit Blocks(Host &) {}
  // Frees whatever is still live.
  ~Blocks() override;

  // Every byte of a new block, until its owner writes it.
  static constexpr unsigned char kFreshByte = 0xCD;
  // A new block of `size` bytes, each kFreshByte, or null when memory runs
  // out (or `limit` would be passed).
  void *allocate(std::size_t size, const char *debugName);
  // False for an address not handed out (nothing is freed then).
  bool free(void *block);
  // A block of `newSize` holding the old contents; null on failure, the old
  // block then staying valid.
  void *reallocate(void *block, std::size_t newSize, const char *debugName);

  bool owns(const void *block) const { return live_.count(const_cast<void *>(block)) != 0; }
  // The live block at `block`, if there is one.
  std::optional<Block> find(const void *block) const;
  std::size_t liveCount() const { return live_.size(); }
  std::size_t liveBytes() const { return liveBytes_; }
  // The live blocks, in allocation order.
  std::vector<Block> live() const;
  std::size_t allocations() const { return allocations_; }

  // Allocations that would take the live bytes beyond `bytes` fail (0: no
  // limit).
  void setLimit(std::size_t bytes) { limit_ = bytes; }

private:
  struct Entry {
    std::size_t size;
    std::string name;
    std::size_t serial;
  };
  std::map<void *, Entry> live_;
  std::size_t liveBytes_ = 0;
  std::size_t allocations_ = 0;
  std::size_t limit_ = 0;
};

} // namespace pello::host
