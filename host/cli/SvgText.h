// Small pieces of SVG text shared by the document and palette pictures.
#pragma once

#include "ASTypes.h"
#include "pello/host/Utf8.h"
#include "pello/host/XmlText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace pello::cli::svg {

using host::appendUtf8;
using host::nextCodePoint;

// A number in at most four decimals, without trailing zeros ("12", "-0.5").
// (As printf's "%.4f" writes it, but many times faster, which tells on a
// picture of thousands of objects; room for every digit of the largest.)
inline std::string num(double value) {
  if (!std::isfinite(value)) return "0";
  char text[400];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
  std::string s(text, written.ptr);
  s.erase(s.find_last_not_of('0') + 1);
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

// Text for an SVG's character data or attribute values: markup characters
// escaped, and what XML cannot hold shown as U+FFFD, so every renderer opens
// the picture.
inline std::string escape(const std::string &text) {
  return host::xmlEscaped(text);
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

// A name made from `text` for an element id: 16 hex digits of its FNV-1a
// hash, the same on every run.
inline std::string hashed(const std::string &text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text)
    hash = (hash ^ c) * 1099511628211ull;
  char out[17];
  std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(hash));
  return out;
}

inline std::string header(double x, double y, double width, double height, double scale) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + num(x) + " " + num(y) + " " + num(width) +
         " " + num(height) + "\" width=\"" + num(std::ceil(width * scale)) + "\" height=\"" +
         num(std::ceil(height * scale)) + "\">\n";
}

} // namespace pello::cli::svg
