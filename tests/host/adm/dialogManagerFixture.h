// The dialog manager through its suites, on dialogs, menus, bitmaps and
// string lists of an in-memory module: the module's palette, modal dialog
// and menu, and the plug-in procedures the tests hand to the suites, which
// record what they are called with and when.
#pragma once

#include "AdmFixture.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pello::test {

// The module's resources.
inline constexpr int kPaletteDialog = 100;
inline constexpr int kModalDialog = 200;
inline constexpr int kMenu = 700;

// What the plug-in's procedures saw, in order.
struct Seen {
  std::vector<std::string> events;
  std::vector<std::array<std::uint8_t, 256>> keysAtNotify;
  bool failInit = false;
  bool abortMouseUp = false;
  bool trackWithoutDefault = false;
  bool destroyInInit = false;
  ASRect boundsInDestroy{};
  ASBoolean visibleInDestroy = false;
  bool itemLiveInDestroy = false;
};
extern Seen gSeen;

class DialogManagerTest : public AdmFixture {
protected:
  // The module holds a tabbed palette (a picture button 1, a push button 11
  // and a label 12), a modal dialog (OK 1 as the default, a message 3,
  // Cancel 2 and a plain button 5) and a menu of three commands.
  void SetUp() override;
  void TearDown() override;

  ADMDialogRef createPalette(ADMDialogInitProc init, ADMDialogStyle style = kADMTabbedFloatingDialogStyle);
  std::string text(ADMItemRef ref);

public:
  // Suites for the procedures below.
  static DialogManagerTest &t();
};

// The plug-in's procedures, reaching the suites through the running test.

// Records the notification and the keys held.
void ASAPI recordNotify(ADMItemRef itemRef, ADMNotifierRef note);
// Records the notification, then hands it to the default handling.
void ASAPI notifyThenDefault(ADMItemRef itemRef, ADMNotifierRef note);
// Records the tracking, then tracks as the default does, unless gSeen asks
// to abort at the mouse up or to skip the default tracking.
ASBoolean ASAPI recordTrack(ADMItemRef itemRef, ADMTrackerRef event);
// Records the notification, then destroys the item's dialog.
void ASAPI destroyOwnDialog(ADMItemRef itemRef, ADMNotifierRef note);
// Records the dialog as it is when destroyed.
void ASAPI recordDestroy(ADMDialogRef dlg);

// The palette's init: installs recordDestroy; destroys the dialog or fails
// when gSeen asks to.
ASErr ASAPI paletteInit(ADMDialogRef dlg);
// The palette's wiring: notify procs on 1 and 11, the option menu filled and
// tracked.
ASErr ASAPI wiredPaletteInit(ADMDialogRef dlg);
// The modal dialog's init: OK and the plain button notified with the default
// handling, the user data as the message, recordDestroy installed; fails
// when gSeen asks to.
ASErr ASAPI modalInit(ADMDialogRef dlg);

} // namespace pello::test
