// The host's notifiers (AI Notifier Suite): who asked to hear which
// notification. A handle is the notifier's address.
#pragma once

#include "AINotifier.h"
#include "pello/host/Host.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pello::host {

struct Notifier {
  std::string name;
  std::string type;
  SPPluginRef owner = nullptr;
  bool active = true;

  AINotifierHandle handle() { return reinterpret_cast<AINotifierHandle>(this); }
};

class Notifiers : public Component {
public:
  explicit Notifiers(Host &) {}

  Notifier *add(SPPluginRef owner, std::string name, std::string type);
  // The notifier behind a handle, or null for a handle the host did not make.
  Notifier *find(AINotifierHandle handle);
  // The active notifiers of `type`, in the order they were added.
  std::vector<Notifier *> ofType(std::string_view type);
  const std::vector<std::unique_ptr<Notifier>> &all() const { return notifiers_; }

private:
  std::vector<std::unique_ptr<Notifier>> notifiers_;
};

} // namespace pello::host
