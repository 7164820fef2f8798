#include "pello/host/ResourceFile.h"
#include "pello/host/ResourceTemplates.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace pello::host {

namespace {

std::uint16_t read16(const std::uint8_t *p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t read32(const std::uint8_t *p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::size_t alignUp4(std::size_t n) {
  return (n + 3) & ~static_cast<std::size_t>(3);
}

char asciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A TYPE or NAME field: 0xFFFF and an ordinal, or a zero-terminated UTF-16
// string. Advances `at`; false when the field runs past `end`.
bool readNameOrId(const std::uint8_t *base, std::size_t &at, std::size_t end, int &id, std::string &name) {
  if (at + 2 > end) return false;
  if (read16(base + at) == 0xFFFF) {
    if (at + 4 > end) return false;
    id = read16(base + at + 2);
    at += 4;
    return true;
  }
  id = -1;
  name.clear();
  while (true) {
    if (at + 2 > end) return false;
    std::uint16_t unit = read16(base + at);
    at += 2;
    if (unit == 0) return true;
    // Resource names are ASCII in practice; anything else becomes '?'.
    name += unit < 0x80 ? static_cast<char>(unit) : '?';
  }
}

} // namespace

bool sameType(const ResourceType &a, const ResourceType &b) {
  if (a.name.empty() != b.name.empty()) return false;
  if (a.name.empty()) return a.number == b.number;
  return a.name.size() == b.name.size() &&
         std::equal(a.name.begin(), a.name.end(), b.name.begin(),
                    [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
}

const std::vector<std::uint8_t> *ResourceTable::find(const ResourceType &type, int id) const {
  for (const ResourceEntry &entry : entries_)
    if (entry.id == id && sameType(entry.type, type)) return &entry.data;
  return nullptr;
}

std::vector<int> ResourceTable::ids(const ResourceType &type) const {
  std::vector<int> out;
  for (const ResourceEntry &entry : entries_)
    if (entry.id >= 0 && sameType(entry.type, type)) out.push_back(entry.id);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

bool parseResFile(const std::uint8_t *bytes, std::size_t size, std::vector<ResourceEntry> &out,
                  std::string &error) {
  std::size_t at = 0;
  while (at < size) {
    if (size - at < 8) {
      error = "truncated resource header at offset " + std::to_string(at);
      return false;
    }
    std::uint32_t dataSize = read32(bytes + at);
    std::uint32_t headerSize = read32(bytes + at + 4);
    if (headerSize < 16 || headerSize > size - at || dataSize > size - at - headerSize) {
      error = "resource at offset " + std::to_string(at) + " runs past the end";
      return false;
    }
    std::size_t headerEnd = at + headerSize;
    std::size_t field = at + 8;
    ResourceEntry entry;
    int typeId = 0;
    std::string typeName;
    if (!readNameOrId(bytes, field, headerEnd, typeId, typeName) ||
        !readNameOrId(bytes, field, headerEnd, entry.id, entry.name)) {
      error = "bad type or name in the resource header at offset " + std::to_string(at);
      return false;
    }
    field = alignUp4(field);
    // DataVersion (4), MemoryFlags (2), LanguageId (2), Version (4),
    // Characteristics (4).
    if (field + 16 > headerEnd) {
      error = "short resource header at offset " + std::to_string(at);
      return false;
    }
    entry.language = read16(bytes + field + 6);
    entry.type = typeId >= 0 ? ResourceType::id(typeId) : ResourceType::named(typeName);
    // The file begins with an empty entry (type 0), which marks the format.
    bool marker = typeId == 0 && dataSize == 0;
    if (!marker) {
      entry.data.assign(bytes + headerEnd, bytes + headerEnd + dataSize);
      out.push_back(std::move(entry));
    }
    at = alignUp4(headerEnd + dataSize);
  }
  return true;
}

std::string fourCharText(std::uint32_t code) {
  char text[5] = {static_cast<char>(code >> 24), static_cast<char>(code >> 16), static_cast<char>(code >> 8),
                  static_cast<char>(code), 0};
  for (int i = 0; i < 4; ++i)
    if (text[i] < 0x20 || text[i] > 0x7E) return std::to_string(code);
  return std::string("'") + text + "'";
}

bool readPiPL(const ResourceTable &table, PiPLInfo &info, std::string &error) {
  const std::vector<std::uint8_t> *pipl = table.find(ResourceType::named("PIPL"), kPiPLResourceId);
  if (!pipl) {
    error = "no PiPL resource (type \"PIPL\", id " + std::to_string(kPiPLResourceId) + ")";
    return false;
  }
  const std::uint8_t *p = pipl->data();
  std::size_t size = pipl->size();
  if (size < 10) {
    error = "the PiPL resource is too short (" + std::to_string(size) + " bytes)";
    return false;
  }
  std::uint32_t count = read32(p + 6);
  std::size_t at = 10;
  bool haveKind = false, haveVersion = false, haveEntry = false;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (size - at < 16) {
      error = "the PiPL resource is damaged: property " + std::to_string(i) + " runs past its end";
      return false;
    }
    std::uint32_t vendor = read32(p + at);
    std::uint32_t key = read32(p + at + 4);
    std::uint32_t length = read32(p + at + 12);
    const std::uint8_t *data = p + at + 16;
    if (length > size - at - 16) {
      error = "the PiPL resource is damaged: property " + fourCharText(key) + " runs past its end";
      return false;
    }
    if (vendor == 0x41444245 /* 'ADBE' */) {
      if (key == 0x6B696E64 /* 'kind' */ && length >= 4) {
        info.kind = read32(data);
        haveKind = true;
      } else if (key == 0x69767273 /* 'ivrs' */ && length >= 4) {
        info.interfaceVersion = static_cast<std::int32_t>(read32(data));
        haveVersion = true;
      } else if (key == 0x77783836 /* 'wx86' */) {
        const char *name = reinterpret_cast<const char *>(data);
        info.entryPoint.assign(name, strnlen(name, length));
        haveEntry = !info.entryPoint.empty();
      }
    }
    at += 16 + alignUp4(length);
    if (at > size) at = size;
  }
  if (!haveKind) {
    error = "the PiPL has no plug-in kind ('kind' property)";
    return false;
  }
  if (info.kind != kSPEAKind) {
    error = "the PiPL gives the plug-in kind " + fourCharText(info.kind) + ", not 'SPEA'";
    return false;
  }
  if (!haveVersion) {
    error = "the PiPL has no interface version ('ivrs' property)";
    return false;
  }
  if (info.interfaceVersion != kPiPLInterfaceVersion) {
    error = "the PiPL gives interface version " + std::to_string(info.interfaceVersion) + ", not 2";
    return false;
  }
  if (!haveEntry) {
    error = "the PiPL names no entry point ('wx86' property)";
    return false;
  }
  return true;
}

std::optional<std::string> resourceString(const PluginModule &module, int id) {
  if (id < 0 || id > 0xFFFF) return std::nullopt;
  const std::vector<std::uint8_t> *block = module.resource(ResourceType::id(kRtString), (id >> 4) + 1);
  if (!block) return std::nullopt;
  const std::uint8_t *p = block->data();
  std::size_t size = block->size();
  std::size_t at = 0;
  for (int index = 0; index < 16; ++index) {
    if (at + 2 > size) return std::nullopt;
    std::size_t length = read16(p + at);
    at += 2;
    if (length * 2 > size - at) return std::nullopt;
    if (index == (id & 15)) {
      if (length == 0) return std::nullopt;
      std::u16string text;
      for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char16_t>(read16(p + at + 2 * i));
      return utf16ToUtf8(text);
    }
    at += length * 2;
  }
  return std::nullopt;
}

} // namespace pello::host
