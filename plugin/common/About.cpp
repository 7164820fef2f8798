// The About box: everything it shows comes from dialog resource 16050.
#include "About.h"

#include "Suites.h"
#include "shellResources.h"

ai_int32 goAbout(SPInterfaceMessage *message) {
  return sADMDialog->Modal(message->d.self, "About Dialog", kAboutDialogID, kADMModalDialogStyle,
                           AboutPluginInitProc, nullptr);
}

ASErr ASAPI AboutPluginInitProc(ADMDialogRef dialog) {
  sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kAboutOKButtonItem), AboutDlgOKButtonProc);
  return kASNoError;
}

void ASAPI AboutDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier) {
  sADMItem->DefaultNotify(item, notifier);
}
