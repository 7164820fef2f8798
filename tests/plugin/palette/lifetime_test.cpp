// The palette's holds on the plug-in and on the host suites while it
// exists, host calls that then neither acquire nor release anything, the
// shutdown that destroys it, and the palettes that must not come about.
#include "paletteFixture.h"

#include "pello/host/Blocks.h"

#include <algorithm>

using namespace pello::harness;
using namespace pello::host;
using namespace pello::test;

namespace {

constexpr const char *kAcquireSuite = "SPBasic::AcquireSuite";
constexpr const char *kReleaseSuite = "SPBasic::ReleaseSuite";

using Strings = std::vector<std::string>;

Strings repeated(const std::string &op, int times) {
  return Strings(static_cast<std::size_t>(times), op);
}

Strings concat(Strings head, const Strings &tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Whether anything is still held on the host: suites, blocks, access
// references, dialogs.
void expectNothingHeld(Host &host, DialogManager &dialogs) {
  EXPECT_EQ(host.suites().totalHolds(), 0);
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u);
  EXPECT_EQ(host.get<AccessRefs>().held(), 0);
  EXPECT_TRUE(dialogs.dialogs().empty());
}

} // namespace

TEST_F(PaletteTest, ThePaletteHoldsThePluginAndEverySuiteBetweenHostCalls) {
  ASSERT_EQ(plugin().startup(), kASNoError);
  EXPECT_EQ(host().suites().totalHolds(), 0) << "nothing held between calls without a palette";

  // The notification's call acquires the table; the palette's
  // initialisation nests inside it without acquiring anything more.
  std::size_t from = mark();
  ASSERT_EQ(plugin().notifyApplicationStarted(), kASNoError);
  EXPECT_EQ(callsSince(kAcquireSuite, from), static_cast<std::size_t>(kSuiteRows));
  EXPECT_EQ(callsSince(kReleaseSuite, from), 0u);
  palette = dialogs().palette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(host().suites().totalHolds(), kSuiteRows);
  EXPECT_EQ(host().suites().holds("SP Access Suite"), 2) << "rows 1 and 14";
  EXPECT_EQ(host().suites().holds("AI Context Suite"), 2) << "rows 11 and 20";
  EXPECT_EQ(host().get<AccessRefs>().held(plugin().ref()), 1);
  ASSERT_NE(globals(), nullptr);
  EXPECT_EQ(globals()->PelloDialog, palette);

  // No host call acquires or releases anything while the palette exists,
  // and neither do its own callbacks.
  MenuItem *item = menuItem();
  ASSERT_NE(item, nullptr);
  from = mark();
  EXPECT_EQ(plugin().menuUpdate(item->handle()), kASNoError);
  EXPECT_EQ(plugin().menuGo(item->handle()), kASNoError);
  EXPECT_EQ(plugin().menuUpdate(item->handle()), kASNoError);
  EXPECT_EQ(plugin().menuGo(item->handle()), kASNoError);
  EXPECT_EQ(plugin().about(), kASNoError);
  AINotifierMessage other{};
  EXPECT_EQ(plugin().call(kAINotifierCaller, kAINotifierNotifySelector, &other), kASNoError);
  EXPECT_EQ(plugin().call("Some Caller", "Some Selector"), kASNoError);
  document().create();
  EXPECT_TRUE(click(kRightArrow, {kVkShift}));
  EXPECT_TRUE(click(kDashLeftButton));
  EXPECT_TRUE(click(kUntransformButton));
  EXPECT_TRUE(dialogs().chooseMenuEntry(palette, 2));
  EXPECT_EQ(callsSince(kAcquireSuite, from), 0u);
  EXPECT_EQ(callsSince(kReleaseSuite, from), 0u);
  EXPECT_EQ(host().suites().totalHolds(), kSuiteRows);
  EXPECT_EQ(host().get<AccessRefs>().held(plugin().ref()), 1);
}

TEST_F(PaletteTest, ShutdownSavesThePlacementDropsTheHoldsFreesTheRecordThenReleasesTheSuites) {
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  const Globals *record = globals();
  ASSERT_NE(record, nullptr);

  // While the destroy procedure writes, the record is still there and
  // still names the palette; once it has given back its hold on the
  // plug-in, the record no longer names a palette.
  std::vector<std::string> seen;
  host().log().setListener([&](const CallRecord &call) {
    if (call.op.rfind("AIPreference::Put", 0) == 0 || call.op == "SPAccess::ReleasePlugin") {
      Globals *now = globals();
      seen.push_back(call.op + (now == nullptr                ? ": no record"
                                : now->PelloDialog == nullptr ? ": no palette"
                                                              : ": palette"));
    }
  });
  const std::size_t from = mark();
  ASSERT_EQ(plugin().shutdown(), kASNoError);
  host().log().setListener(nullptr);

  EXPECT_EQ(
      seen,
      (Strings{"AIPreference::PutIntegerPreference: palette", "AIPreference::PutStringPreference: palette",
               "AIPreference::PutPointPreference: palette", "AIPreference::PutBooleanPreference: palette",
               "SPAccess::ReleasePlugin: no palette"}));

  // The calls of the shutdown from the destroy procedure's last write on:
  // the hold on the plug-in given back, then the record freed under a hold
  // of its own on the block suite, then the whole table released at the
  // end of the call. Nothing is released before the record is freed.
  const Strings ops = opsSince(from);
  const auto lastWrite = std::find(ops.begin(), ops.end(), "AIPreference::PutBooleanPreference");
  ASSERT_NE(lastWrite, ops.end());
  const Strings tail(lastWrite, ops.end());
  const Strings expectedTail = concat({"AIPreference::PutBooleanPreference", "SPAccess::ReleasePlugin",
                                       "ADMDialog::Destroy", kAcquireSuite, "SPBlocks::FreeBlock"},
                                      repeated(kReleaseSuite, 1 + kSuiteRows));
  EXPECT_EQ(tail, expectedTail);
  EXPECT_EQ(std::count(ops.begin(), lastWrite, std::string(kReleaseSuite)), 0);
  EXPECT_EQ(callsSince("SPBlocks::FreeBlock", from), 1u);
  EXPECT_EQ(callsSince("ADMDialog::Destroy", from), 1u);

  EXPECT_EQ(globals(), nullptr);
  expectNothingHeld(host(), dialogs());
}

