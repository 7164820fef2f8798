// Destroying a dialog: its destroy proc sees the whole dialog, and every
// reference it handed out is refused afterwards, as are references it never
// handed out.
#include "dialogManagerFixture.h"

#include <cstdint>

using namespace pello::host;
using namespace pello::test;

namespace {

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

TEST_F(DialogManagerTest, ClosingAPluginsDialogsCallsNothingOfItAndLeavesOtherPluginsDialogs) {
  ADMDialogRef first = createPalette(paletteInit);
  ADMDialogRef second = createPalette(paletteInit);
  // Another plug-in's dialog, from the same resources.
  SPPluginRef other = reinterpret_cast<SPPluginRef>(&gSeen);
  dm.setModuleLookup([this, other](SPPluginRef ref) -> const pello::host::PluginModule * {
    return ref == plugin || ref == other ? &module : nullptr;
  });
  ADMDialogRef others = dialog->Create(other, "Palette", kPaletteDialog, kADMTabbedFloatingDialogStyle,
                                       nullptr, nullptr);
  ASSERT_NE(others, nullptr);
  gSeen.events.clear();

  EXPECT_EQ(dm.closeDialogsOf(plugin), 2u);
  EXPECT_TRUE(gSeen.events.empty()) << "no destroy proc runs";
  EXPECT_FALSE(dm.isLive(first));
  EXPECT_FALSE(dm.isLive(second));
  EXPECT_EQ(dialog->GetItem(first, 11), nullptr);
  EXPECT_FALSE(dm.click(second, 11));
  EXPECT_TRUE(dm.isLive(others));
  EXPECT_EQ(dm.closeDialogsOf(plugin), 0u);
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

} // namespace
