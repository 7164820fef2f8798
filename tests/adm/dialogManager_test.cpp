// The dialog manager through its suites, on dialogs, menus, bitmaps and
// string lists of an in-memory module: what the plug-in's procedures are
// called with and when, what the user's actions deliver, and the refusal of
// references that are gone or were never handed out.
#include "AdmFixture.h"
#include "pello/host/HostCall.h"
#include "pello/host/Keyboard.h"
#include "pello/host/PluginModule.h"

#include <cstring>

using namespace pello::host;
using namespace pello::test;

namespace {

constexpr int kPaletteDialog = 100;
constexpr int kModalDialog = 200;
constexpr int kMenu = 700;
constexpr int kShiftKeyForTest = 0x10;

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
Seen gSeen;
class DialogManagerTest;
DialogManagerTest *gTest = nullptr;

class DialogManagerTest : public AdmFixture {
protected:
  void SetUp() override {
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
  void TearDown() override { gTest = nullptr; }

  ADMDialogRef createPalette(ADMDialogInitProc init, ADMDialogStyle style = kADMTabbedFloatingDialogStyle) {
    return dialog->Create(plugin, "Palette", kPaletteDialog, style, init, &gSeen);
  }
  std::string text(ADMItemRef ref) {
    char buffer[64] = {};
    item->GetText(ref, buffer, sizeof buffer);
    return buffer;
  }

public:
  // Suites for the procedures below.
  static DialogManagerTest &t() { return *gTest; }
};

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

// The palette's wiring: notify procs on 1 and 11, the option menu filled and
// tracked.
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

// ------------------------------------------------------------- building

TEST_F(DialogManagerTest, BuildsAFloatingDialogFromItsTemplateInPixels) {
  ADMDialogRef dlg = createPalette(paletteInit);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init"}));
  EXPECT_EQ(dialog->GetPluginRef(dlg), plugin);

  const DialogInfo info = *dm.info(dlg);
  EXPECT_EQ(info.name, "Palette");
  EXPECT_EQ(info.title, "Pal");
  EXPECT_EQ(info.resourceId, kPaletteDialog);
  EXPECT_TRUE(info.visible);
  // 206 x 78 dialog units: x * 6 / 4, y * 13 / 8, rounded.
  EXPECT_EQ(info.bounds.left, 0);
  EXPECT_EQ(info.bounds.right, 309);
  EXPECT_EQ(info.bounds.bottom, 127);
  ASSERT_EQ(info.items.size(), 4u);
  EXPECT_EQ(info.items[0].kind, ItemKind::PicturePushButton);
  EXPECT_EQ(info.items[0].className, "ADM Picture Push Button Type");
  EXPECT_EQ(info.items[0].bounds.left, 72);
  EXPECT_EQ(info.items[0].bounds.top, 55);
  EXPECT_EQ(info.items[1].kind, ItemKind::PushButton);
  EXPECT_EQ(info.items[1].text, "Untransform");
  EXPECT_EQ(info.items[2].kind, ItemKind::TextStatic);
  EXPECT_EQ(info.items[2].className, "Static");
  EXPECT_EQ(info.items[3].id, kADMMenuItemID);
  EXPECT_EQ(info.items[3].kind, ItemKind::OptionMenuButton);

  EXPECT_EQ(text(dialog->GetItem(dlg, 11)), "Untransform");
  EXPECT_EQ(dialog->GetItem(dlg, 99), nullptr);
  EXPECT_EQ(dm.find("Palette"), dlg);
  EXPECT_EQ(dm.palette(), dlg);
}

TEST_F(DialogManagerTest, OnlyTabbedPalettesHaveTheOptionMenuButton) {
  ADMDialogRef plain = createPalette(nullptr, kADMFloatingDialogStyle);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(dialog->GetItem(plain, kADMMenuItemID), nullptr);
  ADMDialogRef tabbed = createPalette(nullptr, kADMTabbedFloatingDialogStyle);
  ADMItemRef button = dialog->GetItem(tabbed, kADMMenuItemID);
  ASSERT_NE(button, nullptr);
  EXPECT_NE(item->GetList(button), nullptr);
  EXPECT_EQ(item->GetList(dialog->GetItem(tabbed, 11)), nullptr);
}

TEST_F(DialogManagerTest, CreateFailsWithoutResourceOrWhenInitFails) {
  EXPECT_EQ(dialog->Create(plugin, "x", 12345, kADMFloatingDialogStyle, paletteInit, nullptr), nullptr);
  EXPECT_EQ(dialog->Create(nullptr, "x", kPaletteDialog, kADMFloatingDialogStyle, paletteInit, nullptr),
            nullptr);
  EXPECT_TRUE(gSeen.events.empty()) << "no dialog, no init proc";

  // A failing init proc: no dialog, but what it installed is undone.
  gSeen.failInit = true;
  EXPECT_EQ(createPalette(paletteInit), nullptr);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());

