// The option menu's copy and paste: one held matrix, taken from the first
// suitable selected object and written onto every suitable one.
#include "operationsFixture.h"

using namespace pello::harness;

namespace {
constexpr ASRealMatrix kIdentity{1, 0, 0, 1, 0, 0};
constexpr ASRealMatrix kPatternM{2, 0, 0, 2, 5, 6};
constexpr ASRealMatrix kPlacedM{1, 0.5f, -0.5f, 1, 40, 25};
constexpr ASRealMatrix kRasterM{3, 0, 0, 3, -1, -2};
} // namespace

TEST_F(OperationsTest, CopyTakesTheFirstSuitableObjectInListOrder) {
  open({patternPath("p", kPatternM), placedArt("i", kPlacedM), solidPath("s"), otherArt("g", kGroupArt)},
       {"s", "g", "p", "i"});
  copyMatrix();
  EXPECT_TRUE(sameMatrix(scrapMatrix(), kPatternM));

  document.model().select({"s", "i", "p"});
  copyMatrix();
  EXPECT_TRUE(sameMatrix(scrapMatrix(), kPlacedM));
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, MysteryPathFirstEndsTheCopyWithTheHeldMatrixKept) {
  open({mysteryPath("m"), placedArt("i", kPlacedM), rasterArt("r", kRasterM)}, {"r"});
  copyMatrix();
  document.model().select({"m", "i"});
  mark();
  copyMatrix();
  EXPECT_EQ(alerts(), (Strings{kMysteryAlert}));
  EXPECT_TRUE(sameMatrix(scrapMatrix(), kRasterM));
  EXPECT_EQ(callsSince("AIPlaced::GetPlacedMatrix"), 0u);
}

TEST_F(OperationsTest, CopyReadsOnlyTheFirstTextPathAndPassesOverTextWithoutOne) {
  open({textArt("empty", {}, 5), textArt("t", {{1, 0, 0, 1, 7, 8}, {9, 9, 9, 9, 9, 9}}),
        placedArt("i", kPlacedM)},
       {"empty", "t", "i"});
  copyMatrix();
  EXPECT_TRUE(sameMatrix(scrapMatrix(), {1, 0, 0, 1, 7, 8}));
  // An object without text paths gives no matrix: the search goes on and
  // never hands a null text path to the host.
  document.model().select({"empty", "i"});
  mark();
  copyMatrix();
  EXPECT_TRUE(sameMatrix(scrapMatrix(), kPlacedM));
  EXPECT_EQ(callsSince("AITextPath::GetTextPathMatrix"), 0u);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, NothingSuitableLeavesTheHeldMatrixWithoutAnAlert) {
  Json strokePattern = solidPath("sp");
  strokePattern["style"]["fillPaint"] = false;
  strokePattern["style"]["strokePaint"] = true;
  strokePattern["style"]["stroke"] = {
      {"color", {{"kind", "pattern"}, {"pattern", "Stripes"}, {"transform", {5, 0, 0, 5, 0, 0}}}}};
  open({solidPath("s"), strokePattern, otherArt("g", kGroupArt), otherArt("c", kCompoundPathArt),
        otherArt("u", 0), otherArt("run", 6), otherArt("big", 42), otherArt("neg", -1)},
       {"s", "sp", "g", "c", "u", "run", "big", "neg"});
  copyMatrix();
  EXPECT_TRUE(sameMatrix(scrapMatrix(), kIdentity));
  pasteMatrix();
  EXPECT_EQ(callsSince("AIPathStyle::SetPathStyle"), 0u);
  EXPECT_TRUE(sameMatrix(style("sp").stroke.color.c.p.transform, {5, 0, 0, 5, 0, 0}));
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, PasteBeforeAnyCopyWritesTheIdentity) {
  open({placedArt("i", kPlacedM), rasterArt("r", kRasterM), patternPath("p", kPatternM)}, {"i", "r", "p"});
  pasteMatrix();
  EXPECT_TRUE(sameMatrix(document.matrix("i"), kIdentity));
  EXPECT_TRUE(sameMatrix(document.matrix("r"), kIdentity));
  EXPECT_TRUE(sameMatrix(patternMatrix("p"), kIdentity));
}

TEST_F(OperationsTest, PasteReplacesEveryMatrixWholeAndOnlyThePatternTransform) {
  Json p = patternPath("p", kPatternM);
  p["style"]["fill"]["color"]["scale"] = {50, 50};
  p["style"]["fill"]["color"]["rotate"] = 30;
  p["style"]["fill"]["color"]["shiftDist"] = 2;
  open({placedArt("src", kPlacedM), p, rasterArt("r", kRasterM), mysteryPath("m1"), mysteryPath("m2"),
        textArt("t", {{2, 0, 0, 2, 1, 1}, {1, 0, 0, 1, 2, 2}, {3, 0, 0, 3, 3, 3}})},
       {"src"});
  copyMatrix();
  const AIPathStyle before = style("p");
  document.model().select({"m1", "p", "m2", "r", "t"});
  clearAlerts();
  pasteMatrix();
  EXPECT_EQ(alerts(), (Strings{kMysteryAlert, kMysteryAlert}));
  EXPECT_TRUE(sameMatrix(document.matrix("r"), kPlacedM));
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_TRUE(sameMatrix(document.textPathMatrix("t", i), kPlacedM));
  AIPathStyle expected = before;
  expected.fill.color.c.p.transform = kPlacedM;
  EXPECT_TRUE(identical(style("p"), expected));
}

TEST_F(OperationsTest, ShowDisplaysWhatCopyTookAndPasteLeavesItAlone) {
  open({placedArt("i", {2, 0, 0, 0.5f, 12.5f, -3}), rasterArt("r", kRasterM)}, {"i"});
  copyMatrix();
  document.model().select({"r"});
  pasteMatrix();
  showMatrix();
  EXPECT_EQ(alerts(), (Strings{"Matrix: TX=12.5; TY=-3; A=2; B=0; C=0; D=0.5; H scale=200%; V scale=50%; "
                               "Skew=0 degrees; Rotation=0 degrees"}));
}
