// Dispatch of the menu and notifier callers, and the startup and shutdown
// steps of the plug-in.
#include "pluginHandler.h"

#include "Globals.h"
#include "SuiteTable.h"
#include "menuHandler.h"
#include "notifierHandler.h"

ASErr handlePluginCaller(const char *caller, const char *selector, void *message) {
  ASErr error = kASNoError;
  SPBasicSuite *sBasic = static_cast<SPMessageData *>(message)->basic;

  if (sBasic->IsEqual(caller, kAIMenuCaller)) {
    auto *menuMessage = static_cast<AIMenuMessage *>(message);
    if (sBasic->IsEqual(selector, kAIMenuGoSelector))
      error = goMenuItem(menuMessage);
    else if (sBasic->IsEqual(selector, kAIMenuUpdateSelector))
      error = updateMenuItem(menuMessage);
  } else if (sBasic->IsEqual(caller, kAINotifierCaller) &&
             sBasic->IsEqual(selector, kAINotifierNotifySelector)) {
    error = goNotifier(static_cast<AINotifierMessage *>(message));
  }
  return error;
}

namespace {

// The held matrix starts as the identity. The step holds the real math suite
// itself for the call; the reference is given back only if it was taken.
void resetHeldMatrix(SPBasicSuite *sBasic) {
  ASErr error = sBasic->AcquireSuite(kAIRealMathSuite, kAIRealMathSuiteVersion, suiteSlot(&sAIRealMath));
  if (sAIRealMath != nullptr) sAIRealMath->AIRealMatrixSetIdentity(&g->scrapMatrix);
  if (error == kASNoError) sBasic->ReleaseSuite(kAIRealMathSuite, kAIRealMathSuiteVersion);
}

} // namespace

ASErr pluginStartup(SPInterfaceMessage *message) {
  g->basic = message->d.basic;
  ASErr error = addMenu(message);
  // The notifier is added even when the menu item could not be.
  ASErr notifierError = addNotifiers(message);
  if (error == kASNoError) error = notifierError;
  resetHeldMatrix(message->d.basic);
  return error;
}

void pluginShutdown(SPInterfaceMessage *) {
  // The palette's destroy procedure saves its placement, clears
  // g->PelloDialog and ends the palette's hold on the suites.
  if (g != nullptr && g->PelloDialog != nullptr) sADMDialog->Destroy(g->PelloDialog);
}
