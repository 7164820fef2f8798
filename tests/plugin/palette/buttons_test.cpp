// The palette's buttons: the step that the modifier keys give, the direction
// of each arrow, one operation per click, and the notifications that run
// nothing. Every click acts on a fresh document holding a pattern-filled
// path, a dashed path and a solid path, all selected.
#include "paletteFixture.h"

using namespace pello::harness;
using namespace pello::host;
using namespace pello::test;

namespace {

// The dashed path starts far enough from 0 that no step takes it below 0.
constexpr float kStartOffset = 256.0f;

constexpr const char *kShiftDocument = R"({
  "patterns": [{"name": "Stripes", "tile": [0, 0, 10, 10]}],
  "art": [
    {"id": "patterned", "type": "path", "rectangle": [0, 0, 100, 50],
     "style": {"fillPaint": true, "fill": {"color": {"kind": "pattern", "pattern": "Stripes"}}}},
    {"id": "dashed", "type": "path", "polygon": [[0, 0], [100, 0]], "closed": false,
     "style": {"strokePaint": true, "stroke": {"dash": {"array": [3, 2], "offset": 256}}}},
    {"id": "solid", "type": "path", "rectangle": [0, 0, 10, 10],
     "style": {"fillPaint": true, "fill": {"color": {"kind": "gray", "gray": 0.5}}}}],
  "selection": ["patterned", "dashed", "solid"]
})";

// What one click did to the document.
struct Effect {
  float tx; // the pattern matrix's translation
  float ty;
  float offset; // the dash offset
};

class ButtonsTest : public PaletteTest {
protected:
  void SetUp() override {
    PaletteTest::SetUp();
    if (HasFatalFailure()) return;
    startPalette();
  }

  const ASRealMatrix &patternMatrix() { return document().style("patterned").fill.color.c.p.transform; }
  float dashOffset() { return document().style("dashed").stroke.dash.offset; }

  // Clicks `item` with `keys` held on a fresh document. One click runs one
  // operation (one request for the selection) that writes one path, shows
  // nothing and never touches the solid path.
  Effect clickOnFreshDocument(int item, const std::vector<int> &keys) {
    document().loadJson(kShiftDocument);
    const AIPathStyle solidBefore = document().style("solid");
    dialogs().clearAlerts();
    const std::size_t from = mark();
    EXPECT_TRUE(click(item, keys));
    EXPECT_EQ(callsSince("AIMatchingArt::GetSelectedArt", from), 1u) << "one click, one operation";
    EXPECT_EQ(callsSince("AIPathStyle::SetPathStyle", from), 1u) << "one path written";
    EXPECT_TRUE(dialogs().alerts().empty());
    EXPECT_TRUE(identical(document().style("solid"), solidBefore)) << "the solid path was written";
    const ASRealMatrix &m = patternMatrix();
    EXPECT_EQ(m.a, 1.0f);
    EXPECT_EQ(m.b, 0.0f);
    EXPECT_EQ(m.c, 0.0f);
    EXPECT_EQ(m.d, 1.0f);
    return {m.tx, m.ty, dashOffset()};
  }
};

// The step table: the step of a click for each set of modifier keys, both
// Windows keys standing for "a Windows key".
struct StepRow {
  const char *held;
  std::vector<int> keys;
  float dist;
};
const StepRow kSteps[] = {
    {"nothing", {}, 1.0f},
    {"Windows", {kVkLeftWindows}, 0.5f},
    {"Alt", {kVkAlt}, 0.25f},
    {"Ctrl", {kVkControl}, 0.125f},
    {"Windows Alt", {kVkRightWindows, kVkAlt}, 0.125f},
    {"Windows Ctrl", {kVkLeftWindows, kVkControl}, 0.0625f},
    {"Alt Ctrl", {kVkAlt, kVkControl}, 0.03125f},
    {"Windows Alt Ctrl", {kVkRightWindows, kVkAlt, kVkControl}, 0.015625f},
    {"Shift", {kVkShift}, 2.0f},
    {"Shift Windows", {kVkShift, kVkRightWindows}, 4.0f},
    {"Shift Alt", {kVkShift, kVkAlt}, 8.0f},
    {"Shift Ctrl", {kVkShift, kVkControl}, 16.0f},
    {"Shift Windows Alt", {kVkShift, kVkLeftWindows, kVkAlt}, 16.0f},
    {"Shift Windows Ctrl", {kVkShift, kVkRightWindows, kVkControl}, 32.0f},
    {"Shift Alt Ctrl", {kVkShift, kVkAlt, kVkControl}, 64.0f},
    {"Shift Windows Alt Ctrl", {kVkShift, kVkLeftWindows, kVkAlt, kVkControl}, 128.0f},
};

} // namespace

