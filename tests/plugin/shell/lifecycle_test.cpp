// Startup, unload and reload, shutdown and the dispatch of every caller, as
// the host drives them.
#include "shellFixture.h"

#include "SPAccess.h"
#include "pello/host/Menus.h"
#include "pello/host/Notifiers.h"

#include <algorithm>
#include <cstring>

using namespace pello::host;

namespace {

bool isIdentity(const ASRealMatrix &m) {
  return m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1 && m.tx == 0 && m.ty == 0;
}

} // namespace

TEST_F(ShellTest, UnloadAndReloadKeepTheGlobalRecordAndItsContents) {
  ASSERT_EQ(plugin.startup(), 0);
  Globals *before = globals();
  ASSERT_NE(before, nullptr);
  before->scrapMatrix = ASRealMatrix{2, 0.5f, -0.5f, 3, 10, -20};
  Globals copy;
  std::memcpy(&copy, before, sizeof copy);

  std::size_t from = mark();
  ASSERT_EQ(plugin.unload(), 0);
  EXPECT_FALSE(plugin.loaded());
  EXPECT_FALSE(plugin.residentAfterUnload()) << "the library stayed in memory";
  EXPECT_EQ(plugin.globalsSlot(), before) << "the host keeps the record while the library is out";
  ASSERT_EQ(plugin.reload(), 0) << plugin.lastError();
  EXPECT_EQ(plugin.globalsSlot(), before);
  EXPECT_EQ(std::memcmp(&copy, before, sizeof copy), 0);
  // The SP Access calls run without suites.
  EXPECT_TRUE(suiteCalls(from).empty());
  EXPECT_TRUE(opsSince(from).empty());

  // The reloaded library holds no suite: the next call walks the table.
  from = mark();
  ASSERT_EQ(plugin.about(), 0);
  EXPECT_EQ(suiteCalls(from).size(), 64u);

  ASSERT_EQ(plugin.shutdown(), 0);
  EXPECT_EQ(plugin.globalsSlot(), nullptr);
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u);
}

TEST_F(ShellTest, ReloadWithoutARecordLeavesGlobalsNull) {
  ASSERT_EQ(plugin.unload(), 0);
  EXPECT_EQ(plugin.globalsSlot(), nullptr);
  ASSERT_EQ(plugin.reload(), 0);
  EXPECT_EQ(plugin.globalsSlot(), nullptr);
  // The plug-in starts normally afterwards.
  ASSERT_EQ(plugin.startup(), 0);
  EXPECT_NE(globals(), nullptr);
  ASSERT_EQ(plugin.shutdown(), 0);
}

TEST_F(ShellTest, AnAccessReferenceKeepsTheLibraryLoaded) {
  ASSERT_EQ(plugin.startup(), 0);
  const auto *access = suite<SPAccessSuite>("SP Access Suite", 3);
  ASSERT_NE(access, nullptr);
  SPAccessRef ref = nullptr;
  ASSERT_EQ(access->AcquirePlugin(plugin.ref(), &ref), 0);
  std::size_t from = mark();
  EXPECT_EQ(plugin.unload(), kHostPluginInUseError);
  EXPECT_TRUE(plugin.loaded());
  EXPECT_TRUE(host.log().ops(from).empty()) << "a refused unload sends nothing";

  ASSERT_EQ(access->ReleasePlugin(ref), 0);
  EXPECT_EQ(access->ReleasePlugin(ref), kSPBadParameterError) << "a reference ends once";
  EXPECT_EQ(plugin.unload(), 0);
  ASSERT_EQ(plugin.reload(), 0);
  ASSERT_EQ(plugin.shutdown(), 0);
}

