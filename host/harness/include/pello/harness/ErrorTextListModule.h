// A loaded module seen with another error text list: the host reads every
// resource from the real module except the string-table blocks of the list,
// which hold `entries` instead (entry 1 is the first string the plug-in
// reads). Strings past the last entry are empty, so the list ends there.
// Install it with DialogManager::setModuleLookup for the plug-in's reference;
// `real` must outlive it, or, given as a function, answer with the module
// loaded now (the list then follows the plug-in across unloads and reloads;
// the lookup must not hand the list out while the function answers null).
#pragma once

#include "pello/host/PluginModule.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace pello::harness {

class ErrorTextListModule : public host::PluginModule {
public:
  using RealModule = std::function<const host::PluginModule *()>;
  ErrorTextListModule(const host::PluginModule &real, const std::vector<std::u16string> &entries);
  ErrorTextListModule(RealModule real, const std::vector<std::u16string> &entries);

  // UTF-8 texts as the list's UTF-16 entries (a malformed byte reads as U+FFFD).
  static std::vector<std::u16string> entriesFromUtf8(const std::vector<std::string> &texts);

  SPPluginMainProc entry() const override { return real().entry(); }
  const host::PiPLInfo &pipl() const override { return real().pipl(); }
  const std::filesystem::path &path() const override { return real().path(); }
  const std::vector<std::uint8_t> *resource(const host::ResourceType &type, int id) const override;
  std::vector<int> resourceIds(const host::ResourceType &type) const override {
    return real().resourceIds(type);
  }
  std::vector<std::string> exportedNames() const override { return real().exportedNames(); }

private:
  const host::PluginModule &real() const { return *real_(); }
  RealModule real_;
  std::map<int, std::vector<std::uint8_t>> blocks_; // string-table block id -> its bytes
};

} // namespace pello::harness