TEST_F(ButtonsTest, EveryModifierCombinationStepsAnArrowByTheTablesStep) {
  // The up-and-right arrow moves the pattern by the step along each axis,
  // up on the palette being down in the document; the dashes stay.
  for (const StepRow &row : kSteps) {
    SCOPED_TRACE(row.held);
    const Effect effect = clickOnFreshDocument(kUpRightArrow, row.keys);
    EXPECT_EQ(effect.tx, row.dist);
    EXPECT_EQ(effect.ty, -row.dist);
    EXPECT_EQ(effect.offset, kStartOffset) << "an arrow shifted the dashes";
  }
}

TEST_F(ButtonsTest, EveryModifierCombinationStepsEachDashButtonByTheTablesStep) {
  // The left-pointing button adds the step to the dash offset, the
  // right-pointing one takes it away; the pattern stays.
  for (const StepRow &row : kSteps) {
    SCOPED_TRACE(row.held);
    const Effect forward = clickOnFreshDocument(kDashLeftButton, row.keys);
    EXPECT_EQ(forward.offset, kStartOffset + row.dist);
    EXPECT_EQ(forward.tx, 0.0f) << "a dash button moved the pattern";
    EXPECT_EQ(forward.ty, 0.0f) << "a dash button moved the pattern";

    const Effect backward = clickOnFreshDocument(kDashRightButton, row.keys);
    EXPECT_EQ(backward.offset, kStartOffset - row.dist);
    EXPECT_EQ(backward.tx, 0.0f) << "a dash button moved the pattern";
    EXPECT_EQ(backward.ty, 0.0f) << "a dash button moved the pattern";
  }
}

TEST_F(ButtonsTest, EitherWindowsKeyCountsOnceAndOtherKeysNotAtAll) {
  const StepRow rows[] = {
      {"both Windows keys", {kVkLeftWindows, kVkRightWindows}, 0.5f},
      {"Shift and both Windows keys", {kVkShift, kVkLeftWindows, kVkRightWindows}, 4.0f},
      {"A", {0x41}, 1.0f},
      {"Caps Lock and Shift", {0x14, kVkShift}, 2.0f},
      {"left Shift and right Control (no generic codes)", {0xA0, 0xA3}, 1.0f},
  };
  for (const StepRow &row : rows) {
    SCOPED_TRACE(row.held);
    const Effect effect = clickOnFreshDocument(kRightArrow, row.keys);
    EXPECT_EQ(effect.tx, row.dist);
    EXPECT_EQ(effect.ty, 0.0f);
  }
}

TEST_F(ButtonsTest, EachArrowMovesThePatternItsOwnWayWithTheVerticalNegated) {
  struct Row {
    int item;
    const char *name;
    std::vector<int> keys;
    float tx;
    float ty;
  };
  const Row rows[] = {
      {kRightArrow, "right", {}, 1, 0},
      {kUpRightArrow, "up and right", {}, 1, -1},
      {kUpArrow, "up", {}, 0, -1},
      {kUpLeftArrow, "up and left", {}, -1, -1},
      {kLeftArrow, "left", {}, -1, 0},
      {kDownLeftArrow, "down and left", {}, -1, 1},
      {kDownArrow, "down", {}, 0, 1},
      {kDownRightArrow, "down and right", {}, 1, 1},
      {kRightArrow, "right, Shift Ctrl", {kVkShift, kVkControl}, 16, 0},
      {kLeftArrow, "left, Alt Ctrl", {kVkAlt, kVkControl}, -0.03125f, 0},
      {kDownLeftArrow, "down and left, Shift", {kVkShift}, -2, 2},
      {kUpArrow, "up, Windows", {kVkRightWindows}, 0, -0.5f},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    const Effect effect = clickOnFreshDocument(row.item, row.keys);
    EXPECT_EQ(effect.tx, row.tx);
    EXPECT_EQ(effect.ty, row.ty);
    EXPECT_EQ(effect.offset, kStartOffset);
  }
}

