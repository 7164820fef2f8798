// The frame of every suite function of the stand-in host: counts the call,
// applies an injected fault, and records the call in the log.
//
//   ASErr ASAPI GetArtType(AIArtHandle art, ai_int16 *type) {
//     PELLO_HOST_CALL(call, "AIArt::GetArtType");
//     call.arg("art", art);
//     if (ASErr e = call.injected()) return call.done(e);
//     ...
//     return call.done(err);
//   }
//
// Functions without an error result treat an injected fault as "no result"
// (null reference, false) and still call done() with the injected code.
#pragma once

#include "ASTypes.h"
#include "pello/host/CallValue.h"

#include <string_view>
#include <vector>

namespace pello::host {

class Host;

// One operation's static slot: its name and call count, shared by every
// call site of that operation.
class OpSlot {
public:
  explicit OpSlot(const char *name);
  const char *name() const { return name_; }
  long long calls = 0;
  bool armed = false; // a fault rule exists for this op

  // Every slot created so far.
  static OpSlot *find(std::string_view name);
  static void forEach(void (*fn)(OpSlot &, void *), void *ctx);

private:
  const char *name_;
  OpSlot *next_;
};

class HostCall {
public:
  explicit HostCall(OpSlot &slot);
  ~HostCall();
  HostCall(const HostCall &) = delete;
  HostCall &operator=(const HostCall &) = delete;

  // The fault to fail this call with, or 0.
  ASErr injected() const { return injected_; }
  // Records the result and returns it.
  ASErr done(ASErr result);
  // For functions without an error result: records an injected fault as the
  // call's result and says so, for the caller to return "no result".
  bool faulted() {
    if (!injected_) return false;
    done(injected_);
    return true;
  }

  bool logging() const { return logging_; }
  // With the log off an argument costs one test: the value is made, and
  // kept, only when the log is on; it becomes text only when printed.
  template <class T> HostCall &arg(std::string_view name, const T &value) {
    if (logging_) add(name, CallValue::of(value));
    return *this;
  }
  HostCall &arg(std::string_view name, const char *value) {
    if (logging_) add(name, CallValue::of(value));
    return *this;
  }
  HostCall &arg(std::string_view name, const void *value) {
    if (logging_) add(name, CallValue::of(value));
    return *this;
  }

private:
  void add(std::string_view name, CallValue value);
  OpSlot &slot_;
  Host *host_;
  ASErr injected_ = 0;
  ASErr result_ = 0;
  bool logging_ = false;
  bool recorded_ = false;
  std::vector<CallArg> args_;
};

} // namespace pello::host

#define PELLO_HOST_CALL(var, op)                                                                             \
  static ::pello::host::OpSlot var##Slot_{op};                                                               \
  ::pello::host::HostCall var(var##Slot_)