TEST_F(PaletteTest, ASecondApplicationStartedNotificationMakesNoSecondPalette) {
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  const std::size_t from = mark();
  ASSERT_EQ(plugin().notifyApplicationStarted(), kASNoError);
  EXPECT_EQ(callsSince("ADMDialog::Create", from), 0u);
  EXPECT_EQ(dialogs().floatingDialogs().size(), 1u);
  EXPECT_EQ(globals()->PelloDialog, palette);
  EXPECT_EQ(host().suites().totalHolds(), kSuiteRows) << "the palette's hold alone";
  EXPECT_EQ(host().get<AccessRefs>().held(plugin().ref()), 1);

  // The one palette is destroyed, saved once, and nothing stays held.
  const std::size_t shutdown = mark();
  ASSERT_EQ(plugin().shutdown(), kASNoError);
  EXPECT_EQ(callsSince("ADMDialog::Destroy", shutdown), 1u);
  EXPECT_EQ(callsSince("AIPreference::PutPointPreference", shutdown), 1u);
  expectNothingHeld(host(), dialogs());
}

TEST_F(PaletteTest, WithoutADialogTheMenuItemDoesNothingAndShutdownDestroysNothing) {
  ASSERT_EQ(plugin().startup(), kASNoError);
  host().faults().failOnCall("ADMDialog::Create", 1, kSPOutOfMemoryError);
  ASSERT_EQ(plugin().notifyApplicationStarted(), kASNoError) << "the creation reports nothing";
  EXPECT_EQ(dialogs().palette(), nullptr);
  ASSERT_NE(globals(), nullptr);
  EXPECT_EQ(globals()->PelloDialog, nullptr);
  EXPECT_EQ(host().suites().totalHolds(), 0) << "no palette, no hold";
  EXPECT_EQ(host().get<AccessRefs>().held(), 0);
  EXPECT_TRUE(dialogs().modalHistory().empty()) << "no error dialog";

  MenuItem *item = menuItem();
  ASSERT_NE(item, nullptr);
  item->checked = true;
  std::size_t from = mark();
  EXPECT_EQ(plugin().menuGo(item->handle()), kASNoError);
  EXPECT_EQ(callsSince("ADMDialog::Show", from), 0u);
  EXPECT_EQ(plugin().menuUpdate(item->handle()), kASNoError);
  EXPECT_FALSE(item->checked) << "no palette, no check mark";
  EXPECT_TRUE(dialogs().modalHistory().empty());

  from = mark();
  ASSERT_EQ(plugin().shutdown(), kASNoError);
  EXPECT_EQ(callsSince("ADMDialog::Destroy", from), 0u);
  EXPECT_EQ(callsSince("AIPreference::PutPointPreference", from), 0u);
  EXPECT_FALSE(preferences().has(kPrefix, kLocationKey));
  expectNothingHeld(host(), dialogs());
}

// Destroy returns nothing: a plug-in whose Destroy the host fails cannot
// know its palette is still there. Once it has shut down, or once its
// library goes, the host closes the palette without calling into it.
TEST_F(PaletteTest, APaletteTheHostFailedToDestroyIsClosedByTheHostOnceThePluginHasShutDown) {
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  host().faults().failAlways("ADMDialog::Destroy", kSPOutOfMemoryError);
  EXPECT_EQ(hosted().shutdown(), kASNoError);
  EXPECT_EQ(globals(), nullptr);
  EXPECT_TRUE(dialogs().dialogs().empty());
  EXPECT_EQ(plugin().dialogsClosedByHost(), 1u);
  EXPECT_FALSE(click(kRightArrow)) << "nothing is left to click";
}

TEST_F(PaletteTest, ADialogLeftOpenIsClosedByTheHostBeforeTheLibraryGoes) {
  // The palette's destroy proc gives back the plug-in's hold on itself;
  // with Destroy failing it never runs, and here the hold is taken away
  // from outside, so that nothing keeps the library in memory.
  const std::size_t from = mark();
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  const std::vector<CallRecord> holds = recordsSince("SPAccess::AcquirePlugin", from);
  ASSERT_EQ(holds.size(), 1u);
  const Address *hold = holds[0].arg("access")->get<Address>();
  ASSERT_NE(hold, nullptr);
  host().faults().failAlways("ADMDialog::Destroy", kSPOutOfMemoryError);
  ASSERT_EQ(plugin().shutdown(), kASNoError); // the host's message alone
  ASSERT_TRUE(host().get<AccessRefs>().release(reinterpret_cast<SPAccessRef>(hold->value)));
  ASSERT_EQ(dialogs().floatingDialogs().size(), 1u);

  ASSERT_EQ(plugin().unload(), kASNoError);
  EXPECT_TRUE(dialogs().dialogs().empty());
  EXPECT_EQ(plugin().dialogsClosedByHost(), 1u);
  host().faults().clear();
  ASSERT_EQ(plugin().reload(), kASNoError);
  EXPECT_FALSE(click(kRightArrow));
}
