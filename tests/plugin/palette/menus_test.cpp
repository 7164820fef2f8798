// The "Pello Palette" menu item, which shows and hides the palette and
// carries a check mark exactly while it is visible, and the palette's
// option menu, each entry of which runs its one operation.
#include "paletteFixture.h"

using namespace pello::harness;
using namespace pello::host;
using namespace pello::test;

namespace {

class MenusTest : public PaletteTest {
protected:
  void SetUp() override {
    PaletteTest::SetUp();
    if (HasFatalFailure()) return;
    startPalette();
    if (HasFatalFailure()) return;
    item = menuItem();
    ASSERT_NE(item, nullptr);
  }

  bool visible() { return dialogs().info(palette)->visible; }
  // Chooses option-menu entry `index`; the operations it ran, counted by
  // their requests for the selection.
  std::size_t choose(int index) {
    dialogs().clearAlerts();
    const std::size_t from = mark();
    EXPECT_TRUE(dialogs().chooseMenuEntry(palette, index));
    return callsSince("AIMatchingArt::GetSelectedArt", from);
  }

  MenuItem *item = nullptr;
};

constexpr const char *kIdentityShown = "Matrix: TX=0; TY=0; A=1; B=0; C=0; D=1; H scale=100%; V scale=100%; "
                                       "Skew=0 degrees; Rotation=0 degrees";

// A placed object with a matrix of its own and a pattern-filled path.
constexpr const char *kMatrixDocument = R"({
  "patterns": [{"name": "Stripes", "tile": [0, 0, 10, 10]}],
  "art": [
    {"id": "placed", "type": "placed", "matrix": [2, 0, 0, 0.5, 30, 40], "size": [100, 50], "file": "logo.eps"},
    {"id": "patterned", "type": "path", "rectangle": [0, 0, 100, 50],
     "style": {"fillPaint": true,
               "fill": {"color": {"kind": "pattern", "pattern": "Stripes", "transform": [1, 0, 0, 1, 3, 4]}}}}],
  "selection": ["placed", "patterned"]
})";

::testing::AssertionResult matrixIs(const ASRealMatrix &m, const ASRealMatrix &expected) {
  if (identical(m, expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << m.a << ", " << m.b << ", " << m.c << ", " << m.d << ", " << m.tx << ", " << m.ty << ")";
}

} // namespace

TEST_F(MenusTest, TheItemShowsAndHidesThePaletteAndIsCheckedExactlyWhileItIsVisible) {
  ASSERT_TRUE(visible());
  EXPECT_EQ(plugin().menuUpdate(item->handle()), kASNoError);
  EXPECT_TRUE(item->checked);

  const bool expected[] = {false, true, false, true};
  for (const bool shown : expected) {
    EXPECT_EQ(plugin().menuGo(item->handle()), kASNoError);
    EXPECT_EQ(visible(), shown);
    EXPECT_EQ(plugin().menuUpdate(item->handle()), kASNoError);
    EXPECT_EQ(item->checked, shown);
  }

  // The host's own controls hide it; the next update takes the mark away,
  // and the item shows the palette again.
  ASSERT_TRUE(dialogs().setVisible(palette, false));
  EXPECT_EQ(plugin().menuUpdate(item->handle()), kASNoError);
  EXPECT_FALSE(item->checked);
  EXPECT_EQ(plugin().menuGo(item->handle()), kASNoError);
  EXPECT_TRUE(visible());
}

TEST_F(MenusTest, AGoForAnotherItemDoesNothingAndAnUpdateMarksWhateverItemItNames) {
  MenuItem *other = host().get<Menus>().add(nullptr, "Another Item", "Tool Palettes", "Another", 1);
  ASSERT_NE(other, nullptr);
  const std::size_t from = mark();
  EXPECT_EQ(plugin().menuGo(other->handle()), kASNoError);
  EXPECT_EQ(callsSince("ADMDialog::Show", from), 0u);
  EXPECT_TRUE(visible());

  // An update marks the item it is given by the palette's visibility.
  EXPECT_EQ(plugin().menuUpdate(other->handle()), kASNoError);
  EXPECT_TRUE(other->checked);
  ASSERT_TRUE(dialogs().setVisible(palette, false));
  EXPECT_EQ(plugin().menuUpdate(other->handle()), kASNoError);
  EXPECT_FALSE(other->checked);
  EXPECT_FALSE(visible());
}

TEST_F(MenusTest, TheOptionMenuHoldsItsThreeEntries) {
  const std::optional<ItemInfo> button = dialogs().item(palette, kOptionMenuButton);
  ASSERT_TRUE(button.has_value());
  std::vector<std::string> texts;
  for (const EntryInfo &entry : button->entries)
    texts.push_back(entry.text);
  std::vector<std::string> published;
  for (const OptionMenuEntry &entry : kOptionMenuEntries)
    published.push_back(entry.text);
  EXPECT_EQ(texts, published);
}

TEST_F(MenusTest, EachEntryRunsItsOneOperation) {
  document().loadJson(kMatrixDocument);
  const std::string original = document().saveJson();

  // Copy: the first suitable object's matrix is held; nothing is written
  // or shown.
  EXPECT_EQ(choose(kCopyEntry), 1u);
  EXPECT_TRUE(matrixIs(globals()->scrapMatrix, {2, 0, 0, 0.5f, 30, 40}));
  EXPECT_EQ(document().saveJson(), original);
  EXPECT_TRUE(dialogs().alerts().empty());

  // Show: the held matrix in one alert, without looking at the selection.
  EXPECT_EQ(choose(kShowEntry), 0u);
  EXPECT_EQ(dialogs().alerts(), (std::vector<std::string>{"Matrix: TX=30; TY=40; A=2; B=0; C=0; D=0.5; "
                                                          "H scale=200%; V scale=50%; Skew=0 degrees; "
                                                          "Rotation=0 degrees"}));
  EXPECT_EQ(document().saveJson(), original);

  // Paste: the held matrix onto every suitable object.
  EXPECT_EQ(choose(kPasteEntry), 1u);
  EXPECT_TRUE(matrixIs(document().matrix("placed"), {2, 0, 0, 0.5f, 30, 40}));
  EXPECT_TRUE(matrixIs(document().style("patterned").fill.color.c.p.transform, {2, 0, 0, 0.5f, 30, 40}));
  EXPECT_TRUE(matrixIs(globals()->scrapMatrix, {2, 0, 0, 0.5f, 30, 40}));
  EXPECT_TRUE(dialogs().alerts().empty());
}

TEST_F(MenusTest, ShowBeforeAnyCopyShowsTheIdentity) {
  document().loadJson(kMatrixDocument);
  EXPECT_EQ(choose(kShowEntry), 0u);
  EXPECT_EQ(dialogs().alerts(), (std::vector<std::string>{kIdentityShown}));
}

TEST_F(MenusTest, PasteBeforeAnyCopyWritesTheIdentity) {
  document().loadJson(kMatrixDocument);
  EXPECT_EQ(choose(kPasteEntry), 1u);
  EXPECT_TRUE(matrixIs(document().matrix("placed"), kIdentityMatrix));
  EXPECT_TRUE(matrixIs(document().style("patterned").fill.color.c.p.transform, kIdentityMatrix));
  EXPECT_TRUE(dialogs().alerts().empty());
}
