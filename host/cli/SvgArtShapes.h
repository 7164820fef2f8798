// What the document picture needs to know of an art object: where it is,
// its outline as SVG path data, its label, and whether it holds a value
// that cannot be drawn.
#pragma once

#include "pello/host/Document.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace pello::cli {

constexpr double kTextSize = 16; // of text art as drawn

// A bounding box that grows by the finite points added to it.
struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool empty = true;
  void add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (empty) {
      left = right = x;
      top = bottom = y;
      empty = false;
      return;
    }
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  void add(const Box &other) {
    if (other.empty) return;
    add(other.left, other.top);
    add(other.right, other.bottom);
  }
  void addMapped(const ASRealMatrix &m, double x, double y) {
    add(double(m.a) * x + double(m.c) * y + m.tx, double(m.b) * x + double(m.d) * y + m.ty);
  }
  void addMappedRect(const ASRealMatrix &m, double l, double t, double r, double b) {
    addMapped(m, l, t);
    addMapped(m, r, t);
    addMapped(m, r, b);
    addMapped(m, l, b);
  }
};

// The box around an object as drawn; empty when it has no finite point.
Box bounds(const host::DocumentModel &model, const host::ArtObject &o);
double textWidth(const std::string &text);
std::string pathData(const host::PathGeometry &g);
// The label over a top-level object: its id and, but for paths, its kind.
std::string labelText(const host::ArtObject &o);
// The first field of `o` (or of its children) that holds a NaN or an
// infinity, "" when every number is finite.
std::string nonFiniteField(const host::DocumentModel &model, const host::ArtObject &o);

} // namespace pello::cli