TEST_F(ShellTest, StartupWhoseMenuItemFailsStillAddsTheNotifierAndTheMatrix) {
  host.faults().failOnCall("AIMenu::AddMenuItem", 1, kSPOutOfMemoryError);
  EXPECT_EQ(plugin.startup(), kSPOutOfMemoryError);
  EXPECT_TRUE(host.get<Menus>().items().empty());
  ASSERT_EQ(host.get<Notifiers>().all().size(), 1u);
  EXPECT_EQ(host.get<Notifiers>().all()[0]->type, "AI Application Started Notifier");
  ASSERT_NE(globals(), nullptr);
  EXPECT_TRUE(isIdentity(globals()->scrapMatrix));
  EXPECT_EQ(host.log().count("AIRealMath::AIRealMatrixSetIdentity"), 1u);
  // The menu's code is reported.
  ASSERT_EQ(dialogs.modalHistory().size(), 1u);
  EXPECT_EQ(dialogs.modalHistory()[0].resourceId, 16051);
  ASSERT_EQ(plugin.shutdown(), 0);
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u);
}

TEST_F(ShellTest, DispatchIgnoresPairsItDoesNotKnow) {
  // "SP Access" with another selector: nothing at all, not even suites.
  std::size_t from = mark();
  EXPECT_EQ(plugin.call("SP Access", "Startup"), 0);
  EXPECT_TRUE(opsSince(from).empty());
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u);

  ASSERT_EQ(plugin.startup(), 0);
  // "SP Interface" with an unknown selector: the suites come and go, nothing
  // else happens.
  from = mark();
  EXPECT_EQ(plugin.call("SP Interface", "Restart"), 0);
  EXPECT_EQ(suiteCalls(from).size(), 64u);
  EXPECT_EQ(opsSince(from).size(), 64u);

  // A selector is only looked at under its own caller.
  from = mark();
  EXPECT_EQ(plugin.call("AI Menu", "AI Notify"), 0);
  EXPECT_EQ(opsSince(from).size(), 64u);
  from = mark();
  EXPECT_EQ(plugin.call("AI Tool", "AI Go"), 0);
  EXPECT_EQ(opsSince(from).size(), 64u);
  EXPECT_TRUE(dialogs.modalHistory().empty());
  ASSERT_EQ(plugin.shutdown(), 0);
}

TEST_F(ShellTest, CallsBeforeStartupAndAfterShutdownDoNotCrash) {
  // The host may send anything at any time; the plug-in has no record then.
  auto everyCall = [&] {
    EXPECT_EQ(plugin.menuUpdate(nullptr), 0);
    EXPECT_EQ(plugin.menuGo(nullptr), 0);
    EXPECT_EQ(plugin.notify(nullptr, "AI Application Started Notifier"), 0);
    EXPECT_EQ(plugin.about(), 0);
    plugin.shutdown();
  };
  everyCall();
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u);

  ASSERT_EQ(plugin.startup(), 0);
  ASSERT_EQ(plugin.shutdown(), 0);
  everyCall();
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u);
  EXPECT_EQ(host.suites().totalHolds(), 0);
}

TEST_F(ShellTest, ShutdownWithThePaletteUpLeavesNothingBehind) {
  ASSERT_EQ(plugin.startup(), 0);
  ASSERT_EQ(plugin.notifyApplicationStarted(), 0);
  ASSERT_NE(dialogs.palette(), nullptr);
  EXPECT_EQ(host.get<AccessRefs>().held(plugin.ref()), 1);
  EXPECT_EQ(plugin.unload(), kHostPluginInUseError);

  ASSERT_EQ(plugin.shutdown(), 0);
  EXPECT_EQ(dialogs.palette(), nullptr);
  EXPECT_EQ(globals(), nullptr);
  EXPECT_EQ(plugin.globalsSlot(), nullptr);
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u) << "blocks left after shutdown";
  EXPECT_EQ(host.get<Blocks>().liveBytes(), 0u);
  EXPECT_EQ(host.suites().totalHolds(), 0);
  EXPECT_EQ(host.get<AccessRefs>().held(), 0);
  EXPECT_EQ(plugin.unload(), 0);
}

