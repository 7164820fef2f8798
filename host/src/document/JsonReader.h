// Reading a JSON document while knowing where one is: every value is read
// through a JsonNode that carries its path ("art[3].style.stroke.dash"), so
// each refusal says where the document is wrong.
#pragma once

#include "ASTypes.h"
#include "pello/host/DocumentJson.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <string_view>

namespace pello::host {

class JsonNode {
public:
  JsonNode(const Json &value, std::string path) : value_(value), path_(std::move(path)) {}

  const Json &value() const { return value_; }
  const std::string &path() const { return path_; }

  [[noreturn]] void fail(const std::string &message) const;

  bool has(const char *name) const { return value_.is_object() && value_.contains(name); }
  // The member `name` (which must exist) and element `index`.
  JsonNode member(const char *name) const;
  JsonNode element(std::size_t index) const;

  // Refuses members other than `names` (a misspelt member is a mistake, not
  // something to pass over).
  void expectObject(std::initializer_list<const char *> names) const;
  // An array, of exactly `size` elements when size >= 0.
  std::size_t expectArray(long size = -1) const;

  ASReal real() const;       // a number, or "NaN", "Infinity", "-Infinity"
  ASBoolean boolean() const; // true, false or a 32-bit integer
  long integer(long min, long max) const;
  std::string string() const;
  ASRealPoint point() const;   // [h, v]
  ASRealMatrix matrix() const; // [a, b, c, d, tx, ty] or {"a": ...}
  RealRect rect() const;       // [left, top, right, bottom]

  // The member's value read with `read`, or `fallback` when absent.
  template <class T, class Read> T optional(const char *name, T fallback, Read read) const {
    return has(name) ? read(member(name)) : fallback;
  }

private:
  const Json &value_;
  std::string path_;
};

} // namespace pello::host
