// The user's actions: clicks tracked and notified with the keys held (and
// told to a listener), the option menu, moving and docking, and procedures
// that destroy their own dialog during a click.
#include "dialogManagerFixture.h"
#include "pello/host/Keyboard.h"

#include <cstring>

using namespace pello::host;
using namespace pello::test;

namespace {

// What a notification listener hears: the dialog's template and the item,
// before the item gets the notification.
void tellEvents(const NotificationRecord &note) {
  gSeen.events.push_back("told " + std::to_string(note.dialogResourceId) + " " + std::to_string(note.itemId) +
                         " " + note.type);
}

TEST_F(DialogManagerTest, AClickTracksDownAndUpThenNotifiesWithTheKeysHeld) {
  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  gSeen.events.clear();
  dm.setNotificationListener(tellEvents);
  ASSERT_TRUE(dm.click(dlg, 11, {0x10, 0x11}));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track 11 1", "track 11 2",
                                                    "told " + std::to_string(kPaletteDialog) +
                                                        " 11 ADM User Changed Notifier",
                                                    "notify 11 ADM User Changed Notifier"}));
  dm.setNotificationListener(nullptr);
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
  dm.setNotificationListener(tellEvents);
  ASSERT_TRUE(dm.click(dlg, 11));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track 11 1", "track 11 2"}));
  dm.setNotificationListener(nullptr);
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
  ASSERT_TRUE(dm.click(dlg, 11, {kVkShift}));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"notify 11 ADM User Changed Notifier", "destroy"}));
  EXPECT_FALSE(dm.isLive(dlg));
  EXPECT_EQ(host.get<Keyboard>().bytes()[kVkShift], 0);

  // Destroyed from the track proc: the events stop there.
  dlg = createPalette(paletteInit);
  item->SetTrackProc(dialog->GetItem(dlg, 11), destroyWhileTracking);
  item->SetNotifyProc(dialog->GetItem(dlg, 11), recordNotify);
  gSeen.events.clear();
  ASSERT_TRUE(dm.click(dlg, 11));
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"track", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
}

} // namespace
