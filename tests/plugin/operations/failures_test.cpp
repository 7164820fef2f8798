// Host failures during the operations: the alerts the user sees, what stays
// written, and the selection list given back every time.
#include "operationsFixture.h"

#include "AIPlaced.h"

using namespace pello::harness;
using pello::host::Blocks;

namespace {
constexpr ASErr kRefused = AS_FOURCC('N', 'O', 'P', 'E');
constexpr ASRealMatrix kSkewed{2, 0.5f, 0, 3, 40, 25};
} // namespace

TEST_F(OperationsTest, RefusedSecondWriteStopsThePatternShift) {
  open({patternPath("a"), patternPath("b"), patternPath("c")}, {"a", "b", "c"});
  host.faults().failOnCall("AIPathStyle::SetPathStyle", 2, kRefused);
  click(kRightArrow);
  EXPECT_EQ(patternMatrix("a").tx, 1);
  EXPECT_EQ(patternMatrix("b").tx, 0);
  EXPECT_EQ(patternMatrix("c").tx, 0);
  EXPECT_EQ(callsSince("AIArt::GetArtType"), 2u); // the third is not visited
  EXPECT_EQ(alerts(), (Strings{kWriteAlert, kCancelAlert}));
  EXPECT_TRUE(dialogs.modalHistory().empty()); // nothing reaches the error dialog
}

TEST_F(OperationsTest, RefusedWriteStopsTheDashShift) {
  open({dashedPath("a", {3, 2}, 1), dashedPath("b", {3, 2}, 1)}, {"a", "b"});
  host.faults().failOnCall("AIPathStyle::SetPathStyle", 1, kRefused);
  click(kDashLeftButton);
  EXPECT_EQ(dashOffset("a"), 1);
  EXPECT_EQ(dashOffset("b"), 1);
  EXPECT_EQ(callsSince("AIPathStyle::GetPathStyle"), 1u);
  EXPECT_EQ(alerts(), (Strings{kWriteAlert, kCancelAlert}));
}

TEST_F(OperationsTest, FailedReadsShowOnlyTheCancelAlert) {
  open({patternPath("a"), patternPath("b")}, {"a", "b"});
  host.faults().failOnCall("AIArt::GetArtType", 2, kRefused);
  click(kRightArrow);
  EXPECT_EQ(patternMatrix("a").tx, 1);
  EXPECT_EQ(alerts(), (Strings{kCancelAlert}));

  clearAlerts();
  host.faults().failOnCall("AIPathStyle::GetPathStyle", 1, kRefused);
  click(kDashLeftButton);
  EXPECT_EQ(alerts(), (Strings{kCancelAlert}));
}

