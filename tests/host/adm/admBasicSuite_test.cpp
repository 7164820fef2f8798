// The basic suite: the strings of a list, alerts and beeps, the layout area,
// and icons from bitmap resources.
#include "dialogManagerFixture.h"

#include <cstring>
#include <optional>

using namespace pello::host;
using namespace pello::test;

namespace {

TEST_F(DialogManagerTest, GetIndexStringReadsTheRunOfStringsAfterTheListId) {
  module.addStrings({{51, "-108"}, {52, "Out of memory"}, {53, "Parm"}, {55, "not in the run"}});
  char buffer[32] = {};
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 2, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "Out of memory");
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 3, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "Parm");
  // Past the end of the run: the empty string.
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 4, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "");
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 5, buffer, sizeof buffer), kASNoError);
  EXPECT_STREQ(buffer, "") << "string 55 lies beyond the gap at 54";
  // Cut to the buffer.
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 2, buffer, 4), kASNoError);
  EXPECT_STREQ(buffer, "Out");
  ASSERT_EQ(basic->GetIndexString(plugin, 50, 2, buffer, 1), kASNoError);
  EXPECT_STREQ(buffer, "");

  // Index 0, a missing list, an unknown plug-in: refused, buffer untouched.
  std::strcpy(buffer, "untouched");
  EXPECT_EQ(basic->GetIndexString(plugin, 50, 0, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_EQ(basic->GetIndexString(plugin, 60, 1, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_EQ(basic->GetIndexString(nullptr, 50, 1, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_EQ(basic->GetIndexString(plugin, 0x7FFFFFFF, 1, buffer, sizeof buffer), kSPBadParameterError);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(basic->GetIndexString(plugin, 50, 1, nullptr, 10), kSPBadParameterError);
}

TEST_F(DialogManagerTest, AlertsBeepsAndTheLayoutArea) {
  basic->MessageAlert("ERROR!");
  basic->MessageAlert(nullptr);
  basic->Beep();
  EXPECT_EQ(dm.alerts(), (std::vector<std::string>{"ERROR!", ""}));
  EXPECT_EQ(dm.beeps(), 1);
  ASRect area{};
  ASSERT_EQ(basic->GetPaletteLayoutBounds(&area), kASNoError);
  EXPECT_EQ(area.right, 1600);
  EXPECT_EQ(area.bottom, 1000);
  dm.setPaletteLayoutBounds(ASRect{0, 0, 800, 600});
  basic->GetPaletteLayoutBounds(&area);
  EXPECT_EQ(area.right, 800);
  EXPECT_EQ(basic->GetPaletteLayoutBounds(nullptr), kSPBadParameterError);
}

// Whatever bytes a module hands over, the drivers are told valid UTF-8: a
// byte that starts no sequence is U+FFFD, valid text is left as it is; what
// the module reads back is what it set.
TEST_F(DialogManagerTest, TextsThatAreNotUtf8AreShownWithReplacementCharacters) {
  basic->MessageAlert("Fehler \xFF\xC3\xA9");
  EXPECT_EQ(dm.alerts(), (std::vector<std::string>{"Fehler \xEF\xBF\xBD\xC3\xA9"}));

  ADMDialogRef dlg = createPalette(paletteInit);
  ASSERT_NE(dlg, nullptr);
  ADMItemRef label = dialog->GetItem(dlg, 12);
  item->SetText(label, "\xFF\x41\x42\x43");
  EXPECT_EQ(text(label), "\xFF\x41\x42\x43");
  const std::optional<ItemInfo> shown = dm.item(dlg, 12);
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->text, "\xEF\xBF\xBD"
                         "ABC");
}

TEST_F(DialogManagerTest, IconsFromBitmapResources) {
  Bytes bmp;
  bmp.u32(40).u32(15).u32(15).u16(1).u16(1).u32(0).u32(0).u32(2834).u32(2834).u32(0).u32(0);
  bmp.u32(0xFFFFFF).u32(0);
  for (int i = 0; i < 15 * 4 + 2; ++i)
    bmp.u8(0);
  module.add(kRtBitmap, 1, bmp.data);
  module.add(kRtBitmap, 2, {1, 2, 3});
  ADMIconRef arrow = icon->GetFromResource(plugin, 1);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(icon->GetWidth(arrow), 15);
  EXPECT_EQ(icon->GetHeight(arrow), 15);
  EXPECT_EQ(icon->GetFromResource(plugin, 2), nullptr) << "damaged";
  EXPECT_EQ(icon->GetFromResource(plugin, 3), nullptr) << "missing";
  icon->Destroy(arrow);
  EXPECT_EQ(icon->GetWidth(arrow), 0);
}

} // namespace
