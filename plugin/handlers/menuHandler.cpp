// The "Pello Palette" menu item: shows and hides the palette and carries a
// check mark exactly while the palette is visible.
#include "menuHandler.h"

#include "Globals.h"
#include "stringUtils.h"

#include <cstring>

namespace {

constexpr char kMenuItemText[] = "Pello Palette";
constexpr char kMenuItemName[] = "Pello Palette Menu Item";

// The palette, or null when there is none yet (or no global record).
ADMDialogRef palette() {
  return g != nullptr ? g->PelloDialog : nullptr;
}

} // namespace

ASErr addMenu(SPInterfaceMessage *message) {
  char menuStr[sizeof kMenuItemText];
  std::memcpy(menuStr, kMenuItemText, sizeof kMenuItemText);

  AIPlatformAddMenuItemData menuData;
  menuData.groupName = kToolPalettesMenuGroup;
  menuData.itemText = SUctopstr(menuStr);

  return sAIMenu->AddMenuItem(message->d.self, kMenuItemName, &menuData, kMenuItemWantsUpdateOption,
                              &g->showPelloDialog);
}

ASErr goMenuItem(AIMenuMessage *message) {
  ADMDialogRef dialog = palette();
  // Without a menu item of its own (the host refused it) no item is ours.
  if (dialog != nullptr && g->showPelloDialog != nullptr && message->menuItem == g->showPelloDialog) {
    ASBoolean visible = sADMDialog->IsVisible(dialog);
    sADMDialog->Show(dialog, visible == 0 ? 1 : 0);
  }
  return kASNoError;
}

ASErr updateMenuItem(AIMenuMessage *message) {
  // Without a palette IsVisible gives false, so the check mark goes.
  sAIMenu->CheckItem(message->menuItem, sADMDialog->IsVisible(palette()));
  return kASNoError;
}
