#include "dialogManagerFixture.h"

#include "pello/host/Keyboard.h"

using namespace pello::host;

namespace pello::test {

namespace {

DialogManagerTest *gTest = nullptr;

} // namespace

Seen gSeen;

void DialogManagerTest::SetUp() {
  gSeen = Seen{};
  gTest = this;
  // A tabbed palette: a picture button, a push button and a label.
  Bytes palette = dialogHeader(0x80C800A0, 3, 0, 0, 206, 78, "Pal");
  dialogItem(palette, 0x50000000, 48, 34, 16, 16, 1, 0, "ADM Picture Push Button Type", "");
  dialogItem(palette, 0x50010000, 92, 44, 96, 20, 11, 0x80, "", "Untransform");
  dialogItem(palette, 0x50020000, 2, 2, 61, 14, 12, 0x82, "", "Patterns");
  module.add(kRtDialog, kPaletteDialog, palette.data);
  // A modal dialog: OK (default), a message, Cancel and a plain button.
  Bytes modal = dialogHeader(0x90C800C0, 4, 0, 0, 185, 92, "Box"); // DS_SETFONT: a font follows
  modal.u16(8).sz("MS Sans Serif");
  dialogItem(modal, 0x50010001, 127, 65, 50, 14, 1, 0x80, "", "OK");
  dialogItem(modal, 0x50020000, 43, 12, 126, 28, 3, 0x82, "", "Message");
  dialogItem(modal, 0x50010000, 10, 65, 50, 14, 2, 0x80, "", "Cancel");
  dialogItem(modal, 0x50010000, 70, 65, 50, 14, 5, 0x80, "", "Other");
  module.add(kRtDialog, kModalDialog, modal.data);
  Bytes menu;
  menu.u16(0).u16(0).u16(0x90).sz("Dialog options");
  menu.u16(0).u16(1).sz("Copy").u16(0).u16(2).sz("Paste").u16(0x80).u16(3).sz("Show");
  module.add(kRtMenu, kMenu, menu.data);
}

void DialogManagerTest::TearDown() {
  gTest = nullptr;
}

ADMDialogRef DialogManagerTest::createPalette(ADMDialogInitProc init, ADMDialogStyle style) {
  return dialog->Create(plugin, "Palette", kPaletteDialog, style, init, &gSeen);
}

std::string DialogManagerTest::text(ADMItemRef ref) {
  char buffer[64] = {};
  item->GetText(ref, buffer, sizeof buffer);
  return buffer;
}

DialogManagerTest &DialogManagerTest::t() {
  return *gTest;
}

void ASAPI recordNotify(ADMItemRef itemRef, ADMNotifierRef note) {
  DialogManagerTest &t = DialogManagerTest::t();
  char type[64] = {};
  t.notifier->GetNotifierType(note, type, sizeof type);
  gSeen.events.push_back("notify " + std::to_string(t.item->GetID(itemRef)) + " " + type);
  gSeen.keysAtNotify.push_back(t.host.get<Keyboard>().bytes());
  ASSERT_EQ(t.notifier->GetItem(note), itemRef);
}

void ASAPI notifyThenDefault(ADMItemRef itemRef, ADMNotifierRef note) {
  recordNotify(itemRef, note);
  DialogManagerTest::t().item->DefaultNotify(itemRef, note);
}

ASBoolean ASAPI recordTrack(ADMItemRef itemRef, ADMTrackerRef event) {
  DialogManagerTest &t = DialogManagerTest::t();
  const ai_int32 action = t.tracker->GetAction(event);
  gSeen.events.push_back("track " + std::to_string(t.item->GetID(itemRef)) + " " + std::to_string(action));
  if (gSeen.trackWithoutDefault) return false;
  if (gSeen.abortMouseUp && action == kADMMouseUpAction) t.tracker->Abort(event);
  return t.item->DefaultTrack(itemRef, event);
}

void ASAPI destroyOwnDialog(ADMItemRef itemRef, ADMNotifierRef note) {
  DialogManagerTest &t = DialogManagerTest::t();
  recordNotify(itemRef, note);
  t.dialog->Destroy(t.item->GetDialog(itemRef));
}

void ASAPI recordDestroy(ADMDialogRef dlg) {
  DialogManagerTest &t = DialogManagerTest::t();
  gSeen.events.push_back("destroy");
  t.dialog->GetBoundsRect(dlg, &gSeen.boundsInDestroy);
  gSeen.visibleInDestroy = t.dialog->IsVisible(dlg);
  ADMItemRef first = t.dialog->GetItem(dlg, 1);
  gSeen.itemLiveInDestroy = first != nullptr && t.item->GetID(first) == 1;
}

ASErr ASAPI paletteInit(ADMDialogRef dlg) {
  DialogManagerTest &t = DialogManagerTest::t();
  gSeen.events.push_back("init");
  EXPECT_EQ(t.dialog->GetUserData(dlg), &gSeen);
  t.dialog->SetDestroyProc(dlg, recordDestroy);
  if (gSeen.destroyInInit) t.dialog->Destroy(dlg);
  return gSeen.failInit ? kSPBadParameterError : kASNoError;
}

ASErr ASAPI wiredPaletteInit(ADMDialogRef dlg) {
  DialogManagerTest &t = DialogManagerTest::t();
  paletteInit(dlg);
  t.item->SetNotifyProc(t.dialog->GetItem(dlg, 1), recordNotify);
  t.item->SetNotifyProc(t.dialog->GetItem(dlg, 11), recordNotify);
  t.item->SetTrackProc(t.dialog->GetItem(dlg, 11), recordTrack);
  ADMItemRef menuButton = t.dialog->GetItem(dlg, kADMMenuItemID);
  t.item->SetNotifyProc(menuButton, recordNotify);
  t.item->SetTrackProc(menuButton, recordTrack);
  t.list->SetMenuID(t.item->GetList(menuButton), kMenu);
  return kASNoError;
}

ASErr ASAPI modalInit(ADMDialogRef dlg) {
  DialogManagerTest &t = DialogManagerTest::t();
  gSeen.events.push_back("init");
  t.item->SetNotifyProc(t.dialog->GetItem(dlg, 1), notifyThenDefault);
  t.item->SetNotifyProc(t.dialog->GetItem(dlg, 5), notifyThenDefault);
  t.item->SetText(t.dialog->GetItem(dlg, 3), static_cast<const char *>(t.dialog->GetUserData(dlg)));
  t.dialog->SetDestroyProc(dlg, recordDestroy);
  return gSeen.failInit ? kSPBadParameterError : kASNoError;
}

} // namespace pello::test
