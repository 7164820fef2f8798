#include "pello/host/CallValue.h"

#include "pello/host/DocumentDiff.h"
#include "pello/host/Utf8.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace pello::host {

namespace {

// The same text on every system, in the fewest digits that read back.
template <class T> std::string shortest(T value) {
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string("?");
}

// A document's value as the log prints it: its floats are the doubles
// that floats read back as (realToJson), printed as those floats.
std::string jsonText(const Json &value) {
  if (value.is_number_float()) {
    const double d = value.get<double>();
    const Json asFloat = realToJson(static_cast<float>(d));
    if (asFloat.is_number_float() && std::memcmp(&asFloat.get_ref<const double &>(), &d, sizeof d) == 0)
      return shortest(static_cast<float>(d));
    return shortest(d);
  }
  if (value.is_boolean()) return value.get<bool>() ? "1" : "0";
  if (value.is_array()) {
    std::string out = "(";
    for (std::size_t i = 0; i < value.size(); ++i)
      out += (i ? ", " : "") + jsonText(value[i]);
    return out + ")";
  }
  return value.dump();
}

struct Printer {
  std::string operator()(std::monostate) const { return "null"; }
  std::string operator()(bool b) const { return b ? "1" : "0"; }
  std::string operator()(std::int64_t n) const { return std::to_string(n); }
  std::string operator()(std::uint64_t n) const { return std::to_string(n); }
  std::string operator()(float f) const { return shortest(f); }
  std::string operator()(double d) const { return shortest(d); }
  std::string operator()(const std::string &text) const { return "\"" + validUtf8(text) + "\""; }
  std::string operator()(const Label &label) const { return label.text; }
  std::string operator()(Address address) const {
    // Written alike on every system ("%p" is not: 0x55d0... here, 0109D6E8 there).
    if (!address.value) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(address.value));
    return text;
  }
  std::string operator()(const ASRealMatrix &m) const {
    return "(" + shortest(m.a) + ", " + shortest(m.b) + ", " + shortest(m.c) + ", " + shortest(m.d) + ", " +
           shortest(m.tx) + ", " + shortest(m.ty) + ")";
  }
  std::string operator()(const ASRealPoint &p) const {
    return "(" + shortest(p.h) + ", " + shortest(p.v) + ")";
  }
  std::string operator()(const std::shared_ptr<const ChangeList> &list) const {
    if (!list || list->empty()) return "none";
    std::string out;
    for (const Change &change : *list)
      out += (out.empty() ? "" : ", ") + change.field + "=" + jsonText(change.after);
    return out;
  }
};

struct Number {
  std::optional<double> operator()(std::int64_t n) const { return static_cast<double>(n); }
  std::optional<double> operator()(std::uint64_t n) const { return static_cast<double>(n); }
  std::optional<double> operator()(float f) const { return f; }
  std::optional<double> operator()(double d) const { return d; }
  template <class T> std::optional<double> operator()(const T &) const { return std::nullopt; }
};

} // namespace

std::optional<double> CallValue::number() const {
  return std::visit(Number{}, value_);
}

std::string CallValue::printed() const {
  return std::visit(Printer{}, value_);
}

std::string argsText(const std::vector<CallArg> &args, bool (*shown)(const CallArg &)) {
  std::string out;
  for (const CallArg &arg : args) {
    if (shown && !shown(arg)) continue;
    if (!out.empty()) out += ", ";
    out += arg.name;
    out += '=';
    out += arg.value.printed();
  }
  return out;
}

} // namespace pello::host
