#include "pello/host/HostCall.h"

#include "pello/host/Host.h"

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

void HostCall::add(std::string_view name, CallValue value) {
  args_.push_back(CallArg{std::string(name), std::move(value)});
}

} // namespace pello::host
