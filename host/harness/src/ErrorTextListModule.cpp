#include "pello/harness/ErrorTextListModule.h"

#include "pello/harness/PluginSurface.h"

namespace pello::harness {

namespace {

// Entry 1 of the error text list, the first string the list reads.
constexpr int kFirstEntryString = kErrorTextListId + 1;

} // namespace

ErrorTextListModule::ErrorTextListModule(const host::PluginModule &real,
                                         const std::vector<std::u16string> &entries)
    : real_(real) {
  // A string table keeps 16 strings per block; block b holds the strings
  // 16 (b - 1) to 16 (b - 1) + 15, each a length and UTF-16 units.
  const int last = kFirstEntryString + static_cast<int>(entries.size()) + 16;
  for (int block = (kFirstEntryString >> 4) + 1; block <= (last >> 4) + 1; ++block) {
    std::vector<std::uint8_t> bytes;
    for (int index = 0; index < 16; ++index) {
      const int entry = ((block - 1) << 4) + index - kFirstEntryString;
      std::u16string text;
      if (entry >= 0 && entry < static_cast<int>(entries.size()))
        text = entries[static_cast<std::size_t>(entry)];
      bytes.push_back(static_cast<std::uint8_t>(text.size() & 0xFF));
      bytes.push_back(static_cast<std::uint8_t>(text.size() >> 8));
      for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
      }
    }
    blocks_[block] = std::move(bytes);
  }
}

const std::vector<std::uint8_t> *ErrorTextListModule::resource(const host::ResourceType &type, int id) const {
  if (type.name.empty() && type.number == host::kRtString) {
    auto it = blocks_.find(id);
    if (it != blocks_.end()) return &it->second;
  }
  return real_.resource(type, id);
}

} // namespace pello::harness
