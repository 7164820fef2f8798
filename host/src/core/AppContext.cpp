#include "pello/host/AppContext.h"

namespace pello::host {

AIAppContextHandle AppContexts::push(SPPluginRef plugin) {
  stack_.push_back(std::make_unique<Context>(Context{plugin}));
  ++pushes_;
  return reinterpret_cast<AIAppContextHandle>(stack_.back().get());
}

bool AppContexts::pop(AIAppContextHandle context) {
  if (stack_.empty() || reinterpret_cast<AIAppContextHandle>(stack_.back().get()) != context) return false;
  stack_.pop_back();
  return true;
}

} // namespace pello::host
