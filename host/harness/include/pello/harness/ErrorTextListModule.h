// A loaded module seen with another error text list: the host reads every
// resource from the real module except the string-table blocks of the list,
// which hold `entries` instead (entry 1 is the first string the plug-in
// reads). Strings past the last entry are empty, so the list ends there.
// Install it with DialogManager::setModuleLookup for the plug-in's reference;
// `real` must outlive it.
#pragma once

#include "pello/host/PluginModule.h"

#include <map>
#include <string>
#include <vector>

namespace pello::harness {

class ErrorTextListModule : public host::PluginModule {
public:
  ErrorTextListModule(const host::PluginModule &real, const std::vector<std::u16string> &entries);

  SPPluginMainProc entry() const override { return real_.entry(); }
  const host::PiPLInfo &pipl() const override { return real_.pipl(); }
  const std::filesystem::path &path() const override { return real_.path(); }
  const std::vector<std::uint8_t> *resource(const host::ResourceType &type, int id) const override;
  std::vector<int> resourceIds(const host::ResourceType &type) const override {
    return real_.resourceIds(type);
  }
  std::vector<std::string> exportedNames() const override { return real_.exportedNames(); }

private:
  const host::PluginModule &real_;
  std::map<int, std::vector<std::uint8_t>> blocks_; // string-table block id -> its bytes
};

} // namespace pello::harness
