// "ADM Dialog Group Suite" 1: which dock group a palette stands in, and
// where. A palette that has not been docked stands alone: group "", code 0.
#include "ADMDialogGroup.h"
#include "adm/AdmState.h"
#include "pello/host/HostCall.h"
#include "suites/AdmSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI GetDialogGroupInfo(ADMDialogRef dialog, const char **groupName, ai_int32 *positionCode) {
  PELLO_HOST_CALL(call, "ADMDialogGroup::GetDialogGroupInfo");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (ASErr e = call.injected()) return call.done(e);
  AdmDialog *dlg = admState().dialog(dialog);
  if (!dlg || dlg->modal || !groupName || !positionCode) return call.done(kSPBadParameterError);
  // The name stays the dialog's: valid until it is docked again or destroyed.
  *groupName = dlg->group.c_str();
  *positionCode = dlg->positionCode;
  call.arg("group", dlg->group.c_str()).arg("positionCode", dlg->positionCode);
  return call.done(kASNoError);
}

ASErr ASAPI SetDialogGroupInfo(ADMDialogRef dialog, const char *groupName, ai_int32 positionCode) {
  PELLO_HOST_CALL(call, "ADMDialogGroup::SetDialogGroupInfo");
  call.arg("dialog", static_cast<const void *>(dialog)).arg("groupName", groupName);
  call.arg("positionCode", positionCode);
  if (ASErr e = call.injected()) return call.done(e);
  AdmDialog *dlg = admState().dialog(dialog);
  if (!dlg || dlg->modal || !groupName) return call.done(kSPBadParameterError);
  dlg->group = groupName;
  dlg->positionCode = positionCode;
  return call.done(kASNoError);
}

ADMDialogGroupSuite1 gSuite = {GetDialogGroupInfo, SetDialogGroupInfo};

} // namespace

void registerAdmDialogGroupSuite(SuiteRegistry &registry) {
  registry.add(kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, &gSuite);
}

} // namespace pello::host
