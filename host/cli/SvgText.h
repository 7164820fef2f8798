// Small pieces of SVG text shared by the document and palette pictures.
#pragma once

#include "ASTypes.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace pello::cli::svg {

// A number in at most four decimals, without trailing zeros ("12", "-0.5").
inline std::string num(double value) {
  if (!std::isfinite(value)) return "0";
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string s = text;
  s.erase(s.find_last_not_of('0') + 1);
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

// The next code point of UTF-8 text at `at`, moving `at` past it; a byte
// that starts no valid sequence (overlong, a surrogate, beyond U+10FFFF,
// cut short) yields U+FFFD and moves on by one.
inline char32_t nextCodePoint(const std::string &text, std::size_t &at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const int length = lead < 0x80           ? 1
                     : (lead >> 5) == 0x6  ? 2
                     : (lead >> 4) == 0xE  ? 3
                     : (lead >> 3) == 0x1E ? 4
                                           : 0;
  if (length == 1) return text[at++];
  if (length == 0 || at + length > text.size()) {
    ++at;
    return 0xFFFD;
  }
  char32_t cp = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    cp = (cp << 6) | (byte(at + i) & 0x3F);
  }
  static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++at;
    return 0xFFFD;
  }
  at += length;
  return cp;
}

// What XML 1.0 allows in a document: no other control characters, no
// surrogates, not U+FFFE or U+FFFF.
inline bool allowedInXml(char32_t cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
         (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

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

// Text for an SVG's character data or attribute values: markup characters
// escaped, and what XML cannot hold (control characters, U+FFFF, broken
// UTF-8) shown as U+FFFD, so every renderer opens the picture.
inline std::string escape(const std::string &text) {
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

// Text broken at spaces into lines of at most `width` code points (a word
// longer than that is cut), so that nothing runs off the picture.
inline std::vector<std::string> wrap(const std::string &text, std::size_t width) {
  std::vector<std::string> lines(1);
  std::size_t used = 0; // code points on the last line
  std::size_t at = 0;
  while (at < text.size()) {
    // The next word, and its length in code points.
    std::size_t end = text.find(' ', at), length = 0;
    if (end == std::string::npos) end = text.size();
    for (std::size_t i = at; i < end; ++length)
      nextCodePoint(text, i);
    if (used > 0 && used + 1 + length > width) {
      lines.emplace_back();
      used = 0;
    } else if (used > 0) {
      lines.back() += ' ';
      ++used;
    }
    for (std::size_t i = at; i < end;) {
      if (used == width) {
        lines.emplace_back();
        used = 0;
      }
      const std::size_t from = i;
      nextCodePoint(text, i);
      lines.back().append(text, from, i - from);
      ++used;
    }
    at = end + 1;
  }
  return lines;
}

// An ASRealMatrix maps (x, y) to (a x + c y + tx, b x + d y + ty), as SVG's
// matrix(a, b, c, d, e, f) does.
inline std::string matrix(const ASRealMatrix &m) {
  return "matrix(" + num(m.a) + " " + num(m.b) + " " + num(m.c) + " " + num(m.d) + " " + num(m.tx) + " " +
         num(m.ty) + ")";
}

inline std::string header(double x, double y, double width, double height, double scale) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + num(x) + " " + num(y) + " " + num(width) +
         " " + num(height) + "\" width=\"" + num(std::ceil(width * scale)) + "\" height=\"" +
         num(std::ceil(height * scale)) + "\">\n";
}

} // namespace pello::cli::svg
