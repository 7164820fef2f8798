// Standard menu templates: a 4-byte header (version 0 and the size of what
// follows the header before the items), then items; a popup's items follow
// it directly, and the item flagged MF_END closes its level.
#include "ByteReader.h"
#include "pello/host/ResourceTemplates.h"

namespace pello::host {

namespace {

bool fail(std::string &error, const std::string &what) {
  error = "malformed menu template: " + what;
  return false;
}

bool readLevel(ByteReader &in, int depth, std::vector<MenuItemTemplate> &items, std::string &error) {
  if (depth > kMaxMenuDepth) return fail(error, "popups nested deeper than " + std::to_string(kMaxMenuDepth));
  for (;;) {
    MenuItemTemplate item;
    if (!in.u16(item.flags)) return fail(error, "an item is cut short (no item carries the end flag)");
    if (!item.isPopup() && !in.u16(item.id)) return fail(error, "an item's id is cut short");
    std::u16string text;
    if (!in.utf16z(text)) return fail(error, "an item's text is not terminated");
    item.text = utf16ToUtf8(text);
    if (item.isPopup() && !readLevel(in, depth + 1, item.children, error)) return false;
    const bool last = (item.flags & kMfEnd) != 0;
    items.push_back(std::move(item));
    if (last) return true;
  }
}

void collectCommands(const std::vector<MenuItemTemplate> &items, std::vector<MenuItemTemplate> &out) {
  for (const MenuItemTemplate &item : items) {
    if (item.isPopup()) {
      collectCommands(item.children, out);
    } else if ((item.flags & kMfSeparator) == 0 && !(item.id == 0 && item.text.empty())) {
      MenuItemTemplate command = item;
      command.children.clear();
      out.push_back(std::move(command));
    }
  }
}

} // namespace

bool parseMenuTemplate(std::span<const std::uint8_t> bytes, MenuTemplate &out, std::string &error) {
  ByteReader in(bytes);
  MenuTemplate result;
  std::uint16_t headerSize = 0;
  if (!in.u16(result.version) || !in.u16(headerSize)) return fail(error, "header is cut short");
  if (result.version != 0)
    return fail(error, "version " + std::to_string(result.version) + " is not a standard menu template");
  if (!in.skip(headerSize)) return fail(error, "header size runs past the end");
  if (!readLevel(in, 0, result.items, error)) return false;
  out = std::move(result);
  return true;
}

std::vector<MenuItemTemplate> menuCommands(const MenuTemplate &menu) {
  std::vector<MenuItemTemplate> out;
  collectCommands(menu.items, out);
  return out;
}

} // namespace pello::host
