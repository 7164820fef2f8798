#include "pello/host/Menus.h"

#include <array>

namespace pello::host {

bool Menus::knownGroup(std::string_view group) {
  static constexpr std::array<std::string_view, 6> groups = {
      kToolPalettesMenuGroup, "Window", "Edit", "Object", "Filter", "Help"};
  for (std::string_view known : groups)
    if (group == known) return true;
  return false;
}

MenuItem *Menus::add(SPPluginRef owner, std::string key, std::string group, std::string text,
                     ai_int32 options) {
  if (!knownGroup(group) || find(key)) return nullptr;
  auto item = std::make_unique<MenuItem>();
  item->key = std::move(key);
  item->group = std::move(group);
  item->text = std::move(text);
  item->options = options;
  item->owner = owner;
  items_.push_back(std::move(item));
  return items_.back().get();
}

MenuItem *Menus::find(std::string_view key) {
  for (auto &item : items_)
    if (item->key == key) return item.get();
  return nullptr;
}

MenuItem *Menus::item(AIMenuItemHandle handle) {
  for (auto &item : items_)
    if (item->handle() == handle) return item.get();
  return nullptr;
}

} // namespace pello::host
