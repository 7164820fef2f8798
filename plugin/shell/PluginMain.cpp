// The entry point: dispatch of the host's calls, with the suites held around
// every call except those of "SP Access", and the lifecycle wrappers.
#include "PluginMain.h"

#include "About.h"
#include "Globals.h"
#include "SuiteTable.h"
#include "pluginHandler.h"
#include "reportError.h"

Globals *g = nullptr;

extern "C" PELLO_EXPORT ASErr ASAPI PluginMain(const char *caller, const char *selector, void *message) {
  ASErr error = kASNoError;
  SPBasicSuite *sBasic = static_cast<SPMessageData *>(message)->basic;

  if (sBasic->IsEqual(caller, kSPAccessCaller)) {
    auto *accessMessage = static_cast<SPAccessMessage *>(message);
    if (sBasic->IsEqual(selector, kSPAccessUnloadSelector))
      error = UnloadPlugin(accessMessage);
    else if (sBasic->IsEqual(selector, kSPAccessReloadSelector))
      error = ReloadPlugin(accessMessage);
    return error;
  }

  error = acquireSuites(sBasic);
  if (error == kASNoError) {
    if (sBasic->IsEqual(caller, kSPInterfaceCaller)) {
      auto *interfaceMessage = static_cast<SPInterfaceMessage *>(message);
      if (sBasic->IsEqual(selector, kSPInterfaceStartupSelector))
        error = StartupPlugin(interfaceMessage);
      else if (sBasic->IsEqual(selector, kSPInterfaceAboutSelector))
        error = AboutPlugin(interfaceMessage);
      else if (sBasic->IsEqual(selector, kSPInterfaceShutdownSelector))
        error = ShutdownPlugin(interfaceMessage);
    } else {
      error = handlePluginCaller(caller, selector, message);
    }
  }

  // A missing suite has had its own alert where one could be shown.
  if (error != kASNoError && error != kSPSuiteNotFoundError)
    report_error(static_cast<SPInterfaceMessage *>(message), error);

  // Also after a failed acquisition: every acquireSuites counts one holder.
  releaseSuites(sBasic);
  return error;
}

ASErr AboutPlugin(SPInterfaceMessage *message) {
  goAbout(message);
  return kASNoError;
}

ASErr StartupPlugin(SPInterfaceMessage *message) {
  void *block = nullptr;
  ASErr error = sSPBlocks->AllocateBlock(sizeof(Globals), "globals", &block);
  if (error == kASNoError) {
    g = static_cast<Globals *>(block);
    // The host's block comes uncleared: the menu item and notifier handles
    // stay null when the host refuses to add them, and the handlers compare
    // against them.
    *g = Globals{};
    g->basic = message->d.basic;
    error = pluginStartup(message);
  }
  return error;
}

ASErr ShutdownPlugin(SPInterfaceMessage *message) {
  pluginShutdown(message);
  ASErr error = message->d.basic->AcquireSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, suiteSlot(&sSPBlocks));
  if (error == kASNoError) {
    // A shutdown without a record (no startup, or a failed one) has nothing
    // to free.
    if (g != nullptr) sSPBlocks->FreeBlock(g);
    g = nullptr;
    message->d.basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
  }
  message->d.globals = nullptr;
  return error;
}

ASErr UnloadPlugin(SPAccessMessage *message) {
  if (message->d.globals != nullptr) unloadPluginSuiteFunctions(message);
  message->d.globals = g;
  return kASNoError;
}

ASErr ReloadPlugin(SPAccessMessage *message) {
  ASErr error = kASNoError;
  if (message->d.globals != nullptr) error = reloadPluginSuiteFunctions(message);
  g = static_cast<Globals *>(message->d.globals);
  gAcquireCount = 0;
  return error;
}
