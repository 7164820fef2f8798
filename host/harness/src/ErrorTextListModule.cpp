#include "pello/harness/ErrorTextListModule.h"

#include "pello/harness/PluginSurface.h"
#include "pello/host/Utf8.h"

namespace pello::harness {

namespace {

// Entry 1 of the error text list, the first string the list reads.
constexpr int kFirstEntryString = kErrorTextListId + 1;

} // namespace

ErrorTextListModule::ErrorTextListModule(const host::PluginModule &real,
                                         const std::vector<std::u16string> &entries)
    : ErrorTextListModule([&real] { return &real; }, entries) {}

ErrorTextListModule::ErrorTextListModule(RealModule real, const std::vector<std::u16string> &entries)
    : real_(std::move(real)) {
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

std::vector<std::u16string> ErrorTextListModule::entriesFromUtf8(const std::vector<std::string> &texts) {
  std::vector<std::u16string> entries;
  for (const std::string &text : texts) {
    std::u16string out;
    for (std::size_t at = 0; at < text.size();) {
      const char32_t code = host::nextCodePoint(text, at);
      if (code >= 0x10000) {
        out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(code));
      }
    }
    entries.push_back(std::move(out));
  }
  return entries;
}

const std::vector<std::uint8_t> *ErrorTextListModule::resource(const host::ResourceType &type, int id) const {
  if (type.name.empty() && type.number == host::kRtString) {
    auto it = blocks_.find(id);
    if (it != blocks_.end()) return &it->second;
  }
  return real().resource(type, id);
}

} // namespace pello::harness
