// Small pieces of SVG text shared by the document and palette pictures.
#pragma once

#include "ASTypes.h"

#include <cmath>
#include <cstdio>
#include <string>

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

inline std::string escape(const std::string &text) {
  std::string out;
  for (char c : text) {
    switch (c) {
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
    default:
      out += c;
    }
  }
  return out;
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
