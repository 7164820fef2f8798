// What sessions call things: palette items, keys and error codes by name,
// and the checks a session's names pass before it runs (host operations to
// fail, style fields to expect), with the nearest right name for a wrong one.
#include "SessionScript.h"

#include "pello/harness/PluginSurface.h"
#include "pello/host/DocumentDiff.h"
#include "pello/host/Faults.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace pello::cli {

namespace {

// The edit distance of two names, letters compared without case.
std::size_t distance(const std::string &a, const std::string &b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string suiteOf(const std::string &op) {
  return op.substr(0, op.find("::"));
}

// The field paths of a written value, "a.b", "a.c[0]"... leaves and inner
// members alike.
void collectFields(const Json &value, const std::string &path, std::vector<std::string> &out) {
  if (value.is_object()) {
    for (auto it = value.begin(); it != value.end(); ++it) {
      const std::string member = path.empty() ? it.key() : path + "." + it.key();
      out.push_back(member);
      collectFields(it.value(), member, out);
    }
  }
}

} // namespace

std::string nearestName(const std::string &name, const std::vector<std::string> &names) {
  std::string best;
  std::size_t bestDistance = SIZE_MAX;
  for (const std::string &candidate : names) {
    const std::size_t d = distance(name, candidate);
    if (d < bestDistance) {
      bestDistance = d;
      best = candidate;
    }
  }
  return best;
}

std::string unknownOperationMessage(const std::string &op) {
  if (host::Faults::isKnownOperation(op)) return "";
  const std::vector<std::string> &known = host::Faults::knownOperations();
  const std::string prefix = "the host has no operation \"" + op + "\", so the fault could never fire; ";
  std::vector<std::string> suites;
  for (const std::string &candidate : known)
    if (suites.empty() || suites.back() != suiteOf(candidate)) suites.push_back(suiteOf(candidate));
  if (std::find(suites.begin(), suites.end(), suiteOf(op)) == suites.end()) {
    std::string all;
    for (const std::string &suite : suites)
      all += (all.empty() ? "" : ", ") + suite;
    return prefix + "it knows no suite \"" + suiteOf(op) + "\" (did you mean \"" +
           nearestName(suiteOf(op), suites) + "\"? the known suites: " + all + ")";
  }
  const std::string nearest = nearestName(op, known);
  std::string sameSuite;
  for (const std::string &candidate : known)
    if (suiteOf(candidate) == suiteOf(nearest)) sameSuite += (sameSuite.empty() ? "" : ", ") + candidate;
  return prefix + "did you mean \"" + nearest + "\"? (the host's " + suiteOf(nearest) +
         " operations: " + sameSuite + ")";
}

std::string unknownStyleFieldMessage(const Json &document, const std::string &art, const std::string &field) {
  const Json *object = host::findArt(document, art);
  const Json *style = object && object->contains("style") ? &(*object)["style"] : nullptr;
  if (!style) return "\"" + art + "\" has no style (it is not a path)";
  if (host::fieldAt(*style, field)) return "";
  std::vector<std::string> fields;
  collectFields(*style, "", fields);
  return "no style field \"" + field + "\" on \"" + art + "\"; did you mean \"" + nearestName(field, fields) +
         "\"?";
}

int paletteItemByName(const std::string &name) {
  const harness::PaletteButton *button = harness::paletteButtonNamed(name);
  return button ? button->id : 0;
}

std::string paletteItemLabel(int id) {
  if (const harness::PaletteButton *button = harness::paletteButton(id))
    return std::string(button->description) + " (item " + std::to_string(id) + ")";
  return "item " + std::to_string(id);
}

std::string keyNames(const std::vector<int> &keys) {
  std::string out;
  for (int key : keys) {
    std::string name = "key " + std::to_string(key);
    if (key == harness::kVkShift) name = "Shift";
    if (key == harness::kVkControl) name = "Ctrl";
    if (key == harness::kVkAlt) name = "Alt";
    if (key == harness::kVkLeftWindows) name = "Windows";
    out += (out.empty() ? "" : "+") + name;
  }
  return out;
}

ASErr parseCode(const Json &value, std::string &error) {
  if (value.is_number_unsigned()) {
    // Read as signed, a value above the signed range would wrap into the 32-bit one.
    const unsigned long long v = value.get<unsigned long long>();
    if (v <= UINT32_MAX) return static_cast<ASErr>(static_cast<std::uint32_t>(v));
  } else if (value.is_number_integer()) {
    const long long v = value.get<long long>();
    if (v >= INT32_MIN && v <= UINT32_MAX) return static_cast<ASErr>(static_cast<std::int64_t>(v));
  } else if (value.is_string()) {
    std::string text = value.get<std::string>();
    if (text.size() == 6 && text.front() == '\'' && text.back() == '\'') text = text.substr(1, 4);
    if (text.size() == 4) return AS_FOURCC(text[0], text[1], text[2], text[3]);
  }
  error = "expected a four-character code such as \"PARM\" or a 32-bit number";
  return 0;
}

} // namespace pello::cli
