#include "pello/host/HostCall.h"

#include "pello/host/Host.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace pello::host {

namespace {
OpSlot *gFirstSlot = nullptr;
}

OpSlot::OpSlot(const char *name) : name_(name), next_(gFirstSlot) {
  gFirstSlot = this;
  // A rule may have been set for this op before its first call.
  if (Host *host = Host::active()) armed = host->faults().hasRule(name);
}

OpSlot *OpSlot::find(std::string_view name) {
  for (OpSlot *slot = gFirstSlot; slot; slot = slot->next_)
    if (name == slot->name_) return slot;
  return nullptr;
}

void OpSlot::forEach(void (*fn)(OpSlot &, void *), void *ctx) {
  for (OpSlot *slot = gFirstSlot; slot; slot = slot->next_)
    fn(*slot, ctx);
}

HostCall::HostCall(OpSlot &slot) : slot_(slot), host_(Host::active()) {
  if (!host_) return;
  injected_ = host_->faults().onCall(slot_);
  logging_ = host_->log().enabled();
}

HostCall::~HostCall() {
  if (!recorded_) done(injected_);
}

ASErr HostCall::done(ASErr result) {
  result_ = result;
  if (!recorded_ && host_ && logging_) {
    host_->log().add(
        CallRecord{slot_.name(), std::move(args_), result, injected_ != 0 && result == injected_});
  }
  recorded_ = true;
  return result;
}

void HostCall::appendArg(std::string_view name, const std::string &text) {
  if (!args_.empty()) args_ += ", ";
  args_.append(name);
  args_ += '=';
  args_ += text;
}

namespace {

template <class T> std::string shortestText(T value) {
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string("?");
}

} // namespace

void HostCall::appendValue(std::string_view name, float value) {
  appendArg(name, shortestText(value));
}

void HostCall::appendValue(std::string_view name, double value) {
  appendArg(name, shortestText(value));
}

void HostCall::appendText(std::string_view name, const char *value) {
  appendArg(name, value ? "\"" + std::string(value) + "\"" : std::string("null"));
}

void HostCall::appendAddress(std::string_view name, const void *value) {
  // Written alike on every system ("%p" is not: 0x55d0... here, 0109D6E8 there).
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(value)));
  appendArg(name, value ? text : "null");
}

} // namespace pello::host