TEST_F(ButtonsTest, UntransformIgnoresModifierKeys) {
  constexpr const char *transformed = R"({
    "patterns": [{"name": "Stripes", "tile": [0, 0, 10, 10]}],
    "art": [
      {"id": "patterned", "type": "path", "rectangle": [0, 0, 100, 50],
       "style": {"fillPaint": true,
                 "fill": {"color": {"kind": "pattern", "pattern": "Stripes", "rotate": 30,
                                    "scale": [200, 50], "transform": [2, 0, 0.5, 2, 5, 7]}}}},
      {"id": "dashed", "type": "path", "polygon": [[0, 0], [100, 0]], "closed": false,
       "style": {"strokePaint": true, "stroke": {"dash": {"array": [3, 2], "offset": 256}}}},
      {"id": "placed", "type": "placed", "matrix": [0, 2, -2, 0, 30, 40], "size": [100, 50],
       "file": "logo.eps"}],
    "selection": ["patterned", "dashed", "placed"]
  })";
  // The document as a plain click leaves it.
  document().loadJson(transformed);
  const std::string original = document().saveJson();
  const std::size_t first = mark();
  ASSERT_TRUE(click(kUntransformButton));
  EXPECT_EQ(callsSince("AIMatchingArt::GetSelectedArt", first), 1u);
  const std::string untransformed = document().saveJson();
  ASSERT_NE(untransformed, original) << "the untransform did not run";

  const std::vector<int> held[] = {
      {kVkShift},
      {kVkControl},
      {kVkAlt, kVkRightWindows},
      {kVkShift, kVkLeftWindows, kVkAlt, kVkControl},
  };
  for (const std::vector<int> &keys : held) {
    SCOPED_TRACE(::testing::PrintToString(keys));
    document().loadJson(transformed);
    const std::size_t from = mark();
    ASSERT_TRUE(click(kUntransformButton, keys));
    EXPECT_EQ(callsSince("AIMatchingArt::GetSelectedArt", from), 1u) << "one click, one operation";
    EXPECT_EQ(document().saveJson(), untransformed);
  }
}

TEST_F(ButtonsTest, NotificationsOtherThanUserChangedRunNothing) {
  const char *const types[] = {
      "ADM Intermediate Changed Notifier",
      "ADM Bounds Changed Notifier",
      "ADM Close Hit Notifier",
      "ADM Entry Text Changed Notifier",
      "ADM User Changed",           // a prefix of the one that counts
      "ADM User Changed Notifier ", // one character more
      "adm user changed notifier",  // another case
      "",
  };
  const int items[] = {kRightArrow,      kUpArrow,           kDownLeftArrow,   kDashLeftButton,
                       kDashRightButton, kUntransformButton, kOptionMenuButton};
  document().loadJson(kShiftDocument);
  const std::string before = document().saveJson();
  const ASRealMatrix held = globals()->scrapMatrix;
  dialogs().clearAlerts();

  for (const int item : items) {
    for (const char *type : types) {
      SCOPED_TRACE(std::string("item ") + std::to_string(item) + ", \"" + type + "\"");
      const std::size_t from = mark();
      notifyItem(item, type);
      // Reading the notification's type is all that happens.
      for (const std::string &op : opsSince(from))
        EXPECT_TRUE(op == "ADMNotifier::GetNotifierType" || op == "ADMNotifier::IsNotifierType") << op;
    }
  }
  EXPECT_EQ(document().saveJson(), before);
  EXPECT_TRUE(identical(globals()->scrapMatrix, held));
  EXPECT_TRUE(dialogs().alerts().empty());
}

TEST_F(ButtonsTest, ShiftUpArrowMovesAPatternTwoUnitsAndLeavesASolidPathAlone) {
  document().loadJson(R"({
    "patterns": [{"name": "Stripes", "tile": [0, 0, 10, 10]}],
    "art": [
      {"id": "patterned", "type": "path", "rectangle": [0, 0, 100, 50],
       "style": {"fillPaint": true,
                 "fill": {"color": {"kind": "pattern", "pattern": "Stripes",
                                    "transform": [0.5, 0, 0, 0.5, 10, 20]}}}},
      {"id": "solid", "type": "path", "rectangle": [0, 0, 10, 10],
       "style": {"fillPaint": true, "fill": {"color": {"kind": "gray", "gray": 0.5}}}}],
    "selection": ["solid", "patterned"]
  })");
  const AIPathStyle solidBefore = document().style("solid");
  AIPathStyle patternedExpected = document().style("patterned");
  patternedExpected.fill.color.c.p.transform.ty = 18.0f;

  ASSERT_TRUE(click(kUpArrow, {kVkShift}));

  EXPECT_TRUE(identical(document().style("patterned"), patternedExpected))
      << "only the pattern's vertical translation changes, by -2";
  EXPECT_EQ(patternMatrix().tx, 10.0f);
  EXPECT_EQ(patternMatrix().ty, 18.0f);
  EXPECT_TRUE(identical(document().style("solid"), solidBefore));
  EXPECT_TRUE(dialogs().alerts().empty());
}
