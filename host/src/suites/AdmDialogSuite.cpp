// "ADM Dialog Suite" 3: dialogs from the plug-in's dialog resources.
#include "ADMDialog.h"
#include "adm/AdmState.h"
#include "pello/host/HostCall.h"
#include "suites/AdmSuiteTables.h"

namespace pello::host {

namespace {

ADMDialogRef ASAPI Create(SPPluginRef plugin, const char *name, ai_int32 dialogID, ADMDialogStyle style,
                          ADMDialogInitProc initProc, ADMUserData data) {
  PELLO_HOST_CALL(call, "ADMDialog::Create");
  call.arg("plugin", static_cast<const void *>(plugin)).arg("name", name).arg("dialogID", dialogID);
  call.arg("style", style);
  if (call.faulted()) return nullptr;
  AdmState &adm = admState();
  std::string error;
  AdmDialog *dialog = adm.build(plugin, name ? name : "", dialogID, style, false, data, error);
  if (!dialog) {
    call.arg("error", error.c_str());
    call.done(kSPBadParameterError);
    return nullptr;
  }
  const Token token = dialog->token;
  if (initProc) {
    const ASErr initError = initProc(refOf<ADMDialogRef>(token));
    if (initError != kASNoError) {
      // The dialog never reaches the plug-in; its destroy proc, if the init
      // proc installed one, still runs so that what it took is given back.
      adm.destroy(token);
      call.arg("initError", initError);
      call.done(initError);
      return nullptr;
    }
  }
  if (!adm.dialogs.count(token)) {
    call.done(kSPBadParameterError); // destroyed by its own init proc
    return nullptr;
  }
  call.arg("dialog", refOf<const void *>(token));
  call.done(kASNoError);
  return refOf<ADMDialogRef>(token);
}

ai_int32 ASAPI Modal(SPPluginRef plugin, const char *name, ai_int32 dialogID, ADMDialogStyle style,
                     ADMDialogInitProc initProc, ADMUserData data) {
  PELLO_HOST_CALL(call, "ADMDialog::Modal");
  call.arg("plugin", static_cast<const void *>(plugin)).arg("name", name).arg("dialogID", dialogID);
  call.arg("style", style);
  if (call.faulted()) return -1;
  const ai_int32 result = admState().runModal(plugin, name ? name : "", dialogID, style, initProc, data);
  call.arg("result", result);
  call.done(result == -1 ? kSPBadParameterError : kASNoError);
  return result;
}

void ASAPI Destroy(ADMDialogRef dialog) {
  PELLO_HOST_CALL(call, "ADMDialog::Destroy");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (call.faulted()) return;
  if (!dialog) {
    call.done(kASNoError);
    return;
  }
  AdmState &adm = admState();
  AdmDialog *dlg = adm.dialog(dialog);
  if (!dlg) {
    call.done(kSPBadParameterError);
    return;
  }
  // A modal dialog is destroyed when its Modal call ends; destroying it
  // earlier just closes it.
  if (dlg->modal && dlg->run) {
    if (!dlg->run->closed) {
      dlg->run->closed = true;
      dlg->run->closedBy = -1;
    }
    call.done(kASNoError);
    return;
  }
  adm.destroy(tokenOf(dialog));
  call.done(kASNoError);
}

void ASAPI Show(ADMDialogRef dialog, ASBoolean show) {
  PELLO_HOST_CALL(call, "ADMDialog::Show");
  call.arg("dialog", static_cast<const void *>(dialog)).arg("show", show);
  if (call.faulted()) return;
  AdmDialog *dlg = admState().dialog(dialog);
  if (!dlg) {
    call.done(kSPBadParameterError);
    return;
  }
  dlg->visible = show != 0;
  call.done(kASNoError);
}

ASBoolean ASAPI IsVisible(ADMDialogRef dialog) {
  PELLO_HOST_CALL(call, "ADMDialog::IsVisible");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (call.faulted()) return false;
  AdmDialog *dlg = admState().dialog(dialog);
  if (!dlg) {
    call.done(dialog ? kSPBadParameterError : kASNoError);
    return false;
  }
  call.arg("visible", dlg->visible);
  call.done(kASNoError);
  return dlg->visible;
}

ADMItemRef ASAPI GetItem(ADMDialogRef dialog, ai_int32 itemID) {
  PELLO_HOST_CALL(call, "ADMDialog::GetItem");
  call.arg("dialog", static_cast<const void *>(dialog)).arg("itemID", itemID);
  if (call.faulted()) return nullptr;
  AdmState &adm = admState();
  AdmDialog *dlg = adm.dialog(dialog);
  if (!dlg) {
    call.done(kSPBadParameterError);
    return nullptr;
  }
  AdmItem *item = adm.itemById(*dlg, itemID);
  call.done(kASNoError);
  return item ? refOf<ADMItemRef>(item->token) : nullptr;
}

SPPluginRef ASAPI GetPluginRef(ADMDialogRef dialog) {
  PELLO_HOST_CALL(call, "ADMDialog::GetPluginRef");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (call.faulted()) return nullptr;
  AdmDialog *dlg = admState().dialog(dialog);
  call.done(dlg ? kASNoError : kSPBadParameterError);
  return dlg ? dlg->plugin : nullptr;
}

ADMUserData ASAPI GetUserData(ADMDialogRef dialog) {
  PELLO_HOST_CALL(call, "ADMDialog::GetUserData");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (call.faulted()) return nullptr;
  AdmDialog *dlg = admState().dialog(dialog);
  call.done(dlg ? kASNoError : kSPBadParameterError);
  return dlg ? dlg->userData : nullptr;
}

void ASAPI SetUserData(ADMDialogRef dialog, ADMUserData data) {
  PELLO_HOST_CALL(call, "ADMDialog::SetUserData");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (call.faulted()) return;
  AdmDialog *dlg = admState().dialog(dialog);
  if (dlg) dlg->userData = data;
  call.done(dlg ? kASNoError : kSPBadParameterError);
}

void ASAPI SetDestroyProc(ADMDialogRef dialog, ADMDialogDestroyProc destroyProc) {
  PELLO_HOST_CALL(call, "ADMDialog::SetDestroyProc");
  call.arg("dialog", static_cast<const void *>(dialog)).arg("installed", destroyProc != nullptr);
  if (call.faulted()) return;
  AdmDialog *dlg = admState().dialog(dialog);
  // A dialog already being destroyed has run its destroy proc.
  if (dlg && !dlg->destroying) dlg->destroyProc = destroyProc;
  call.done(dlg ? kASNoError : kSPBadParameterError);
}

void ASAPI GetBoundsRect(ADMDialogRef dialog, ASRect *boundsRect) {
  PELLO_HOST_CALL(call, "ADMDialog::GetBoundsRect");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (call.faulted()) return;
  AdmDialog *dlg = admState().dialog(dialog);
  if (!dlg || !boundsRect) {
    call.done(kSPBadParameterError);
    return;
  }
  *boundsRect = dlg->bounds;
  call.arg("left", boundsRect->left).arg("top", boundsRect->top);
  call.arg("right", boundsRect->right).arg("bottom", boundsRect->bottom);
  call.done(kASNoError);
}

void ASAPI SetBoundsRect(ADMDialogRef dialog, const ASRect *boundsRect) {
  PELLO_HOST_CALL(call, "ADMDialog::SetBoundsRect");
  call.arg("dialog", static_cast<const void *>(dialog));
  if (boundsRect) {
    call.arg("left", boundsRect->left).arg("top", boundsRect->top);
    call.arg("right", boundsRect->right).arg("bottom", boundsRect->bottom);
  }
  if (call.faulted()) return;
  AdmDialog *dlg = admState().dialog(dialog);
  if (!dlg || !boundsRect) {
    call.done(kSPBadParameterError);
    return;
  }
  dlg->bounds = *boundsRect;
  call.done(kASNoError);
}

ADMDialogSuite3 gSuite = {Create,      Modal,          Destroy,       Show,
                          IsVisible,   GetItem,        GetPluginRef,  GetUserData,
                          SetUserData, SetDestroyProc, GetBoundsRect, SetBoundsRect};

} // namespace

void registerAdmDialogSuite(SuiteRegistry &registry) {
  registry.add(kADMDialogSuite, kADMDialogSuiteVersion, &gSuite);
}

} // namespace pello::host
