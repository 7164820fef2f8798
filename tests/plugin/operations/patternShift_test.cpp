// The eight arrows shift the fill pattern of each selected path.
#include "operationsFixture.h"

using namespace pello::harness;

namespace {
constexpr ASRealMatrix kShifted{2, 0.5f, 0, 3, 40, 25};
}

TEST_F(OperationsTest, ArrowsStepThePatternAndTheOppositeArrowStepsItBack) {
  open({patternPath("p", kShifted)}, {"p"});
  click(kRightArrow);
  EXPECT_TRUE(sameMatrix(patternMatrix("p"), {2, 0.5f, 0, 3, 41, 25}));
  // Up on the palette is down in the document.
  click(kUpArrow);
  EXPECT_TRUE(sameMatrix(patternMatrix("p"), {2, 0.5f, 0, 3, 41, 24}));
  click(kDownLeftArrow);
  EXPECT_TRUE(sameMatrix(patternMatrix("p"), {2, 0.5f, 0, 3, 40, 25}));
  // Shift doubles the step; with Ctrl too, 16.
  click(kUpRightArrow, {kVkShift, kVkControl});
  EXPECT_TRUE(sameMatrix(patternMatrix("p"), {2, 0.5f, 0, 3, 56, 9}));
  click(kDownLeftArrow, {kVkShift, kVkControl});
  // Only the translation moved, whatever the linear part: the matrix is back.
  EXPECT_TRUE(sameMatrix(patternMatrix("p"), kShifted));
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, SmallStepAndItsInverseComeBackWithinSinglePrecision) {
  open({patternPath("p", {1, 0, 0, 1, 1000.3f, -7.1f})}, {"p"});
  // No Shift: Ctrl, Alt and the Windows key divide the step: 1/64.
  click(kLeftArrow, {kVkControl, kVkAlt, kVkLeftWindows});
  EXPECT_FLOAT_EQ(patternMatrix("p").tx, 1000.3f - 1.0f / 64);
  click(kRightArrow, {kVkControl, kVkAlt, kVkLeftWindows});
  EXPECT_FLOAT_EQ(patternMatrix("p").tx, 1000.3f);
  EXPECT_FLOAT_EQ(patternMatrix("p").ty, -7.1f);
}

TEST_F(OperationsTest, OnlyPatternFillsAreShiftedAndOtherArtIsPassedOver) {
  Json unpainted = patternPath("unpainted");
  unpainted["style"]["fillPaint"] = false;
  Json strokePattern = solidPath("strokePattern");
  strokePattern["style"]["strokePaint"] = true;
  strokePattern["style"]["stroke"] = {{"color", {{"kind", "pattern"}, {"pattern", "Stripes"}}}};
  Json both = patternPath("both");
  both["style"]["strokePaint"] = true;
  both["style"]["stroke"] = {{"color", {{"kind", "pattern"}, {"pattern", "Stripes"}}}};
  open({patternPath("first"), solidPath("solid"), unpainted, strokePattern, both, mysteryPath("m"),
        textArt("t", {{1, 0, 0, 1, 0, 0}}), placedArt("i", {1, 0, 0, 1, 0, 0}), otherArt("g", kGroupArt),
        patternPath("last")},
       {"first", "solid", "unpainted", "strokePattern", "both", "m", "t", "i", "g", "last"});
  const AIPathStyle unpaintedBefore = style("unpainted"), strokeBefore = style("strokePattern");
  click(kRightArrow);
  EXPECT_EQ(patternMatrix("first").tx, 1);
  EXPECT_EQ(patternMatrix("last").tx, 1);
  EXPECT_EQ(patternMatrix("both").tx, 1);
  EXPECT_EQ(style("both").stroke.color.c.p.transform.tx, 0);
  EXPECT_TRUE(identical(style("unpainted"), unpaintedBefore));
  EXPECT_TRUE(identical(style("strokePattern"), strokeBefore));
  EXPECT_EQ(callsSince("AIPathStyle::SetPathStyle"), 3u);
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, EmptySelectionDoesNothing) {
  open({patternPath("p")}, {});
  click(kRightArrow);
  EXPECT_EQ(patternMatrix("p").tx, 0);
  EXPECT_EQ(callsSince("AIPathStyle::GetPathStyle"), 0u);
  EXPECT_TRUE(alerts().empty());
}
