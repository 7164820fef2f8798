#include "JsonReader.h"
#include "pello/host/JsonLimits.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace pello::host {

namespace {
const char *kindOf(const Json &value) {
  if (value.is_null()) return "null";
  if (value.is_boolean()) return "a boolean";
  if (value.is_number()) return "a number";
  if (value.is_string()) return "a string";
  if (value.is_array()) return "an array";
  return "an object";
}
} // namespace

std::string JsonNode::path() const {
  std::vector<std::string> steps;
  for (const Step *step = step_.get(); step; step = step->parent.get())
    steps.push_back(step->element ? "[" + std::to_string(step->index) + "]" : step->name);
  return joinedPath({steps.rbegin(), steps.rend()});
}

void JsonNode::fail(const std::string &message) const {
  const std::string place = path();
  throw DocumentFormatError((place.empty() ? std::string("document") : place) + ": " + message);
}

JsonNode JsonNode::child(const Json &value, std::string name) const {
  return JsonNode(value, std::make_shared<const Step>(Step{step_, std::move(name)}));
}

JsonNode JsonNode::member(const char *name) const {
  if (!has(name)) fail(std::string("the member \"") + name + "\" is missing");
  return child(value_.at(name), name);
}

JsonNode JsonNode::element(std::size_t index) const {
  return JsonNode(value_.at(index), std::make_shared<const Step>(Step{step_, {}, index, true}));
}

void JsonNode::expectObject(std::initializer_list<const char *> names) const {
  if (!value_.is_object()) fail(std::string("expected an object, found ") + kindOf(value_));
  for (auto it = value_.begin(); it != value_.end(); ++it) {
    bool known = false;
    for (const char *name : names)
      known = known || it.key() == name;
    if (!known) child(it.value(), it.key()).fail("unknown member");
  }
}

std::size_t JsonNode::expectArray(long size) const {
  if (!value_.is_array()) fail(std::string("expected an array, found ") + kindOf(value_));
  if (size >= 0 && value_.size() != static_cast<std::size_t>(size))
    fail("expected " + std::to_string(size) + " elements, found " + std::to_string(value_.size()));
  return value_.size();
}

ASReal JsonNode::real() const {
  if (value_.is_number()) {
    const double d = value_.get<double>();
    // Beyond the largest float by half a unit in the last place or more,
    // the number would round to infinity.
    if (std::fabs(d) >= static_cast<double>(std::numeric_limits<float>::max()) + std::ldexp(1.0, 103))
      fail("the number " + value_.dump() + " is beyond single precision");
    return static_cast<ASReal>(d);
  }
  if (value_.is_string()) {
    const std::string &s = value_.get_ref<const std::string &>();
    if (s == "NaN") return std::numeric_limits<float>::quiet_NaN();
    if (s == "Infinity") return std::numeric_limits<float>::infinity();
    if (s == "-Infinity") return -std::numeric_limits<float>::infinity();
  }
  fail(std::string("expected a number, found ") + kindOf(value_));
}

ASBoolean JsonNode::boolean() const {
  if (value_.is_boolean()) return value_.get<bool>() ? 1 : 0;
  if (value_.is_number_integer()) return static_cast<ASBoolean>(integer(INT32_MIN, INT32_MAX));
  fail(std::string("expected true, false or an integer, found ") + kindOf(value_));
}

long JsonNode::integer(long min, long max) const {
  if (!value_.is_number_integer()) fail(std::string("expected an integer, found ") + kindOf(value_));
  const long long v =
      value_.is_number_unsigned()
          ? static_cast<long long>(std::min<unsigned long long>(value_.get<unsigned long long>(), LLONG_MAX))
          : value_.get<long long>();
  if (v < min || v > max)
    fail("the integer " + std::to_string(v) + " is outside " + std::to_string(min) + ".." +
         std::to_string(max));
  return static_cast<long>(v);
}

std::string JsonNode::string() const {
  if (!value_.is_string()) fail(std::string("expected a string, found ") + kindOf(value_));
  return value_.get<std::string>();
}

ASRealPoint JsonNode::point() const {
  expectArray(2);
  return ASRealPoint{element(0).real(), element(1).real()};
}

ASRealMatrix JsonNode::matrix() const {
  if (value_.is_object()) {
    expectObject({"a", "b", "c", "d", "tx", "ty"});
    return ASRealMatrix{member("a").real(), member("b").real(),  member("c").real(),
                        member("d").real(), member("tx").real(), member("ty").real()};
  }
  expectArray(6);
  return ASRealMatrix{element(0).real(), element(1).real(), element(2).real(),
                      element(3).real(), element(4).real(), element(5).real()};
}

RealRect JsonNode::rect() const {
  expectArray(4);
  return RealRect{element(0).real(), element(1).real(), element(2).real(), element(3).real()};
}

} // namespace pello::host
