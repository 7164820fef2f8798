#include "SvgChanges.h"

#include "SvgArtShapes.h"
#include "SvgText.h"

#include <cstdio>
#include <map>
#include <vector>

namespace pello::cli {

using svg::num;

namespace {

constexpr const char *kChangeColor = "#e0301e";
constexpr double kNoteLine = 9;

// Whether two matrices written as [a, b, c, d, tx, ty] differ by a
// translation alone, and by how much.
bool translationBetween(const host::Json &before, const host::Json &after, double &dx, double &dy) {
  const auto matrix = [](const host::Json &m) {
    if (!m.is_array() || m.size() != 6) return false;
    for (const host::Json &n : m)
      if (!n.is_number()) return false;
    return true;
  };
  if (!matrix(before) || !matrix(after)) return false;
  for (int i = 0; i < 4; ++i)
    if (before[i] != after[i]) return false;
  dx = after[4].get<double>() - before[4].get<double>();
  dy = after[5].get<double>() - before[5].get<double>();
  return true;
}

// A value as a caption shows it: numbers in their shortest form, lists
// bracketed.
std::string shown(const host::Json &value) {
  if (value.is_number()) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value.get<double>());
    return text;
  }
  if (value.is_array()) {
    std::string out = "[";
    for (std::size_t i = 0; i < value.size(); ++i)
      out += (i ? ", " : "") + shown(value[i]);
    return out + "]";
  }
  return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string arrow(double x1, double y1, double x2, double y2) {
  return "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) +
         "\" stroke=\"" + kChangeColor +
         "\" stroke-width=\"1.5\" marker-end=\"url(#pello-change-arrow)\"/>\n" + "<circle cx=\"" + num(x1) +
         "\" cy=\"" + num(y1) + "\" r=\"1.5\" fill=\"" + kChangeColor + "\"/>\n";
}

} // namespace

std::string changeMarks(const host::DocumentModel &model, const host::ChangeList &changes) {
  // The changes of each object, in the order they were found.
  std::vector<std::string> order;
  std::map<std::string, std::vector<const host::Change *>> byArt;
  for (const host::Change &change : changes) {
    if (change.art.empty() || change.art.front() == '(' || !model.find(change.art)) continue;
    if (!byArt.count(change.art)) order.push_back(change.art);
    byArt[change.art].push_back(&change);
  }
  if (order.empty()) return {};
  std::string out =
      std::string("<defs><marker id=\"pello-change-arrow\" viewBox=\"0 0 6 6\" refX=\"5\" refY=\"3\" "
                  "markerWidth=\"5\" markerHeight=\"5\" orient=\"auto\"><path d=\"M0 0 L6 3 L0 6 Z\" "
                  "fill=\"") +
      kChangeColor + "\"/></marker></defs>\n";
  for (const std::string &id : order) {
    const Box b = bounds(model, *model.find(id));
    if (b.empty) continue;
    out += "<g class=\"change\" data-art=\"" + svg::escape(id) + "\">\n";
    out += "<rect x=\"" + num(b.left - 4) + "\" y=\"" + num(b.top - 4) + "\" width=\"" +
           num(b.right - b.left + 8) + "\" height=\"" + num(b.bottom - b.top + 8) +
           "\" fill=\"none\" stroke=\"" + kChangeColor +
           "\" stroke-width=\"1.5\" stroke-dasharray=\"6 3\"/>\n";
    double y = b.bottom + 4 + kNoteLine;
    for (const host::Change *change : byArt[id]) {
      double dx, dy;
      const bool pattern =
          change->field.size() >= 9 && change->field.compare(change->field.size() - 9, 9, "transform") == 0;
      if (pattern && translationBetween(change->before, change->after, dx, dy)) {
        // The tile's shift, drawn from the object's centre at its true length.
        const double cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
        out += arrow(cx, cy, cx + dx, cy + dy);
      }
      std::string field = change->field;
      if (field.rfind("style.", 0) == 0) field.erase(0, 6);
      out += "<text x=\"" + num(b.left - 4) + "\" y=\"" + num(y) +
             "\" font-family=\"sans-serif\" font-size=\"7\" fill=\"" + kChangeColor + "\">" +
             svg::escape(field + " = " + shown(change->after)) + "</text>\n";
      y += kNoteLine;
    }
    out += "</g>\n";
  }
  return out;
}

} // namespace pello::cli
