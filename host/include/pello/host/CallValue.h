// The value of one argument of a recorded host call. Values keep their type
// in the log and become text only when printed, all through one formatting
// function, so that every reader of the log (transcripts, tests, the
// validator) sees the same text and can read numbers as numbers.
#pragma once

#include "ASTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace pello::host {

struct Change; // pello/host/DocumentDiff.h
using ChangeList = std::vector<Change>;

// A pointer the host hands out or takes: printed 0x..., or null.
struct Address {
  std::uintptr_t value = 0;
};

// Text printed as it is, without quotes: the document's names for its
// objects ("p1", "t1/0", "p1 s1 g1").
struct Label {
  std::string text;
};

class CallValue {
public:
  // std::monostate is a null string.
  using Value = std::variant<std::monostate, bool, std::int64_t, std::uint64_t, float, double, std::string,
                             Label, Address, ASRealMatrix, ASRealPoint, std::shared_ptr<const ChangeList>>;

  CallValue() = default;
  explicit CallValue(Value value) : value_(std::move(value)) {}

  // The value of a C++ argument: integers and enums by their sign, floats
  // and doubles as they are, bool, C strings (quoted when printed, null
  // allowed), addresses, matrices, points, labels and change lists.
  template <class T> static CallValue of(const T &value);
  static CallValue of(const char *text) { return text ? CallValue(std::string(text)) : CallValue(); }
  static CallValue of(const void *address) {
    return CallValue(Address{reinterpret_cast<std::uintptr_t>(address)});
  }

  const Value &value() const { return value_; }
  template <class T> const T *get() const { return std::get_if<T>(&value_); }

  // Any integer, float or double as a double; bool is no number.
  std::optional<double> number() const;
  // A quoted string's text, or null.
  const std::string *text() const { return get<std::string>(); }
  // An address other than null.
  bool isAddress() const {
    const Address *a = get<Address>();
    return a && a->value != 0;
  }
  // The style or document changes this value lists, or null.
  const ChangeList *changes() const {
    const auto *list = get<std::shared_ptr<const ChangeList>>();
    return list && *list ? list->get() : nullptr;
  }

  // The value as the log prints it: integers in decimal, bool as 1 or 0,
  // floats and doubles in the fewest digits that read back to the same
  // value ("-0" keeps its sign), strings quoted, addresses 0x%llx or
  // "null", matrices "(a, b, c, d, tx, ty)", points "(h, v)", changes
  // "field=value, ..." or "none".
  std::string printed() const;

private:
  Value value_;
};

struct CallArg {
  std::string name;
  CallValue value;
};

// "name=value, ..." of the arguments that `shown` lets through (all when
// it is null).
std::string argsText(const std::vector<CallArg> &args, bool (*shown)(const CallArg &) = nullptr);

template <class T> CallValue CallValue::of(const T &value) {
  using Char = std::remove_cv_t<T>;
  if constexpr (std::is_same_v<Char, bool>) {
    return CallValue(value);
  } else if constexpr (std::is_enum_v<T>) {
    return CallValue(static_cast<std::int64_t>(value));
  } else if constexpr (std::is_integral_v<T>) {
    static_assert(!std::is_same_v<Char, char> && !std::is_same_v<Char, signed char> &&
                      !std::is_same_v<Char, unsigned char>,
                  "a character is logged as a number or as text: convert it first");
    if constexpr (std::is_signed_v<T>)
      return CallValue(static_cast<std::int64_t>(value));
    else
      return CallValue(static_cast<std::uint64_t>(value));
  } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double> || std::is_same_v<T, Label> ||
                       std::is_same_v<T, ASRealMatrix> || std::is_same_v<T, ASRealPoint> ||
                       std::is_same_v<T, std::shared_ptr<const ChangeList>>) {
    return CallValue(value);
  } else {
    static_assert(std::is_same_v<T, float>, "no call-log value for this type: a std::string is logged as "
                                            "text (.c_str()) or as a Label; a pointer as const void *");
    return CallValue();
  }
}

} // namespace pello::host
