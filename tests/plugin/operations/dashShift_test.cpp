// The dash buttons move the dash offset of each selected dashed path; an
// offset that falls below 0 is brought back once by twice the pattern.
#include "operationsFixture.h"

#include <cmath>

using namespace pello::harness;

// The right dash button shifts by -step, the left one by +step.
TEST_F(OperationsTest, NegativeOffsetWrapsOnceByTwiceThePattern) {
  open({dashedPath("twoLengths", {3, 2}, 0.5f), dashedPath("oneLength", {4}, 0),
        dashedPath("landsOnZero", {3, 2}, 1), dashedPath("allZero", {0, 0}, 0.5f),
        dashedPath("noWrap", {3, 2}, 2)},
       {"twoLengths", "oneLength", "landsOnZero", "allZero"});
  click(kDashRightButton);
  EXPECT_EQ(dashOffset("twoLengths"), 9.5f); // -0.5 + 2 * (3 + 2)
  EXPECT_EQ(dashOffset("oneLength"), 7.0f);  // -1 + 2 * 4: an odd count is doubled too
  EXPECT_EQ(dashOffset("landsOnZero"), 0.0f);
  EXPECT_FALSE(std::signbit(dashOffset("landsOnZero")));
  EXPECT_EQ(dashOffset("allZero"), -0.5f); // adding nothing leaves it negative
  EXPECT_EQ(style("twoLengths").stroke.dash.array[0], 3);
  EXPECT_EQ(style("twoLengths").stroke.dash.length, 2);
  EXPECT_TRUE(alerts().empty());
}

// Each step is stored as a float: the offset after adding the step, and each
// partial sum of the lengths. Kept in wider precision (as the x87 unit does)
// 0.2 - 1 + 2 * (1.1 + 0.3) would come out as exactly 2.
TEST_F(OperationsTest, EveryStepOfTheWrapIsRoundedToAFloat) {
  open({dashedPath("d", {1.1f, 0.3f}, 0.2f), dashedPath("large", {16777215.0f, 0.75f}, 0.25f)},
       {"d", "large"});
  click(kDashRightButton);
  EXPECT_EQ(dashOffset("d"), 2.0000002f);
  // 16777215 + 0.75 is no float: the partial sum rounds to 16777216, and
  // -0.75 + 2 * 16777216 to 33554432 (unrounded sums would give 33554430).
  EXPECT_EQ(dashOffset("large"), 33554432.0f);
}

TEST_F(OperationsTest, OffsetStillNegativeAfterTheWrapIsWrittenNegative) {
  // -9 - 16 = -25, then + 2 * 5 = -15: the wrap is done once only.
  open({dashedPath("d", {3, 2}, -9)}, {"d"});
  click(kDashRightButton, {kVkShift, kVkControl});
  EXPECT_EQ(dashOffset("d"), -15.0f);
  EXPECT_EQ(callsSince("AIPathStyle::SetPathStyle"), 1u);
}

TEST_F(OperationsTest, PositiveOffsetsGrowWithoutLimitAndShiftBackExactly) {
  open({dashedPath("d", {3, 2}, 2)}, {"d"});
  click(kDashLeftButton);
  EXPECT_EQ(dashOffset("d"), 3.0f);
  for (int i = 0; i < 10; ++i)
    click(kDashLeftButton, {kVkShift, kVkAlt, kVkControl});
  EXPECT_EQ(dashOffset("d"), 643.0f);
  for (int i = 0; i < 10; ++i)
    click(kDashRightButton, {kVkShift, kVkAlt, kVkControl});
  click(kDashRightButton);
  EXPECT_EQ(dashOffset("d"), 2.0f);
}

TEST_F(OperationsTest, DashCountsOutsideTheArrayNeverReadPastIt) {
  // Counts a faulty host could hand over. The entries after the array in
  // the record (cap, join, miter limit) would add to the sum if read.
  Json tooMany = dashedPath("tooMany", {1, 1, 1, 1, 1, 1}, 0);
  tooMany["style"]["stroke"]["dash"]["length"] = 9;
  tooMany["style"]["stroke"]["cap"] = "projecting";
  tooMany["style"]["stroke"]["join"] = "bevel";
  tooMany["style"]["stroke"]["miterLimit"] = 1000;
  Json negative = dashedPath("negative", {5, 5}, 0);
  negative["style"]["stroke"]["dash"]["length"] = -3;
  open({tooMany, negative}, {"tooMany", "negative"});
  click(kDashRightButton);
  EXPECT_EQ(dashOffset("tooMany"), 11.0f); // -1 + 2 * 6
  EXPECT_EQ(dashOffset("negative"), -1.0f);
  EXPECT_EQ(style("tooMany").stroke.dash.length, 9);
  EXPECT_EQ(style("tooMany").stroke.miterLimit, 1000);
}

TEST_F(OperationsTest, SolidOrUnstrokedPathsAreNotWrittenAndMysteryPathsAreAnnounced) {
  Json unstroked = dashedPath("unstroked", {3, 2}, 1);
  unstroked["style"]["strokePaint"] = false;
  Json strokeTrueNotOne = dashedPath("trueNotOne", {3, 2}, 1);
  strokeTrueNotOne["style"]["strokePaint"] = 2;
  open({mysteryPath("m1"), dashedPath("solid", {}, 1), unstroked, strokeTrueNotOne, mysteryPath("m2"),
        dashedPath("d", {3, 2}, 1), placedArt("i", {1, 0, 0, 1, 0, 0}), textArt("t", {{1, 0, 0, 1, 0, 0}})},
       {"m1", "solid", "unstroked", "trueNotOne", "m2", "d", "i", "t"});
  click(kDashLeftButton);
  EXPECT_EQ(alerts(), (Strings{kMysteryAlert, kMysteryAlert}));
  EXPECT_EQ(dashOffset("d"), 2.0f);
  EXPECT_EQ(dashOffset("solid"), 1.0f);
  EXPECT_EQ(dashOffset("unstroked"), 1.0f);
  EXPECT_EQ(dashOffset("trueNotOne"), 1.0f);
  EXPECT_EQ(callsSince("AIPathStyle::SetPathStyle"), 1u);
}
