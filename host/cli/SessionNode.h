#pragma once

#include "SessionScript.h"

#include <climits>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace pello::cli {

// A value of a session file and where it is in the file ("steps[3].keys[1]"),
// with the reads the session reader makes of it: each refuses a value of the
// wrong kind or range with a SessionError naming the place.
class Node {
public:
  Node(const Json &value, std::string path) : value_(value), path_(std::move(path)) {}
  const Json &value() const { return value_; }
  [[noreturn]] void fail(const std::string &message) const { throw SessionError(path_ + ": " + message); }
  bool has(const char *name) const { return value_.is_object() && value_.contains(name); }
  Node member(const char *name) const {
    if (!has(name)) fail("missing \"" + std::string(name) + "\"");
    return Node(value_[name], path_ + "." + name);
  }
  Node element(std::size_t i) const { return Node(value_[i], path_ + "[" + std::to_string(i) + "]"); }
  std::size_t array() const {
    if (!value_.is_array()) fail("expected an array");
    return value_.size();
  }
  std::string string() const {
    if (!value_.is_string()) fail("expected a string");
    return value_.get<std::string>();
  }
  long integer(long min, long max) const {
    if (!value_.is_number_integer()) fail("expected an integer");
    // Above the signed range the value is unsigned; reading it as signed would wrap it into range.
    const bool huge = value_.is_number_unsigned() && value_.get<unsigned long long>() > LLONG_MAX;
    const long long v = huge ? LLONG_MAX : value_.get<long long>();
    if (v < min || v > max)
      fail("expected an integer from " + std::to_string(min) + " to " + std::to_string(max));
    return static_cast<long>(v);
  }
  double number() const {
    if (!value_.is_number()) fail("expected a number");
    return value_.get<double>();
  }
  bool boolean() const {
    if (!value_.is_boolean()) fail("expected true or false");
    return value_.get<bool>();
  }
  std::vector<std::string> strings() const {
    std::vector<std::string> out;
    for (std::size_t i = 0, n = array(); i < n; ++i)
      out.push_back(element(i).string());
    return out;
  }
  const std::string &path() const { return path_; }

private:
  const Json &value_;
  std::string path_;
};

} // namespace pello::cli
