// Text for XML 1.0 character data and attribute values, shared by every
// XML the host writes (the pictures, validate's JUnit report).
#pragma once

#include "pello/host/Utf8.h"

#include <string>

namespace pello::host {

// What XML 1.0 allows in a document: no other control characters, no
// surrogates, not U+FFFE or U+FFFF.
inline bool allowedInXml(char32_t cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
         (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

// `text` with the markup characters escaped, and what XML cannot hold
// (control characters, U+FFFF, broken UTF-8) as U+FFFD, so that every
// reader opens the file.
inline std::string xmlEscaped(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t cp = nextCodePoint(text, at);
    if (!allowedInXml(cp)) cp = 0xFFFD;
    switch (cp) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    case '\'':
      out += "&apos;";
      break;
    default:
      appendUtf8(out, cp);
    }
  }
  return out;
}

} // namespace pello::host
