#include "pello/host/Notifiers.h"

namespace pello::host {

Notifier *Notifiers::add(SPPluginRef owner, std::string name, std::string type) {
  auto notifier = std::make_unique<Notifier>();
  notifier->name = std::move(name);
  notifier->type = std::move(type);
  notifier->owner = owner;
  notifiers_.push_back(std::move(notifier));
  return notifiers_.back().get();
}

Notifier *Notifiers::find(AINotifierHandle handle) {
  for (auto &notifier : notifiers_)
    if (notifier->handle() == handle) return notifier.get();
  return nullptr;
}

std::vector<Notifier *> Notifiers::ofType(std::string_view type) {
  std::vector<Notifier *> out;
  for (auto &notifier : notifiers_)
    if (notifier->active && notifier->type == type) out.push_back(notifier.get());
  return out;
}

} // namespace pello::host
