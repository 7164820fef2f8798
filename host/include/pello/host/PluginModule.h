// A loaded plug-in module: its entry point, found through its PiPL, and its
// resources, read from the module file (natively, the .res bytes the build
// embeds as the ELF section ".rsrc"; on Windows, the DLL's own resources).
#pragma once

#include "SPMessage.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pello::host {

// A resource type: a number (5 dialog, 4 menu, 2 bitmap, 6 string block,
// 16 version) or a name ("PIPL").
struct ResourceType {
  int number = 0;
  std::string name;
  static ResourceType id(int n) { return ResourceType{n, {}}; }
  static ResourceType named(std::string s) { return ResourceType{0, std::move(s)}; }
};

inline constexpr int kRtBitmap = 2;
inline constexpr int kRtMenu = 4;
inline constexpr int kRtDialog = 5;
inline constexpr int kRtString = 6;
inline constexpr int kRtVersion = 16;

// What the PiPL resource says.
struct PiPLInfo {
  std::uint32_t kind = 0;      // 'SPEA'
  std::int32_t interfaceVersion = 0;
  std::string entryPoint;      // from the 'wx86' property
};

class PluginModule {
public:
  virtual ~PluginModule() = default;

  // Opens the module at `path`, reads its resources, checks its PiPL (kind
  // 'SPEA', interface version 2, an entry point name) and resolves the entry
  // point by that name. Null with `error` naming what is wrong otherwise.
  static std::unique_ptr<PluginModule> open(const std::filesystem::path &path, std::string &error);

  virtual SPPluginMainProc entry() const = 0;
  virtual const PiPLInfo &pipl() const = 0;
  virtual const std::filesystem::path &path() const = 0;

  // The bytes of resource (type, id), whatever its language; null if absent.
  virtual const std::vector<std::uint8_t> *resource(const ResourceType &type, int id) const = 0;
  // The ids of every resource of `type`, ascending.
  virtual std::vector<int> resourceIds(const ResourceType &type) const = 0;
  // The names the module's dynamic symbol table defines (for validation).
  virtual std::vector<std::string> exportedNames() const = 0;
};

// String-table string `id` (UTF-16 in the resource, returned as UTF-8), if
// the module has it.
std::optional<std::string> resourceString(const PluginModule &module, int id);

} // namespace pello::host
