// The host's menus: the items plug-ins add (AI Menu Suite), with their check
// marks. A handle is the item's address.
#pragma once

#include "AIMenu.h"
#include "pello/host/Host.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pello::host {

struct MenuItem {
  std::string key;   // the unique name given to AddMenuItem
  std::string group; // the host's menu group
  std::string text;  // from the length-prefixed item text
  ai_int32 options = 0;
  bool checked = false;
  SPPluginRef owner = nullptr;

  AIMenuItemHandle handle() { return reinterpret_cast<AIMenuItemHandle>(this); }
  bool wantsUpdate() const { return (options & kMenuItemWantsUpdateOption) != 0; }
};

class Menus : public Component {
public:
  explicit Menus(Host &) {}

  // The groups the host has; items can only go into these.
  static bool knownGroup(std::string_view group);

  // Null when the group is unknown or the key in use.
  MenuItem *add(SPPluginRef owner, std::string key, std::string group, std::string text, ai_int32 options);
  MenuItem *find(std::string_view key);
  // The item behind a handle, or null for a handle the host did not make.
  MenuItem *item(AIMenuItemHandle handle);
  const std::vector<std::unique_ptr<MenuItem>> &items() const { return items_; }

private:
  std::vector<std::unique_ptr<MenuItem>> items_;
};

} // namespace pello::host
