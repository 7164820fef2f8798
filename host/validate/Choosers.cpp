// The sources of the driver's choices: a seeded generator, or the bytes of a
// fuzzer's input, read until they run out.
#include "pello/validate/SessionDriver.h"

namespace pello::validate {

std::uint32_t RandomChooser::below(std::uint32_t bound) {
  return static_cast<std::uint32_t>(engine_() % bound);
}

std::uint32_t RandomChooser::word() {
  return static_cast<std::uint32_t>(engine_());
}

std::uint8_t ByteChooser::byte() {
  return at_ < size_ ? data_[at_++] : 0;
}

std::uint32_t ByteChooser::below(std::uint32_t bound) {
  std::uint32_t value = byte();
  if (bound > 256) value = (value << 8) | byte();
  if (bound > 65536) value = (value << 16) | (static_cast<std::uint32_t>(byte()) << 8) | byte();
  return value % bound;
}

std::uint32_t ByteChooser::word() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value = (value << 8) | byte();
  return value;
}

} // namespace pello::validate