  // An init proc that destroys its own dialog.
  gSeen = Seen{};
  gSeen.destroyInInit = true;
  EXPECT_EQ(createPalette(paletteInit), nullptr);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
}

// ------------------------------------------------------------ destroying

TEST_F(DialogManagerTest, DestroyCallsTheDestroyProcOnTheWholeDialogThenRefusesItsReferences) {
  ADMDialogRef dlg = createPalette(paletteInit);
  const ASRect bounds{10, 20, 30, 40};
  dialog->SetBoundsRect(dlg, &bounds);
  ADMItemRef button = dialog->GetItem(dlg, 11);
  ADMListRef menuList = item->GetList(dialog->GetItem(dlg, kADMMenuItemID));
  dm.setVisible(dlg, false);

  dialog->Destroy(dlg);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_EQ(gSeen.boundsInDestroy.left, 10);
  EXPECT_EQ(gSeen.boundsInDestroy.bottom, 40);
  EXPECT_FALSE(gSeen.visibleInDestroy);
  EXPECT_TRUE(gSeen.itemLiveInDestroy);
  EXPECT_FALSE(dm.isLive(dlg));

  // Everything that belonged to the dialog is refused now.
  const std::size_t before = host.log().records().size();
  EXPECT_EQ(dialog->GetItem(dlg, 11), nullptr);
  EXPECT_EQ(item->GetID(button), 0);
  EXPECT_EQ(item->GetDialog(button), nullptr);
  EXPECT_EQ(list->NumberOfEntries(menuList), 0);
  EXPECT_FALSE(dialog->IsVisible(dlg));
  ASRect untouched{1, 2, 3, 4};
  dialog->GetBoundsRect(dlg, &untouched);
  EXPECT_EQ(untouched.left, 1);
  dialog->Destroy(dlg); // a second destroy is refused; its proc does not run again
  EXPECT_EQ(gSeen.events.size(), 2u);
  for (std::size_t i = before; i < host.log().records().size(); ++i)
    EXPECT_EQ(host.log().records()[i].result, kSPBadParameterError) << host.log().records()[i].op;

  dialog->Destroy(nullptr); // ignored
}

TEST_F(DialogManagerTest, RefusesReferencesItNeverHandedOut) {
  ADMDialogRef dlg = createPalette(nullptr);
  ADMItemRef realItem = dialog->GetItem(dlg, 1);
  // An item reference passed as a dialog, and made-up values.
  EXPECT_EQ(dialog->GetItem(reinterpret_cast<ADMDialogRef>(realItem), 1), nullptr);
  EXPECT_EQ(dialog->GetItem(reinterpret_cast<ADMDialogRef>(std::uintptr_t{0x1234}), 1), nullptr);
  EXPECT_EQ(item->GetID(reinterpret_cast<ADMItemRef>(dlg)), 0);
  EXPECT_EQ(entry->GetIndex(reinterpret_cast<ADMEntryRef>(std::uintptr_t{0x50})), -1);
  EXPECT_FALSE(notifier->IsNotifierType(reinterpret_cast<ADMNotifierRef>(realItem), kADMUserChangedNotifier));
  EXPECT_EQ(tracker->GetAction(reinterpret_cast<ADMTrackerRef>(realItem)), 0);
  char buffer[8] = "keep";
  notifier->GetNotifierType(nullptr, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "keep");
  EXPECT_EQ(entry->GetIndex(nullptr), -1);
}

// --------------------------------------------------------- user actions

TEST_F(DialogManagerTest, AClickTracksDownAndUpThenNotifiesWithTheKeysHeld) {
  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  gSeen.events.clear();
  ASSERT_TRUE(dm.click(dlg, 11, {0x10, 0x11}));
  EXPECT_EQ(gSeen.events,
            (std::vector<std::string>{"track 11 1", "track 11 2", "notify 11 ADM User Changed Notifier"}));
  ASSERT_EQ(gSeen.keysAtNotify.size(), 1u);
  EXPECT_EQ(gSeen.keysAtNotify[0][0x10], 0x80);
  EXPECT_EQ(gSeen.keysAtNotify[0][0x11], 0x80);
  EXPECT_EQ(gSeen.keysAtNotify[0][0x12], 0);
  EXPECT_EQ(host.get<Keyboard>().bytes()[0x10], 0) << "keys released after the click";

  // Without a track proc the default tracking lets the click through.
  gSeen.events.clear();
  ASSERT_TRUE(dm.click(dlg, 1));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"notify 1 ADM User Changed Notifier"}));
  EXPECT_EQ(gSeen.keysAtNotify.back()[0x10], 0);
}

