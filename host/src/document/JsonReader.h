// Reading a JSON document while knowing where one is: every value is read
// through a JsonNode that knows its path ("art[3].style.stroke.dash"), so
// each refusal says where the document is wrong. The path is kept as a chain
// of steps shared with the node's parents and written out only for a
// refusal: copying it whole into every node would cost the square of the
// nesting depth.
#pragma once

#include "ASTypes.h"
#include "pello/host/DocumentJson.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace pello::host {

class JsonNode {
public:
  // The document's top level.
  explicit JsonNode(const Json &value) : value_(value) {}

  const Json &value() const { return value_; }
  std::string path() const;

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
  // One member name or element index on the way from the top level.
  struct Step {
    std::shared_ptr<const Step> parent;
    std::string name;
    std::size_t index = 0;
    bool element = false; // an element `index`, not the member `name`
  };
  JsonNode(const Json &value, std::shared_ptr<const Step> step) : value_(value), step_(std::move(step)) {}
  JsonNode child(const Json &value, std::string name) const;

  const Json &value_;
  std::shared_ptr<const Step> step_; // null at the top level
};

} // namespace pello::host