TEST_F(OperationsTest, NoSelectionToBeHadMeansNoAlertAndNoChange) {
  open({patternPath("p", kSkewed), dashedPath("d", {3, 2}, 1), placedArt("i", kSkewed)}, {"p", "d", "i"});
  const std::string before = document.saveJson();
  host.faults().failAlways("AIMatchingArt::GetSelectedArt", kRefused);
  for (int item : {kUpArrow, kDashLeftButton, kUntransformButton})
    click(item);
  copyMatrix();
  pasteMatrix();
  EXPECT_EQ(document.saveJson(), before);
  EXPECT_TRUE(alerts().empty());
  EXPECT_TRUE(dialogs.modalHistory().empty());
  EXPECT_EQ(callsSince("AIMatchingArt::GetSelectedArt"), 5u);
  EXPECT_EQ(callsSince("AIArt::GetArtType"), 0u);

  // Without a document the host refuses the selection the same way.
  host.faults().clear();
  document.close();
  click(kUpArrow);
  copyMatrix();
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, UntransformFailuresKeepWhatWasWritten) {
  Json both = patternPath("both", kSkewed);
  both["style"]["strokePaint"] = true;
  both["style"]["stroke"] = {{"dash", {{"array", {3, 2}}, {"offset", 4.5}}}};
  open({both, placedArt("i", kSkewed)}, {"both", "i"});
  host.faults().failOnCall("AIPathStyle::SetPathStyle", 2, kRefused); // the dash reset
  click(kUntransformButton);
  EXPECT_TRUE(sameMatrix(patternMatrix("both"), {1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(dashOffset("both"), 4.5f);
  EXPECT_TRUE(sameMatrix(document.matrix("i"), kSkewed));
  EXPECT_EQ(alerts(), (Strings{kWriteAlert, kCancelAlert}));

  clearAlerts();
  host.faults().failOnCall("AIRaster::SetRasterMatrix", 1, kRefused);
  open({rasterArt("r", kSkewed), placedArt("i", kSkewed)}, {"r", "i"});
  click(kUntransformButton);
  EXPECT_TRUE(sameMatrix(document.matrix("i"), kSkewed));
  EXPECT_EQ(alerts(), (Strings{kCancelAlert}));
}

TEST_F(OperationsTest, UntransformTextWalkFailureEndsOnlyThatObject) {
  open({textArt("t1", {{2, 0, 0, 2, 1, 1}, {2, 0, 0, 2, 2, 2}}), textArt("t2", {{2, 0, 0, 2, 3, 3}}),
        placedArt("i", kSkewed)},
       {"t1", "t2", "i"});
  host.faults().failOnCall("AITextPath::GetNextTextPath", 1, kRefused);
  host.faults().failOnCall("AITextPath::GetFirstTextPath", 2, kRefused);
  click(kUntransformButton);
  EXPECT_TRUE(sameMatrix(document.textPathMatrix("t1", 0), {1, 0, 0, 1, 1, 1}));
  EXPECT_TRUE(sameMatrix(document.textPathMatrix("t1", 1), {2, 0, 0, 2, 2, 2}));
  EXPECT_TRUE(sameMatrix(document.textPathMatrix("t2", 0), {2, 0, 0, 2, 3, 3}));
  EXPECT_TRUE(sameMatrix(document.matrix("i"), {1, 0, 0, 1, 40, 25}));
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, FailedCopyReadKeepsTheHeldMatrix) {
  open({placedArt("i", kSkewed), rasterArt("r", {3, 0, 0, 3, 0, 0}), textArt("t", {{5, 0, 0, 5, 0, 0}})},
       {"i", "r"});
  host.faults().failOnCall("AIPlaced::GetPlacedMatrix", 1, kRefused);
  copyMatrix();
  EXPECT_TRUE(sameMatrix(scrapMatrix(), {1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(callsSince("AIRaster::GetRasterMatrix"), 0u); // the failed read ended the search
  EXPECT_EQ(alerts(), (Strings{kCancelAlert}));

  clearAlerts();
  document.model().select({"t", "r"});
  host.faults().failOnCall("AITextPath::GetTextPathMatrix", 1, kRefused);
  copyMatrix();
  EXPECT_TRUE(sameMatrix(scrapMatrix(), {1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(alerts(), (Strings{kTextMatrixAlert, kCancelAlert}));
}

TEST_F(OperationsTest, FailedPasteWritesShowTheirAlerts) {
  open({patternPath("p"), placedArt("i", kSkewed), rasterArt("r", kSkewed)}, {"p", "i", "r"});
  host.faults().failOnCall("AIPathStyle::SetPathStyle", 1, kRefused);
  pasteMatrix();
  EXPECT_EQ(alerts(), (Strings{kPatternMatrixAlert, kCancelAlert}));
  EXPECT_TRUE(sameMatrix(document.matrix("i"), kSkewed));

  clearAlerts();
  host.faults().failOnCall("AIPlaced::SetPlacedMatrix", 1, kRefused);
  pasteMatrix();
  EXPECT_EQ(alerts(), (Strings{kCancelAlert}));
  EXPECT_TRUE(sameMatrix(document.matrix("r"), kSkewed));
}

TEST_F(OperationsTest, SelectionListIsGivenBackAfterEveryOperation) {
  open({patternPath("p"), dashedPath("d", {3, 2}, 1), mysteryPath("m"), placedArt("i", kSkewed),
        textArt("t", {{1, 0, 0, 1, 0, 0}})},
       {"p", "d", "m", "i", "t"});
  Blocks &blocks = host.get<Blocks>();
  const std::size_t live = blocks.liveCount();
  host.log().setEnabled(false);
  host.get<pello::host::DialogManager>().setAlertListener(nullptr);
  for (int round = 0; round < 200; ++round) {
    click(kRightArrow);
    click(kDashLeftButton);
    click(kUntransformButton);
    copyMatrix();
    pasteMatrix();
    // A failure part way through gives the list back as well.
    host.faults().failOnCall("AIArt::GetArtType", 3, kRefused);
    click(kLeftArrow);
  }
  host.log().setEnabled(true);
  EXPECT_EQ(blocks.liveCount(), live);
  EXPECT_EQ(host.faults().count("AIMatchingArt::GetSelectedArt"), host.faults().count("SPBlocks::FreeBlock"));
}
