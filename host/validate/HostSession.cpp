#include "pello/validate/HostSession.h"

#include "pello/host/AppContext.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <map>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

HostSession::HostSession(CheckContext &context, const std::filesystem::path &preferencesFile)
    : hosted({context.plugin, preferencesFile, {}, std::nullopt}), host(hosted.host()),
      plugin(hosted.plugin()), dialogs(hosted.dialogs()), document(hosted.document()),
      preferences(hosted.preferences()), blocks(hosted.blocks()), context(context) {}

HostSession::~HostSession() {
  host.log().setListener(nullptr);
  dialogs.setAlertListener(nullptr);
  dialogs.setModalListener(nullptr);
}

bool HostSession::load() {
  harness::Outcome loaded = hosted.load();
  if (!loaded) context.fail("the host refuses the module: " + loaded.failure);
  return bool(loaded);
}

bool HostSession::bringUp() {
  return load() && start();
}

bool HostSession::start() {
  harness::Outcome started = hosted.start();
  if (!started) context.fail(started.failure);
  return bool(started);
}

bool HostSession::open(const Json &json) {
  harness::Outcome opened = hosted.open(json);
  if (!opened) context.fail("the host refuses a test document: " + opened.failure);
  return bool(opened);
}

std::string HostSession::documentText() const {
  return hosted.documentText();
}

void HostSession::finish(const Allowances &allowed, int *shutdownsSent) {
  const bool wasOut = !plugin.loaded() && plugin.globalsSlot() != nullptr;
  const ASErr error = hosted.settleAndShutDown(shutdownsSent);
  if (wasOut && !plugin.loaded())
    context.fail("reload before the final shutdown returned " + codeText(error) + " " + plugin.lastError());
  else if (!allowed.holds && !allowed.blocks)
    context.expect(error == kASNoError, "the final shutdown returned " + codeText(error));
  checkClean(allowed);
}

Allowances HostSession::allowancesFromFaults() const {
  Allowances allowed;
  for (const Faults::Fired &fired : host.faults().fired()) {
    if (fired.op == "SPBasic::ReleaseSuite") allowed.holds = true;
    if (fired.op == "SPBlocks::FreeBlock") allowed.blocks = true;
    if (fired.op == "SPAccess::ReleasePlugin") allowed.access = true;
    if (fired.op == "AIAppContext::PopAppContext") allowed.contexts = true;
    if (fired.op == "ADMDialog::SetDestroyProc" || fired.op == "ADMDialog::Destroy")
      allowed.holds = allowed.access = allowed.dialogs = true;
  }
  return allowed;
}

void HostSession::checkClean(const Allowances &allowed) {
  if (!allowed.holds) {
    const int holds = host.suites().totalHolds();
    if (holds != 0) {
      std::string names;
      for (const std::string &name : host.suites().names()) {
        const int n = host.suites().holds(name);
        if (n != 0) names += (names.empty() ? "" : ", ") + name + " x" + std::to_string(n);
      }
      context.fail("suites still held after shutdown (an AcquireSuite without its ReleaseSuite): " + names);
    }
  }
  if (!allowed.blocks && blocks.liveCount() != 0) {
    std::map<std::string, int> byName;
    for (const Blocks::Block &block : blocks.live())
      ++byName[block.name];
    std::string names;
    for (const auto &[name, n] : byName)
      names += (names.empty() ? "\"" : ", \"") + name + "\" x" + std::to_string(n);
    context.fail("memory blocks still allocated after shutdown: " + names);
  }
  if (!allowed.access) {
    const int refs = host.get<AccessRefs>().held();
    context.expect(refs == 0,
                   std::to_string(refs) + " access reference(s) to the plug-in still held after shutdown");
  }
  if (!allowed.dialogs) {
    const std::size_t open = plugin.dialogsClosedByHost() + dialogs.dialogs().size();
    context.expect(open == 0, std::to_string(open) + " dialog(s) still open after shutdown");
  }
  if (!allowed.contexts)
    context.expect(host.get<AppContexts>().depth() == 0,
                   "an application context is still pushed after shutdown");
  context.expect(plugin.callDepth() == 0, "a PluginMain call never returned");
  if (!preferences.file().empty()) checkPreferencesFile();
}

void HostSession::checkPreferencesFile() {
  if (!preferences.save()) {
    context.fail("the host could not write the preferences file");
    return;
  }
  std::ifstream in(preferences.file(), std::ios::binary);
  if (!in) return; // nothing stored: no file is valid too
  nlohmann::json root = nlohmann::json::parse(in, nullptr, false);
  if (!context.expect(root.is_object(), "the preferences file is not a JSON object")) return;
  if (!root.contains(kPreferencePrefix)) return;
  const nlohmann::json &pello = root[kPreferencePrefix];
  const std::map<std::string, std::string> types = {{kDockGroupKey, "string"},
                                                    {kDockCodeKey, "integer"},
                                                    {kLocationKey, "point"},
                                                    {kVisibleKey, "boolean"}};
  for (const auto &[key, type] : types) {
    if (!pello.contains(key)) continue;
    const nlohmann::json &entry = pello[key];
    context.expect(entry.is_object() && entry.value("type", "") == type,
                   "preference \"" + key + "\" is stored with another type than " + type);
  }
  // The host reads its own file back whole.
  std::size_t before = preferences.warnings().size();
  preferences.setFile(preferences.file());
  context.expect(preferences.warnings().size() == before, "the host finds the preferences file damaged");
}

} // namespace pello::validate