TEST_F(DialogManagerTest, AnAbortedOrRefusedTrackingDeliversNoNotification) {
  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  gSeen.events.clear();
  gSeen.abortMouseUp = true;
  ASSERT_TRUE(dm.click(dlg, 11));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track 11 1", "track 11 2"}));
}

TEST_F(DialogManagerTest, ClicksReachOnlyShownDialogsAndExistingItems) {
  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  gSeen.events.clear();
  EXPECT_FALSE(dm.click(dlg, 99));
  dialog->Show(dlg, false);
  EXPECT_FALSE(dialog->IsVisible(dlg));
  EXPECT_FALSE(dm.click(dlg, 1));
  dm.setVisible(dlg, true);
  EXPECT_TRUE(dialog->IsVisible(dlg));
  EXPECT_TRUE(gSeen.events.empty());
  dialog->Destroy(dlg);
  EXPECT_FALSE(dm.click(dlg, 1));
}

TEST_F(DialogManagerTest, TheOptionMenuListsTheMenusCommandsAndAChoiceBecomesTheActiveEntry) {
  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  ADMListRef menuList = item->GetList(dialog->GetItem(dlg, kADMMenuItemID));
  ASSERT_EQ(list->NumberOfEntries(menuList), 3);
  char buffer[32] = {};
  entry->GetText(list->IndexEntry(menuList, 1), buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Paste");
  EXPECT_EQ(entry->GetID(list->IndexEntry(menuList, 2)), 3);
  EXPECT_EQ(list->IndexEntry(menuList, 3), nullptr);
  EXPECT_EQ(list->GetActiveEntry(menuList), nullptr) << "nothing chosen yet";

  gSeen.events.clear();
  ASSERT_TRUE(dm.chooseMenuEntry(dlg, 1));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track -5 1", "notify -5 ADM User Changed Notifier"}));
  ADMEntryRef active = list->GetActiveEntry(menuList);
  EXPECT_EQ(entry->GetIndex(active), 1);
  EXPECT_EQ(entry->GetID(active), 2);
  EXPECT_EQ(dm.item(dlg, kADMMenuItemID)->activeEntry, 1);

  EXPECT_FALSE(dm.chooseMenuEntry(dlg, 3));
  EXPECT_FALSE(dm.chooseMenuEntry(dlg, -1));

  // A plain click opens the menu and closes it without a choice.
  gSeen.events.clear();
  ASSERT_TRUE(dm.click(dlg, kADMMenuItemID));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track -5 1"}));
  EXPECT_EQ(entry->GetIndex(list->GetActiveEntry(menuList)), 1);

  // A track proc that never asks for the default tracking opens no menu.
  gSeen.events.clear();
  gSeen.trackWithoutDefault = true;
  ASSERT_TRUE(dm.chooseMenuEntry(dlg, 2));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track -5 1"}));
  EXPECT_EQ(entry->GetIndex(list->GetActiveEntry(menuList)), 1);
}

TEST_F(DialogManagerTest, AMissingOrDamagedMenuLeavesTheListAsItWas) {
  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  ADMListRef menuList = item->GetList(dialog->GetItem(dlg, kADMMenuItemID));
  list->SetMenuID(menuList, 701);
  EXPECT_EQ(host.log().records().back().result, kSPBadParameterError);
  module.add(kRtMenu, 702, {0, 0, 0, 0, 0x10, 0});
  list->SetMenuID(menuList, 702);
  EXPECT_EQ(host.log().records().back().result, kSPBadParameterError);
  EXPECT_EQ(list->NumberOfEntries(menuList), 3);
}

TEST_F(DialogManagerTest, BoundsVisibilityAndDockingAsTheUserAndThePlugInSetThem) {
  ADMDialogRef dlg = createPalette(nullptr);
  const ASRect rect{100, 200, 312, 312};
  dialog->SetBoundsRect(dlg, &rect);
  ASSERT_TRUE(dm.move(dlg, 5, -7));
  ASRect now{};
  dialog->GetBoundsRect(dlg, &now);
  EXPECT_EQ(now.left, 105);
  EXPECT_EQ(now.top, 193);
  EXPECT_EQ(now.right, 317);
  EXPECT_EQ(now.bottom, 305);

  const char *name = nullptr;
  ai_int32 code = -1;
  ASSERT_EQ(group->GetDialogGroupInfo(dlg, &name, &code), kASNoError);
  EXPECT_STREQ(name, "") << "not docked yet";
  EXPECT_EQ(code, 0);

  char callerName[16] = "Group A";
  ASSERT_EQ(group->SetDialogGroupInfo(dlg, callerName, 0x1C00), kASNoError);
  std::strcpy(callerName, "changed");
  ASSERT_EQ(group->GetDialogGroupInfo(dlg, &name, &code), kASNoError);
  EXPECT_STREQ(name, "Group A") << "the host keeps its own copy";
  EXPECT_EQ(code, 0x1C00);

  ASSERT_TRUE(dm.dock(dlg, "Elsewhere", 7));
  ASSERT_EQ(group->GetDialogGroupInfo(dlg, &name, &code), kASNoError);
  EXPECT_STREQ(name, "Elsewhere");
  EXPECT_EQ(code, 7);
  EXPECT_EQ(group->SetDialogGroupInfo(dlg, nullptr, 1), kSPBadParameterError);
  EXPECT_EQ(group->GetDialogGroupInfo(dlg, nullptr, &code), kSPBadParameterError);
}

void ASAPI destroyOwnDialog(ADMItemRef itemRef, ADMNotifierRef note) {
  DialogManagerTest &t = DialogManagerTest::t();
  recordNotify(itemRef, note);
  t.dialog->Destroy(t.item->GetDialog(itemRef));
}

ASBoolean ASAPI destroyWhileTracking(ADMItemRef itemRef, ADMTrackerRef) {
  DialogManagerTest &t = DialogManagerTest::t();
  gSeen.events.push_back("track");
  t.dialog->Destroy(t.item->GetDialog(itemRef));
  return true;
}

TEST_F(DialogManagerTest, AProcedureMayDestroyItsOwnDialogDuringAClick) {
  ADMDialogRef dlg = createPalette(paletteInit);
  item->SetNotifyProc(dialog->GetItem(dlg, 11), destroyOwnDialog);
  gSeen.events.clear();
  ASSERT_TRUE(dm.click(dlg, 11, {kShiftKeyForTest}));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"notify 11 ADM User Changed Notifier", "destroy"}));
  EXPECT_FALSE(dm.isLive(dlg));
  EXPECT_EQ(host.get<Keyboard>().bytes()[kShiftKeyForTest], 0);

  // Destroyed from the track proc: the events stop there.
  dlg = createPalette(paletteInit);
  item->SetTrackProc(dialog->GetItem(dlg, 11), destroyWhileTracking);
  item->SetNotifyProc(dialog->GetItem(dlg, 11), recordNotify);
  gSeen.events.clear();
  ASSERT_TRUE(dm.click(dlg, 11));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
}

