// Microsoft's .res format (a sequence of RESOURCEHEADER records, each
// followed by its data) and the PiPL resource inside it. Portable: the
// platform loaders hand in the bytes they find in the module file, and tests
// and tools read .res images of their own with it.
#pragma once

#include "pello/host/PluginModule.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pello::host {

struct ResourceEntry {
  ResourceType type;
  int id = -1;      // -1 for a resource with a string name
  std::string name; // the string name, if it has one
  std::uint16_t language = 0;
  std::vector<std::uint8_t> data;
};

// The resources of a module, looked up by type and id.
class ResourceTable {
public:
  ResourceTable() = default;
  explicit ResourceTable(std::vector<ResourceEntry> entries) : entries_(std::move(entries)) {}

  // The first resource (type, id), whatever its language; null if absent.
  // String type names compare without regard to ASCII case, as on Windows.
  const std::vector<std::uint8_t> *find(const ResourceType &type, int id) const;
  std::vector<int> ids(const ResourceType &type) const;
  const std::vector<ResourceEntry> &entries() const { return entries_; }

private:
  std::vector<ResourceEntry> entries_;
};

bool sameType(const ResourceType &a, const ResourceType &b);

// Parses a .res image. False with `error` set when it is malformed.
bool parseResFile(const std::uint8_t *bytes, std::size_t size, std::vector<ResourceEntry> &out,
                  std::string &error);

inline constexpr int kPiPLResourceId = 16000;
inline constexpr std::uint32_t kSPEAKind = 0x53504541; // 'SPEA'
inline constexpr std::int32_t kPiPLInterfaceVersion = 2;

// Reads the PiPL of `table` (type "PIPL", id 16000) and checks what the host
// needs of it: kind 'SPEA', interface version 2, an entry point name in the
// 'wx86' property. False with `error` naming what is wrong.
bool readPiPL(const ResourceTable &table, PiPLInfo &info, std::string &error);

// "'ABCD'" for a code, or its number when it is not printable.
std::string fourCharText(std::uint32_t code);

} // namespace pello::host
