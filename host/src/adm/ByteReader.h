// Little-endian reading of resource bytes with every read checked against
// the end: a read past the end fails and leaves the reader failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace pello::host {

class ByteReader {
public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::size_t offset() const { return offset_; }
  std::size_t remaining() const { return ok_ ? bytes_.size() - offset_ : 0; }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

  bool u8(std::uint8_t &out) {
    if (!need(1)) return false;
    out = bytes_[offset_++];
    return true;
  }
  bool u16(std::uint16_t &out) {
    if (!need(2)) return false;
    out = static_cast<std::uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
    offset_ += 2;
    return true;
  }
  bool i16(std::int16_t &out) {
    std::uint16_t raw = 0;
    if (!u16(raw)) return false;
    out = static_cast<std::int16_t>(raw);
    return true;
  }
  bool u32(std::uint32_t &out) {
    if (!need(4)) return false;
    out = static_cast<std::uint32_t>(bytes_[offset_]) |
          (static_cast<std::uint32_t>(bytes_[offset_ + 1]) << 8) |
          (static_cast<std::uint32_t>(bytes_[offset_ + 2]) << 16) |
          (static_cast<std::uint32_t>(bytes_[offset_ + 3]) << 24);
    offset_ += 4;
    return true;
  }
  bool i32(std::int32_t &out) {
    std::uint32_t raw = 0;
    if (!u32(raw)) return false;
    out = static_cast<std::int32_t>(raw);
    return true;
  }
  // A zero-terminated UTF-16LE string (the terminator is consumed).
  bool utf16z(std::u16string &out) {
    out.clear();
    for (;;) {
      std::uint16_t unit = 0;
      if (!u16(unit)) return false;
      if (unit == 0) return true;
      out.push_back(static_cast<char16_t>(unit));
    }
  }
  bool skip(std::size_t n) {
    if (!need(n)) return false;
    offset_ += n;
    return true;
  }
  // Moves to the next multiple of `n` from the start of the bytes; the
  // padding may run to exactly the end.
  bool align(std::size_t n) {
    std::size_t pad = (n - offset_ % n) % n;
    if (pad > bytes_.size() - offset_) {
      // Padding after the last element may be missing; only a read fails.
      offset_ = bytes_.size();
      return true;
    }
    offset_ += pad;
    return true;
  }

private:
  bool need(std::size_t n) {
    if (!ok_ || n > bytes_.size() - offset_) {
      ok_ = false;
      return false;
    }
    return true;
  }
  std::span<const std::uint8_t> bytes_;
  std::size_t offset_ = 0;
  bool ok_ = true;
};

} // namespace pello::host