// --------------------------------------------------------------- modal

ASErr ASAPI modalDestroyingInit(ADMDialogRef dlg) {
  DialogManagerTest &t = DialogManagerTest::t();
  modalInit(dlg);
  t.item->SetNotifyProc(t.dialog->GetItem(dlg, 1), destroyOwnDialog);
  return kASNoError;
}

TEST_F(DialogManagerTest, DestroyingARunningModalDialogEndsItWithoutAnItem) {
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalDestroyingInit, nullptr),
            -1);
  EXPECT_EQ(gSeen.events,
            (std::vector<std::string>{"init", "notify 1 ADM User Changed Notifier", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
  ASSERT_EQ(dm.modalHistory().size(), 1u);
  EXPECT_FALSE(dm.modalHistory()[0].forcedClose);
}

TEST_F(DialogManagerTest, ModalRunsInitPressesOkRecordsAndDestroys) {
  char message[] = "Something went wrong";
  const ai_int32 result =
      dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, message);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(gSeen.events,
            (std::vector<std::string>{"init", "notify 1 ADM User Changed Notifier", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
  ASSERT_EQ(dm.modalHistory().size(), 1u);
  const ModalRecord &shown = dm.modalHistory()[0];
  EXPECT_EQ(shown.name, "Box");
  EXPECT_EQ(shown.resourceId, kModalDialog);
  EXPECT_EQ(shown.title, "Box");
  EXPECT_EQ(shown.result, 1);
  EXPECT_FALSE(shown.forcedClose);
  ASSERT_EQ(shown.items.size(), 4u);
  EXPECT_EQ(shown.items[0].text, "OK");
  EXPECT_EQ(shown.items[1].id, 3);
  EXPECT_EQ(shown.items[1].text, "Something went wrong") << "texts as the init proc left them";
}

TEST_F(DialogManagerTest, ModalFollowsAScriptAndIsClosedWithOkWhenNothingClosesIt) {
  dm.queueModalScript(DialogManager::pressItem(5)); // a button that does not close the dialog
  dm.queueModalScript([](DialogManager &manager, ADMDialogRef dlg) {
    EXPECT_EQ(manager.item(dlg, 3)->text, "second");
    manager.click(dlg, 2); // Cancel, through its default handling
  });
  char first[] = "first", second[] = "second";
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, first), 1);
  EXPECT_TRUE(dm.modalHistory().back().forcedClose);
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, second), 2);
  EXPECT_FALSE(dm.modalHistory().back().forcedClose);
  EXPECT_EQ(dm.modalHistory().size(), 2u);
  // Without an init proc, OK's default handling closes the dialog.
  EXPECT_EQ(dialog->Modal(plugin, "Bare", kModalDialog, kADMModalDialogStyle, nullptr, nullptr), 1);
  EXPECT_FALSE(dm.modalHistory().back().forcedClose);
}

