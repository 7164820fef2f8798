// UTF-8, one way in and one way out, for every text the host reads from a
// module or a file and every text it writes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pello::host {

// The next code point of UTF-8 text at `at`, moving `at` past it; a byte
// that starts no valid sequence (overlong, a surrogate, beyond U+10FFFF,
// cut short) yields U+FFFD and moves on by one.
inline char32_t nextCodePoint(std::string_view text, std::size_t &at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const int length = lead < 0x80           ? 1
                     : (lead >> 5) == 0x6  ? 2
                     : (lead >> 4) == 0xE  ? 3
                     : (lead >> 3) == 0x1E ? 4
                                           : 0;
  if (length == 1) return text[at++];
  if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) {
    ++at;
    return 0xFFFD;
  }
  char32_t cp = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    if ((byte(at + static_cast<std::size_t>(i)) & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    cp = (cp << 6) | (byte(at + static_cast<std::size_t>(i)) & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++at;
    return 0xFFFD;
  }
  at += static_cast<std::size_t>(length);
  return cp;
}

// Appends `cp` (at most U+10FFFF) in UTF-8.
inline void appendUtf8(std::string &out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// `text` as valid UTF-8, each byte that starts no valid sequence shown as
// U+FFFD. Every text a module hands the host passes through here before the
// host shows it, stores it as text or writes it out (transcripts, JSON,
// pictures, reports, the preferences file): JSON and XML cannot carry the
// bytes, and a terminal would garble them.
inline std::string validUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();)
    appendUtf8(out, nextCodePoint(text, at));
  return out;
}

} // namespace pello::host
