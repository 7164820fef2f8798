// The application contexts plug-ins push outside host calls (AI Context
// Suite): a stack, innermost last.
#pragma once

#include "AIContext.h"
#include "pello/host/Host.h"

#include <memory>
#include <vector>

namespace pello::host {

class AppContexts : public Component {
public:
  explicit AppContexts(Host &) {}

  AIAppContextHandle push(SPPluginRef plugin);
  // False (nothing popped) unless `context` is the innermost one.
  bool pop(AIAppContextHandle context);
  std::size_t depth() const { return stack_.size(); }
  // The plug-in of the innermost context, or null.
  SPPluginRef current() const { return stack_.empty() ? nullptr : stack_.back()->plugin; }
  int pushes() const { return pushes_; }

private:
  struct Context {
    SPPluginRef plugin;
  };
  std::vector<std::unique_ptr<Context>> stack_;
  int pushes_ = 0;
};

} // namespace pello::host
