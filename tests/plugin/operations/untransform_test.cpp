// "Untransform" resets fill patterns, dash offsets and the linear part of
// text path, placed and raster matrices.
#include "operationsFixture.h"

using namespace pello::harness;

namespace {
constexpr ASRealMatrix kSkewed{2, 0.5f, 0, 3, 40, 25};
constexpr ASRealMatrix kUnskewed{1, 0, 0, 1, 40, 25};
} // namespace

TEST_F(OperationsTest, MatricesLoseTheirLinearPartAndKeepTheirTranslation) {
  open({placedArt("i", kSkewed), rasterArt("r", kSkewed),
        textArt("t", {{2, 0, 0, 2, 10, 20}, {1, 0.5f, 0, 1, 30, 40}, {0, 1, -1, 0, 50, 60}}),
        textArt("t5", {{3, 0, 0, 3, 7, 8}}, 5)},
       {"i", "r", "t", "t5"});
  click(kUntransformButton);
  EXPECT_TRUE(sameMatrix(document.matrix("i"), kUnskewed));
  EXPECT_TRUE(sameMatrix(document.matrix("r"), kUnskewed));
  EXPECT_TRUE(sameMatrix(document.textPathMatrix("t", 0), {1, 0, 0, 1, 10, 20}));
  EXPECT_TRUE(sameMatrix(document.textPathMatrix("t", 1), {1, 0, 0, 1, 30, 40}));
  EXPECT_TRUE(sameMatrix(document.textPathMatrix("t", 2), {1, 0, 0, 1, 50, 60}));
  EXPECT_TRUE(sameMatrix(document.textPathMatrix("t5", 0), {1, 0, 0, 1, 7, 8}));
  EXPECT_TRUE(alerts().empty());
}

TEST_F(OperationsTest, PatternResetWritesEveryPatternMemberAndKeepsThePattern) {
  Json p = patternPath("p", kSkewed);
  Json &color = p["style"]["fill"]["color"];
  color["shiftDist"] = 3;
  color["shiftAngle"] = 30;
  color["scale"] = {50, 200};
  color["rotate"] = 45;
  color["reflect"] = true;
  color["reflectAngle"] = 10;
  color["shearAngle"] = 20;
  color["shearAxis"] = 5;
  p["style"]["strokePaint"] = true;
  p["style"]["stroke"] = {{"color", {{"kind", "gray"}, {"gray", 0.25}}}, {"width", 3}};
  // Listed after a placed object: the pattern still gets no translation.
  open({placedArt("i", kSkewed), p}, {"i", "p"});
  const AIPathStyle before = style("p");
  click(kUntransformButton);
  const AIPathStyle &after = style("p");
  const AIPatternStyle &reset = after.fill.color.c.p;
  EXPECT_EQ(reset.shiftDist, 0);
  EXPECT_EQ(reset.shiftAngle, 0);
  EXPECT_EQ(reset.scale.h, 100);
  EXPECT_EQ(reset.scale.v, 100);
  EXPECT_EQ(reset.rotate, 0);
  EXPECT_EQ(reset.reflect, 0);
  EXPECT_EQ(reset.reflectAngle, 0);
  EXPECT_EQ(reset.shearAngle, 0);
  EXPECT_EQ(reset.shearAxis, 0);
  EXPECT_TRUE(sameMatrix(reset.transform, {1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(reset.pattern, before.fill.color.c.p.pattern);
  // Only the pattern: one write, the stroke as it was.
  EXPECT_EQ(callsSince("AIPathStyle::SetPathStyle"), 1u);
  AIPathStyle expected = before;
  expected.fill.color.c.p = reset;
  EXPECT_TRUE(identical(after, expected));
}

TEST_F(OperationsTest, PatternAndDashResetsAreTwoWrites) {
  Json both = patternPath("both", kSkewed);
  both["style"]["strokePaint"] = true;
  both["style"]["stroke"] = {{"dash", {{"array", {3, 2}}, {"offset", 4.5}}}};
  Json dashOnly = dashedPath("dashOnly", {3, 2}, 4.5f);
  Json unpaintedDash = dashedPath("unpaintedDash", {3, 2}, 4.5f);
  unpaintedDash["style"]["strokePaint"] = false;
  Json strokePattern = dashedPath("strokePattern", {3, 2}, 0);
  strokePattern["style"]["stroke"]["color"] = {
      {"kind", "pattern"}, {"pattern", "Stripes"}, {"transform", {2, 0, 0, 2, 1, 1}}};
  open({both, dashOnly, unpaintedDash, strokePattern},
       {"both", "dashOnly", "unpaintedDash", "strokePattern"});
  click(kUntransformButton);
  EXPECT_TRUE(sameMatrix(patternMatrix("both"), {1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(dashOffset("both"), 0);
  EXPECT_EQ(dashOffset("dashOnly"), 0);
  EXPECT_EQ(style("dashOnly").stroke.dash.array[1], 2);
  EXPECT_EQ(dashOffset("unpaintedDash"), 4.5f);
  EXPECT_TRUE(sameMatrix(style("strokePattern").stroke.color.c.p.transform, {2, 0, 0, 2, 1, 1}));
  // both: pattern then dash; dashOnly: dash; strokePattern: its offset was 0
  // already but it is dashed and painted, so it is written too.
  EXPECT_EQ(callsSince("AIPathStyle::SetPathStyle"), 4u);
  const auto &records = host.log().records();
  std::vector<std::string> written;
  for (const auto &r : records)
    if (r.op == "AIPathStyle::SetPathStyle") written.push_back(r.arg("art")->get<pello::host::Label>()->text);
  EXPECT_EQ(written, (Strings{"both", "both", "dashOnly", "strokePattern"}));
}

TEST_F(OperationsTest, SecondUntransformChangesNothingAndMysteryPathsAreAnnounced) {
  open({mysteryPath("m1"), placedArt("i", kSkewed), mysteryPath("m2"), rasterArt("r", kSkewed)},
       {"m1", "i", "m2", "r"});
  click(kUntransformButton);
  EXPECT_EQ(alerts(), (Strings{kMysteryAlert, kMysteryAlert}));
  const std::string once = document.saveJson();
  click(kUntransformButton);
  EXPECT_EQ(document.saveJson(), once);
  EXPECT_TRUE(sameMatrix(document.matrix("r"), kUnskewed));
}
