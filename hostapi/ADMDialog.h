/* ADMDialog.h: "ADM Dialog Suite" version 3, dialogs built from a plug-in's
 * dialog resources. */
#ifndef PELLO_HOSTAPI_ADMDIALOG_H
#define PELLO_HOSTAPI_ADMDIALOG_H

#include "ADMTypes.h"

AS_BEGIN_C

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 3

typedef struct ADMDialogSuite3 {
  /* Creates a non-modal dialog from dialog resource `dialogID` of `plugin`,
   * calls initProc on it, and returns it; the dialog manager owns it until
   * Destroy. Null when the resource is missing or initProc fails. */
  ADMDialogRef(ASAPI *Create)(SPPluginRef plugin, const char *name, ai_int32 dialogID, ADMDialogStyle style,
                              ADMDialogInitProc initProc, ADMUserData data);
  /* Creates a modal dialog like Create and runs it until one of its items
   * closes it (an OK button's default notification does); returns that
   * item's id, or -1 when the dialog could not be made. The dialog is gone
   * when Modal returns. */
  ai_int32(ASAPI *Modal)(SPPluginRef plugin, const char *name, ai_int32 dialogID, ADMDialogStyle style,
                         ADMDialogInitProc initProc, ADMUserData data);
  /* Calls the dialog's destroy procedure, then frees the dialog and its
   * items. Null is ignored. */
  void(ASAPI *Destroy)(ADMDialogRef dialog);
  /* Shows (true) or hides (false) the dialog. */
  void(ASAPI *Show)(ADMDialogRef dialog, ASBoolean show);
  /* True while the dialog is shown; false for a null dialog. */
  ASBoolean(ASAPI *IsVisible)(ADMDialogRef dialog);
  /* The item with `itemID`, or null; kADMMenuItemID is a tabbed palette's
   * option-menu button. The dialog owns its items. */
  ADMItemRef(ASAPI *GetItem)(ADMDialogRef dialog, ai_int32 itemID);
  /* The plug-in that created the dialog. */
  SPPluginRef(ASAPI *GetPluginRef)(ADMDialogRef dialog);
  /* The user data given to Create or Modal, or set since. */
  ADMUserData(ASAPI *GetUserData)(ADMDialogRef dialog);
  void(ASAPI *SetUserData)(ADMDialogRef dialog, ADMUserData data);
  /* Installs the procedure Destroy calls; null removes it. */
  void(ASAPI *SetDestroyProc)(ADMDialogRef dialog, ADMDialogDestroyProc destroyProc);
  /* The dialog's bounds in screen coordinates (y grows downwards). */
  void(ASAPI *GetBoundsRect)(ADMDialogRef dialog, ASRect *boundsRect);
  void(ASAPI *SetBoundsRect)(ADMDialogRef dialog, const ASRect *boundsRect);
} ADMDialogSuite3;

AS_END_C

#endif