TEST_F(ShellTest, MenuItemAndNotifierAreTheOnesTheHostKnows) {
  ASSERT_EQ(plugin.startup(), 0);
  MenuItem *item = host.get<Menus>().find("Pello Palette Menu Item");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text, "Pello Palette");
  EXPECT_EQ(item->group, "Tool Palettes");
  EXPECT_TRUE(item->wantsUpdate());
  EXPECT_EQ(item->owner, plugin.ref());
  ASSERT_NE(globals(), nullptr);
  EXPECT_EQ(globals()->showPelloDialog, item->handle());
  ASSERT_EQ(host.get<Notifiers>().all().size(), 1u);
  EXPECT_EQ(globals()->appStartedNotifier, host.get<Notifiers>().all()[0]->handle());
  ASSERT_EQ(plugin.shutdown(), 0);
}

// The host's blocks come filled with garbage (Blocks): a handle the host
// never wrote must read as none, and a message about no item or notifier at
// all must not be taken for the plug-in's.
TEST_F(ShellTest, RefusedMenuItemAndNotifierLeaveNoHandleThatAMessageCouldMatch) {
  host.faults().failAlways("AIMenu::AddMenuItem", kSPBadParameterError);
  host.faults().failAlways("AINotifier::AddNotifier", kSPBadParameterError);
  EXPECT_NE(plugin.startup(), 0);
  host.faults().clear();
  ASSERT_NE(globals(), nullptr);
  EXPECT_EQ(globals()->showPelloDialog, nullptr);
  EXPECT_EQ(globals()->appStartedNotifier, nullptr);
  EXPECT_EQ(globals()->PelloDialog, nullptr);

  EXPECT_EQ(plugin.notify(nullptr, kAIApplicationStartedNotifier), 0);
  EXPECT_EQ(plugin.menuGo(nullptr), 0);
  EXPECT_EQ(plugin.menuUpdate(nullptr), 0);
  EXPECT_EQ(dialogs.palette(), nullptr) << "a notification from no notifier made the palette";
  ASSERT_EQ(plugin.shutdown(), 0);
}

TEST_F(ShellTest, WithoutItsMenuItemAChoiceOfNoItemLeavesThePaletteAlone) {
  host.faults().failAlways("AIMenu::AddMenuItem", kSPBadParameterError);
  EXPECT_NE(plugin.startup(), 0);
  host.faults().clear();
  ASSERT_EQ(plugin.notifyApplicationStarted(), 0);
  const ADMDialogRef palette = dialogs.palette();
  ASSERT_NE(palette, nullptr);
  ASSERT_TRUE(dialogs.info(palette)->visible);

  EXPECT_EQ(plugin.menuGo(nullptr), 0);
  EXPECT_TRUE(dialogs.info(palette)->visible) << "a choice of no item hid the palette";
  ASSERT_EQ(plugin.shutdown(), 0);
}

// A session's fault on a misspelt operation is refused before it runs
// against this list: every operation the plug-in makes must be on it.
TEST_F(ShellTest, EveryOperationThePluginMakesIsOneTheHostKnowsByName) {
  ASSERT_TRUE(hosted.start());
  for (const pello::harness::PaletteButton &button : pello::harness::kPaletteButtons)
    hosted.click(button.id, {pello::harness::kVkShift});
  for (const pello::harness::OptionMenuEntry &entry : pello::harness::kOptionMenuEntries)
    hosted.choose(entry.index);
  hosted.plugin().about();
  hosted.plugin().menuGo(hosted.menuItem());
  ASSERT_EQ(hosted.shutdown(), kASNoError);
  const auto counts = host.faults().counts();
  EXPECT_GT(counts.size(), 40u);
  for (const auto &[op, calls] : counts)
    EXPECT_TRUE(pello::host::Faults::isKnownOperation(op)) << op;
  const auto &known = pello::host::Faults::knownOperations();
  EXPECT_TRUE(std::is_sorted(known.begin(), known.end()));
  EXPECT_EQ(std::adjacent_find(known.begin(), known.end()), known.end());
}
