// The plug-in's suite table as the host sees it: every acquisition and
// release in order, the nesting count, and acquisitions that fail.
#include "shellFixture.h"

#include "pello/host/Menus.h"

#include <algorithm>

using namespace pello::host;
using pello::harness::kSuiteTable;
using pello::harness::SuiteRow;

namespace {

std::vector<SuiteCall> tableWalk(bool acquire) {
  std::vector<SuiteCall> out;
  for (const SuiteRow &row : kSuiteTable)
    out.push_back({acquire, row.name, row.version, 0});
  return out;
}

std::vector<SuiteCall> concat(std::vector<SuiteCall> a, const std::vector<SuiteCall> &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

} // namespace

TEST_F(ShellTest, FirstCallAcquiresAndReleasesEveryRowInTableOrder) {
  ASSERT_EQ(plugin.startup(), 0);

  // 32 acquisitions in table order (SP Access and AI Context twice each),
  // the startup's own Real Math pair, then 32 releases in the same order.
  std::vector<SuiteCall> expected = tableWalk(true);
  expected.push_back({true, "AI Real Math Suite", 1, 0});
  expected.push_back({false, "AI Real Math Suite", 1, 0});
  expected = concat(expected, tableWalk(false));
  EXPECT_EQ(suiteCalls(), expected);
  EXPECT_EQ(host.suites().acquireCount("SP Access Suite"), 2);
  EXPECT_EQ(host.suites().acquireCount("AI Context Suite"), 2);
  EXPECT_EQ(host.suites().totalHolds(), 0);

  // A later call without a palette walks the table again, without the pair.
  std::size_t from = mark();
  ASSERT_EQ(plugin.about(), 0);
  EXPECT_EQ(suiteCalls(from), concat(tableWalk(true), tableWalk(false)));
  EXPECT_EQ(host.suites().totalHolds(), 0);
}

TEST_F(ShellTest, NoAcquisitionWhileThePaletteHoldsTheSuites) {
  ASSERT_EQ(plugin.startup(), 0);
  ASSERT_EQ(plugin.notifyApplicationStarted(), 0);
  ASSERT_NE(dialogs.palette(), nullptr);
  // The palette holds one of each suite (two of the repeated ones).
  EXPECT_EQ(host.suites().totalHolds(), 32);

  std::size_t from = mark();
  MenuItem *item = host.get<Menus>().find("Pello Palette Menu Item");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(plugin.menuUpdate(item->handle()), 0);
  EXPECT_EQ(plugin.about(), 0);
  EXPECT_TRUE(suiteCalls(from).empty());
  EXPECT_EQ(host.suites().totalHolds(), 32);

  // The shutdown destroys the palette and releases everything once.
  from = mark();
  ASSERT_EQ(plugin.shutdown(), 0);
  std::vector<SuiteCall> calls = suiteCalls(from);
  std::vector<SuiteCall> expected = {{true, "SP Blocks Suite", 2, 0}, {false, "SP Blocks Suite", 2, 0}};
  expected = concat(expected, tableWalk(false));
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(host.suites().totalHolds(), 0);
}

TEST_F(ShellTest, WithdrawnItemSuiteEndsTheWalkAtRow25) {
  ASSERT_EQ(plugin.startup(), 0);
  host.suites().withdraw("ADM Item Suite");
  int holdsAtAlert = -1;
  dialogs.setAlertListener([&](const std::string &) { holdsAtAlert = host.suites().totalHolds(); });

  std::size_t from = mark();
  EXPECT_EQ(plugin.about(), kSPSuiteNotFoundError);

  std::vector<SuiteCall> calls = suiteCalls(from);
  std::vector<SuiteCall> expected;
  for (std::size_t row = 0; row <= 25; ++row)
    expected.push_back(
        {true, kSuiteTable[row].name, kSuiteTable[row].version, row == 25 ? kSPSuiteNotFoundError : 0});
  // The release walk frees rows 0 to 24 and stops at row 25, never held.
  for (std::size_t row = 0; row <= 25; ++row)
    expected.push_back(
        {false, kSuiteTable[row].name, kSuiteTable[row].version, row == 25 ? kSPBadParameterError : 0});
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(holdsAtAlert, 25) << "rows 0 to 24 are held when the alert shows";
  EXPECT_EQ(dialogs.alerts(),
            std::vector<std::string>{"Error: 1394689636, suite: ADM Item Suite, version: 4!"});
  EXPECT_TRUE(dialogs.modalHistory().empty()) << "'S!Fd' shows no error dialog";
  EXPECT_EQ(host.suites().totalHolds(), 0);
}

TEST_F(ShellTest, SuiteOfferedAtAnotherVersionIsNotFound) {
  host.suites().offerAt("ADM List Suite", 2);
  std::size_t from = mark();
  EXPECT_EQ(plugin.startup(), kSPSuiteNotFoundError);
  EXPECT_EQ(dialogs.alerts(),
            std::vector<std::string>{"Error: 1394689636, suite: ADM List Suite, version: 1!"});
  EXPECT_TRUE(dialogs.modalHistory().empty());
  // The handler did not run: no record was allocated.
  EXPECT_EQ(host.get<Blocks>().liveCount(), 0u);
  EXPECT_EQ(plugin.globalsSlot(), nullptr);
  std::vector<SuiteCall> calls = suiteCalls(from);
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const SuiteCall &c) { return c.acquire; }), 28)
      << "rows 0 to 27 tried";
  EXPECT_EQ(host.suites().totalHolds(), 0);
}

TEST_F(ShellTest, FailureBeforeTheAlertSuiteIsHeldShowsNothingAndHoldsNothing) {
  // Row 3 fails while ADM Basic (row 23) is not held: no alert can show.
  host.suites().withdraw("AI Art Suite");
  EXPECT_NE(plugin.startup(), 0);
  EXPECT_TRUE(dialogs.alerts().empty());
  EXPECT_TRUE(dialogs.modalHistory().empty());
  EXPECT_EQ(host.suites().totalHolds(), 0);

  // An ordinary code there is reported by nobody either: the dialog suites
  // are not held.
  host.suites().restore("AI Art Suite");
  host.faults().failOnCall("SPBasic::AcquireSuite", 4, kSPOutOfMemoryError);
  EXPECT_EQ(plugin.startup(), kSPOutOfMemoryError);
  EXPECT_TRUE(dialogs.alerts().empty());
  EXPECT_TRUE(dialogs.modalHistory().empty());
  EXPECT_EQ(host.suites().totalHolds(), 0);
}

TEST_F(ShellTest, SuiteNotFoundFromAHandlerIsReturnedWithoutErrorDialog) {
  host.faults().failOnCall("SPBlocks::AllocateBlock", 1, kSPSuiteNotFoundError);
  EXPECT_EQ(plugin.startup(), kSPSuiteNotFoundError);
  EXPECT_TRUE(dialogs.modalHistory().empty());
  EXPECT_TRUE(dialogs.alerts().empty());
  EXPECT_EQ(host.suites().totalHolds(), 0);
}
