// Where the palette appears: its dock group and position code, its bounds
// on a first run and from a stored location, and the placement it writes
// when destroyed, which the next run of the host reads back.
#include "paletteFixture.h"

#include "ADMDialog.h"

#include <climits>
#include <ostream>

using namespace pello::host;
using namespace pello::test;

namespace {

// Dialog resource 16000 is 206 x 78 dialog units: 309 x 127 pixels as the
// dialog manager creates it. The palette is then given 212 x 112.
constexpr int kCreatedWidth = 309;
constexpr int kCreatedHeight = 127;

std::string text(const ASRect &r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

::testing::AssertionResult boundsAre(const DialogManager &dialogs, ADMDialogRef palette,
                                     const ASRect &expected) {
  const std::optional<DialogInfo> info = dialogs.info(palette);
  if (!info) return ::testing::AssertionFailure() << "no palette";
  const ASRect &r = info->bounds;
  if (r.left == expected.left && r.top == expected.top && r.right == expected.right &&
      r.bottom == expected.bottom)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "bounds " << text(r) << ", expected " << text(expected);
}

::testing::AssertionResult dockedIn(const DialogManager &dialogs, ADMDialogRef palette,
                                    const std::string &group, ai_int32 code) {
  const std::optional<DialogInfo> info = dialogs.info(palette);
  if (!info) return ::testing::AssertionFailure() << "no palette";
  if (info->group == group && info->positionCode == code) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "docked in \"" << info->group << "\" at " << info->positionCode
                                       << ", expected \"" << group << "\" at " << code;
}

class PlacementTest : public PaletteTest {
protected:
  // A new run of the host on an empty preferences store.
  void freshRun() {
    restartHost();
    preferences().clear();
  }

  // From now on the dialog suite reports `bounds` for every dialog, as a
  // host with extreme coordinates would.
  void reportBounds(const ASRect &bounds) {
    const void *table = nullptr;
    ASSERT_EQ(host().suites().acquire(kADMDialogSuite, kADMDialogSuiteVersion, &table), kASNoError);
    host().suites().release(kADMDialogSuite, kADMDialogSuiteVersion);
    reportedSuite = *static_cast<const ADMDialogSuite3 *>(table);
    reportedBounds = bounds;
    reportedSuite.GetBoundsRect = [](ADMDialogRef, ASRect *boundsRect) { *boundsRect = reportedBounds; };
    host().suites().add(kADMDialogSuite, kADMDialogSuiteVersion, &reportedSuite);
  }

  static inline ADMDialogSuite3 reportedSuite{};
  static inline ASRect reportedBounds{};
};

} // namespace

TEST_F(PlacementTest, FirstRunDocksInTheDefaultGroupAtTheLayoutsBottomRightCorner) {
  struct Row {
    ASRect layout;
    ASRect bounds; // (L, T - 6, L + 212, T + 106), L and T the corner for the created size
  };
  const Row rows[] = {
      {{0, 0, 1600, 1000}, {1291, 867, 1503, 979}},
      {{100, 50, 1300, 900}, {991, 767, 1203, 879}},
      {{-500, -400, 200, 100}, {-109, -33, 103, 79}},
  };
  bool first = true;
  for (const Row &row : rows) {
    SCOPED_TRACE(text(row.layout));
    if (!first) freshRun();
    first = false;
    dialogs().setPaletteLayoutBounds(row.layout);
    const std::size_t from = mark();
    startPalette();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(row.layout.right - row.bounds.left, kCreatedWidth);
    EXPECT_EQ(row.layout.bottom - (row.bounds.top + 6), kCreatedHeight);
    EXPECT_TRUE(boundsAre(dialogs(), palette, row.bounds));
    EXPECT_TRUE(dockedIn(dialogs(), palette, "VelmoraDialogs", 0x1C00));
    EXPECT_EQ(callsSince("AIPreference::GetBooleanPreference", from), 0u) << "visibility is never read";
  }
}

TEST_F(PlacementTest, ExtremeCoordinatesGiveTheNearestPlacementWithoutOverflow) {
  struct Row {
    const char *what;
    ASRect created; // what the host reports for the new palette
    ASRect layout;
    ASRect bounds;
  };
  const Row rows[] = {
      {"a width and height of -2^31",
       {0, 0, INT32_MIN, INT32_MIN},
       {0, 0, 1600, 1000},
       {INT32_MAX, INT32_MAX - 6, INT32_MAX, INT32_MAX}},
      {"a width and height of 2^32 - 1",
       {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
       {0, 0, 1600, 1000},
       {INT32_MIN, INT32_MIN, INT32_MIN + 212, INT32_MIN + 112}},
      {"a layout at the lowest coordinates",
       {0, 0, kCreatedWidth, kCreatedHeight},
       {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
       {INT32_MIN, INT32_MIN, INT32_MIN + 212, INT32_MIN + 112}},
      {"a layout at the highest coordinates",
       {0, 0, kCreatedWidth, kCreatedHeight},
       {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
       {INT32_MAX - kCreatedWidth, INT32_MAX - kCreatedHeight - 6, INT32_MAX - kCreatedWidth + 212,
        INT32_MAX - kCreatedHeight + 106}},
  };
  bool first = true;
  for (const Row &row : rows) {
    SCOPED_TRACE(row.what);
    if (!first) freshRun();
    first = false;
    dialogs().setPaletteLayoutBounds(row.layout);
    reportBounds(row.created);
    ASSERT_FALSE(HasFatalFailure());
    startPalette();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(boundsAre(dialogs(), palette, row.bounds));
  }
}

TEST_F(PlacementTest, AStoredLocationIsTheTopLeftOfTheContentBelowASixPixelFrame) {
  struct Row {
    ASPoint location;
    ASRect bounds;
  };
  const Row rows[] = {
      {{40, 30}, {40, 24, 252, 136}},
      {{0, 0}, {0, -6, 212, 106}},
      {{-50, 3}, {-50, -3, 162, 109}},
      {{1291, 873}, {1291, 867, 1503, 979}},
  };
  bool first = true;
  for (const Row &row : rows) {
    SCOPED_TRACE("location " + std::to_string(row.location.h) + ", " + std::to_string(row.location.v));
    if (!first) freshRun();
    first = false;
    preferences().putPoint(kPrefix, kLocationKey, row.location);
    startPalette();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(boundsAre(dialogs(), palette, row.bounds));
    EXPECT_TRUE(dockedIn(dialogs(), palette, "VelmoraDialogs", 0x1C00))
        << "group and code keep their defaults";
  }
}

TEST_F(PlacementTest, AStoredDockGroupIsUsedOnlyWhenItFitsSixtyFourBytes) {
  struct Row {
    std::string stored;
    std::string docked;
  };
  const std::string longest(63, 'g');
  const Row rows[] = {
      {"Floaters", "Floaters"},
      {longest, longest},
      {std::string(64, 'h'), "VelmoraDialogs"},
      {std::string(300, 'i'), "VelmoraDialogs"},
  };
  bool first = true;
  for (const Row &row : rows) {
    SCOPED_TRACE("a stored group of " + std::to_string(row.stored.size()) + " characters");
    if (!first) freshRun();
    first = false;
    preferences().putString(kPrefix, kDockGroupKey, row.stored);
    preferences().putInteger(kPrefix, kDockCodeKey, 0x2A01);
    startPalette();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(dockedIn(dialogs(), palette, row.docked, 0x2A01));
    EXPECT_TRUE(boundsAre(dialogs(), palette, {1291, 867, 1503, 979}));
  }
}

TEST_F(PlacementTest, TheNextRunFindsThePaletteWhereTheUserLeftIt) {
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(boundsAre(dialogs(), palette, {1291, 867, 1503, 979}));
  ASSERT_TRUE(dialogs().move(palette, -200, -100));
  ASSERT_TRUE(dialogs().dock(palette, "Floaters", 0x2A01));

  restartHost();
  EXPECT_EQ(preferences().getString(kPrefix, kDockGroupKey), "Floaters");
  EXPECT_EQ(preferences().getInteger(kPrefix, kDockCodeKey), 0x2A01);
  const std::optional<ASPoint> location = preferences().getPoint(kPrefix, kLocationKey);
  ASSERT_TRUE(location.has_value());
  EXPECT_EQ(location->h, 1091) << "the left of the bounds as the host reported them";
  EXPECT_EQ(location->v, 767) << "the top of the bounds as the host reported them";
  EXPECT_EQ(preferences().getBoolean(kPrefix, kVisibleKey), true);

  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_TRUE(dockedIn(dialogs(), palette, "Floaters", 0x2A01));
  // The stored top is taken for the content's top, six below the frame.
  EXPECT_TRUE(boundsAre(dialogs(), palette, {1091, 761, 1303, 873}));
}

TEST_F(PlacementTest, APaletteHiddenAtShutdownIsSavedHiddenAndTheNextRunDoesNotAsk) {
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(dialogs().setBounds(palette, {10, 20, 500, 400}));
  ASSERT_TRUE(dialogs().setVisible(palette, false));

  restartHost();
  EXPECT_EQ(preferences().getBoolean(kPrefix, kVisibleKey), false);
  const std::optional<ASPoint> location = preferences().getPoint(kPrefix, kLocationKey);
  ASSERT_TRUE(location.has_value());
  EXPECT_EQ(location->h, 10);
  EXPECT_EQ(location->v, 20);

  const std::size_t from = mark();
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(callsSince("AIPreference::GetBooleanPreference", from), 0u);
  EXPECT_EQ(callsSince("ADMDialog::Show", from), 0u) << "the palette neither shows nor hides itself";
  EXPECT_TRUE(boundsAre(dialogs(), palette, {10, 14, 222, 126}));
}

TEST_F(PlacementTest, TheDestroyProcedureWritesCodeGroupLocationAndVisibilityInThatOrder) {
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(dialogs().dock(palette, "Floaters", -7));
  ASSERT_TRUE(dialogs().setBounds(palette, {-30, 45, 182, 157}));
  ASSERT_TRUE(dialogs().setVisible(palette, false));

  const std::size_t from = mark();
  ASSERT_EQ(plugin().shutdown(), kASNoError);
  std::vector<std::string> writes;
  const std::vector<CallRecord> &records = host().log().records();
  for (std::size_t i = from; i < records.size(); ++i)
    if (records[i].op.rfind("AIPreference::Put", 0) == 0)
      writes.push_back(records[i].op + " " + records[i].argsText());
  EXPECT_EQ(
      writes,
      (std::vector<std::string>{
          R"(AIPreference::PutIntegerPreference value=-7, prefix="Pello", suffix="kADM_DPDockCodeStr")",
          R"(AIPreference::PutStringPreference value="Floaters", prefix="Pello", suffix="kADM_DPDockGroupStr")",
          R"(AIPreference::PutPointPreference h=-30, v=45, prefix="Pello", suffix="kADM_DPLocationStr")",
          R"(AIPreference::PutBooleanPreference value=0, prefix="Pello", suffix="kADM_DPVisibleStr")",
      }));
}

TEST_F(PlacementTest, WithoutGroupInformationTheStoredGroupAndCodeStay) {
  preferences().putString(kPrefix, kDockGroupKey, "Floaters");
  preferences().putInteger(kPrefix, kDockCodeKey, 0x2A01);
  startPalette();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(dialogs().move(palette, 5, 5));

  host().faults().failOnCall("ADMDialogGroup::GetDialogGroupInfo", 1, kSPBadParameterError);
  restartHost();
  EXPECT_EQ(preferences().getString(kPrefix, kDockGroupKey), "Floaters");
  EXPECT_EQ(preferences().getInteger(kPrefix, kDockCodeKey), 0x2A01);
  const std::optional<ASPoint> location = preferences().getPoint(kPrefix, kLocationKey);
  ASSERT_TRUE(location.has_value());
  EXPECT_EQ(location->h, 1296);
  EXPECT_EQ(location->v, 872);
  EXPECT_EQ(preferences().getBoolean(kPrefix, kVisibleKey), true);
}