TEST_F(DialogManagerTest, ModalThatCannotBeMadeReturnsMinusOne) {
  EXPECT_EQ(dialog->Modal(plugin, "Box", 999, kADMModalDialogStyle, modalInit, nullptr), -1);
  gSeen.failInit = true;
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, nullptr), -1);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_TRUE(dm.modalHistory().empty());
  EXPECT_TRUE(dm.dialogs().empty());
}

// ---------------------------------------------------------- basic suite

TEST_F(DialogManagerTest, GetIndexStringReadsTheRunOfStringsAfterTheListId) {
  module.addStrings({{51, "-108"}, {52, "Out of memory"}, {53, "Parm"}, {55, "not in the run"}});
  char buffer[32] = {};
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 2, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "Out of memory");
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 3, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "Parm");
  // Past the end of the run: the empty string.
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 4, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "");
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 5, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "") << "string 55 lies beyond the gap at 54";
  // Cut to the buffer.
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 2, buffer, 4), kASNoError);
  EXPECT_STREQ(buffer, "Out");
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 2, buffer, 1), kASNoError);
  EXPECT_STREQ(buffer, "");

  // Index 0, a missing list, an unknown plug-in: refused, buffer untouched.
  std::strcpy(buffer, "untouched");
  EXPECT_EQ(basic->GetIndexString(plugin, 50, 0, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_EQ(basic->GetIndexString(plugin, 60, 1, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_EQ(basic->GetIndexString(nullptr, 50, 1, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_EQ(basic->GetIndexString(plugin, 0x7FFFFFFF, 1, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(basic->GetIndexString(plugin, 50, 1, nullptr, 10), kSPBadParameterError);
}

TEST_F(DialogManagerTest, AlertsBeepsAndTheLayoutArea) {
  basic->MessageAlert("ERROR!");
  basic->MessageAlert(nullptr);
  basic->Beep();
  EXPECT_EQ(dm.alerts(), (std::vector<std::string>{"ERROR!", ""}));
  EXPECT_EQ(dm.beeps(), 1);
  ASRect area{};
  ASSERT_EQ(basic->GetPaletteLayoutBounds(&area), kASNoError);
  EXPECT_EQ(area.right, 1600);
  EXPECT_EQ(area.bottom, 1000);
  dm.setPaletteLayoutBounds(ASRect{0, 0, 800, 600});
  basic->GetPaletteLayoutBounds(&area);
  EXPECT_EQ(area.right, 800);
  EXPECT_EQ(basic->GetPaletteLayoutBounds(nullptr), kSPBadParameterError);
}

TEST_F(DialogManagerTest, IconsFromBitmapResources) {
  Bytes bmp;
  bmp.u32(40).u32(15).u32(15).u16(1).u16(1).u32(0).u32(0).u32(2834).u32(2834).u32(0).u32(0);
  bmp.u32(0xFFFFFF).u32(0);
  for (int i = 0; i < 15 * 4 + 2; ++i)
    bmp.u8(0);
  module.add(kRtBitmap, 1, bmp.data);
  module.add(kRtBitmap, 2, {1, 2, 3});
  ADMIconRef arrow = icon->GetFromResource(plugin, 1);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(icon->GetWidth(arrow), 15);
  EXPECT_EQ(icon->GetHeight(arrow), 15);
  EXPECT_EQ(icon->GetFromResource(plugin, 2), nullptr) << "damaged";
  EXPECT_EQ(icon->GetFromResource(plugin, 3), nullptr) << "missing";
  icon->Destroy(arrow);
  EXPECT_EQ(icon->GetWidth(arrow), 0);
}

// ------------------------------------------------- registration, faults

TEST_F(DialogManagerTest, EverySuiteIsOfferedAtItsVersionOnly) {
  const std::pair<const char *, ai_int32> suites[] = {
      {"ADM Basic Suite", 2},    {"ADM Dialog Suite", 3}, {"ADM Item Suite", 4},
      {"ADM Icon Suite", 1},     {"ADM List Suite", 1},   {"ADM Dialog Group Suite", 1},
      {"ADM Notifier Suite", 1}, {"ADM Entry Suite", 2},  {"ADM Tracker Suite", 1}};
  for (const auto &[name, version] : suites) {
    const void *table = nullptr;
    EXPECT_EQ(host.suites().acquire(name, version, &table), kASNoError) << name;
    EXPECT_NE(table, nullptr) << name;
    EXPECT_EQ(host.suites().acquire(name, version + 1, &table), kSPSuiteNotFoundError) << name;
  }
}

TEST_F(DialogManagerTest, InjectedFaultsGiveNullFalseOrNothing) {
  host.faults().failOnCall("ADMDialog::Create", 1, kSPOutOfMemoryError);
  EXPECT_EQ(createPalette(paletteInit), nullptr);
  EXPECT_TRUE(gSeen.events.empty()) << "a failed Create builds nothing";
  EXPECT_TRUE(host.log().records().back().injected);

  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  ASSERT_NE(dlg, nullptr);
  host.faults().failOnCall("ADMDialog::GetItem", 1, kSPBadParameterError);
  EXPECT_EQ(dialog->GetItem(dlg, 1), nullptr);
  EXPECT_NE(dialog->GetItem(dlg, 1), nullptr);

  host.faults().failOnCall("ADMItem::SetText", 1, kSPBadParameterError);
  item->SetText(dialog->GetItem(dlg, 11), "lost");
  EXPECT_EQ(text(dialog->GetItem(dlg, 11)), "Untransform");

  host.faults().failAlways("ADMDialog::IsVisible", kSPBadParameterError);
  EXPECT_FALSE(dialog->IsVisible(dlg));
  host.faults().clear();
  EXPECT_TRUE(dialog->IsVisible(dlg));

  host.faults().failOnCall("ADMDialog::Modal", 1, kSPOutOfMemoryError);
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, nullptr), -1);

  host.faults().failOnCall("ADMBasic::GetIndexString", 1, kSPOutOfMemoryError);
  module.addStrings({{51, "x"}});
  char buffer[8] = "same";
  EXPECT_EQ(basic->GetIndexString(plugin, 50, 1, buffer, sizeof buffer), kSPOutOfMemoryError);
  EXPECT_STREQ(buffer, "same");
}

} // namespace
