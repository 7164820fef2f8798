// The dialog manager's readers of dialog templates, menu templates and
// bitmaps, on bytes built by hand: well-formed ones read field by field, and
// damaged ones refused with a message, whatever byte they end at.
#include "ResourceBytes.h"
#include "pello/host/ResourceTemplates.h"
#include "pello/host/Utf8.h"

#include <gtest/gtest.h>

using namespace pello::host;
using pello::test::Bytes;

namespace {

// Every strict prefix of `bytes` is refused with a message.
template <class T, class Parse>
void expectEveryPrefixRefused(const std::vector<std::uint8_t> &bytes, Parse parse) {
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    T out;
    std::string error;
    EXPECT_FALSE(parse(cut, out, error)) << "prefix of " << n << " bytes was accepted";
    EXPECT_FALSE(error.empty()) << "prefix of " << n << " bytes";
  }
}

bool parseDialog(std::span<const std::uint8_t> b, DialogTemplate &t, std::string &e) {
  return parseDialogTemplate(b, t, e);
}
bool parseMenu(std::span<const std::uint8_t> b, MenuTemplate &t, std::string &e) {
  return parseMenuTemplate(b, t, e);
}
bool parseBmp(std::span<const std::uint8_t> b, Bitmap &t, std::string &e) {
  return parseBitmap(b, t, e);
}

// ---------------------------------------------------------------- dialogs

TEST(DialogTemplateReader, ReadsAStandardTemplateLaidOutByHand) {
  // style 0x80C800A0, no extended style, 1 item, at (1, 2), 206 x 78,
  // no menu, standard class, title "Pe"; then, 4-aligned, a static
  // (ordinal 0x82) item 12 at (2, 3) 61 x 14 with text "Ab" and no data.
  const std::vector<std::uint8_t> bytes = {
      0xA0, 0x00, 0xC8, 0x80, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0xCE, 0x00, 0x4E,
      0x00, 0x00, 0x00, 0x00, 0x00, 'P', 0x00, 'e', 0x00, 0x00, 0x00, // title ends on a 4-byte
                                                                      // boundary
      0x00, 0x00, 0x02, 0x50, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x03, 0x00, 0x3D, 0x00, 0x0E, 0x00, 0x0C,
      0x00, 0xFF, 0xFF, 0x82, 0x00, 'A', 0x00, 'b', 0x00, 0x00, 0x00, 0x00, 0x00};
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(parseDialogTemplate(bytes, t, error)) << error;
  EXPECT_FALSE(t.extended);
  EXPECT_EQ(t.style, 0x80C800A0u);
  EXPECT_EQ(t.x, 1);
  EXPECT_EQ(t.y, 2);
  EXPECT_EQ(t.cx, 206);
  EXPECT_EQ(t.cy, 78);
  EXPECT_EQ(t.title, "Pe");
  EXPECT_FALSE(t.hasFont);
  ASSERT_EQ(t.items.size(), 1u);
  const DialogItemTemplate &item = t.items[0];
  EXPECT_EQ(item.style, 0x50020000u);
  EXPECT_EQ(item.id, 12u);
  EXPECT_EQ(item.x, 2);
  EXPECT_EQ(item.y, 3);
  EXPECT_EQ(item.cx, 61);
  EXPECT_EQ(item.cy, 14);
  EXPECT_TRUE(item.windowClass.isOrdinal);
  EXPECT_EQ(item.windowClass.ordinal, 0x82);
  EXPECT_EQ(item.title.text, "Ab");
}

Bytes fontDialog() {
  Bytes b = pello::test::dialogHeader(0x90C800C0 | 0x40, 3, 0, 0, 185, 92, "Plug-in Error");
  b.u16(8).sz("MS Sans Serif");
  pello::test::dialogItem(b, 0x50010001, 127, 65, 50, 14, 1, 0x80, "", "OK");
  // A named class, odd-length strings so that the next item needs padding.
  pello::test::dialogItem(b, 0x50000000, 48, 34, 16, 16, 7, 0, "ADM Picture Push Button Type", "");
  // A bitmap static whose title is the bitmap's number, with 3 bytes of
  // creation data.
  b.align4();
  b.u32(0x5000000E).u32(0).u16(5).u16(7).u16(60).u16(24).u16(0xFFFF);
  b.ordinal(0x82).ordinal(16502).u16(3).u8(9).u8(8).u8(7);
  return b;
}

TEST(DialogTemplateReader, ReadsFontNamedClassesOrdinalTitlesAndCreationData) {
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(parseDialogTemplate(fontDialog().data, t, error)) << error;
  EXPECT_TRUE(t.hasFont);
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.typeface, "MS Sans Serif");
  EXPECT_EQ(t.title, "Plug-in Error");
  ASSERT_EQ(t.items.size(), 3u);
  EXPECT_EQ(t.items[0].title.text, "OK");
  EXPECT_EQ(t.items[1].windowClass.text, "ADM Picture Push Button Type");
  EXPECT_FALSE(t.items[1].windowClass.isOrdinal);
  EXPECT_EQ(t.items[1].id, 7u);
  EXPECT_EQ(t.items[2].id, 0xFFFFu);
  EXPECT_TRUE(t.items[2].title.isOrdinal);
  EXPECT_EQ(t.items[2].title.ordinal, 16502);
  EXPECT_EQ(t.items[2].extra, (std::vector<std::uint8_t>{9, 8, 7}));
}

TEST(DialogTemplateReader, ReadsAnExtendedTemplate) {
  Bytes b;
  b.u16(1).u16(0xFFFF).u32(0).u32(0).u32(0x80C80040).u16(1).u16(0).u16(0).u16(100).u16(50);
  b.u16(0).u16(0).sz("Ex").u16(9).u16(400).u8(0).u8(1).sz("Tahoma");
  b.align4();
  b.u32(0).u32(0).u32(0x50010000).u16(1).u16(2).u16(30).u16(10).u32(70000).ordinal(0x80).sz("Go").u16(0);
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(parseDialogTemplate(b.data, t, error)) << error;
  EXPECT_TRUE(t.extended);
  EXPECT_EQ(t.style, 0x80C80040u);
  EXPECT_EQ(t.typeface, "Tahoma");
  ASSERT_EQ(t.items.size(), 1u);
  EXPECT_EQ(t.items[0].id, 70000u);
  EXPECT_EQ(t.items[0].title.text, "Go");
}

TEST(DialogTemplateReader, TurnsUtf16TextsIntoUtf8) {
  Bytes b;
  b.u32(0).u32(0).u16(0).u16(0).u16(0).u16(10).u16(10).u16(0).u16(0);
  b.u16(u'\u00E9').u16(0xD83D).u16(0xDE00).u16(0xDC00).u16(0); // é, a pair, a lone low surrogate
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(parseDialogTemplate(b.data, t, error)) << error;
  EXPECT_EQ(t.title, "\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

TEST(Utf8, EachByteThatStartsNoValidSequenceBecomesOneReplacementCharacter) {
  const std::string r = "\xEF\xBF\xBD";
  struct Row {
    std::string in, out;
  };
  const Row rows[] = {
      {"plain \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "plain \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"\xFF\xFE\x80", r + r + r},         // no lead byte
      {"\xC0\xAF", r + r},                 // overlong '/'
      {"\xED\xA0\x80", r + r + r},         // a surrogate
      {"\xF4\x90\x80\x80", r + r + r + r}, // beyond U+10FFFF
      {"\xE2\x82", r + r},                 // cut short at the end
      {"\xE2\x82x", r + r + "x"},          // cut short by another character
      {"\xEF\xBF\xBD", r},                 // U+FFFD itself stays one
  };
  for (const Row &row : rows)
    EXPECT_EQ(validUtf8(row.in), row.out) << testing::PrintToString(row.in);
}

TEST(DialogTemplateReader, RefusesEveryCutOfAValidTemplate) {
  expectEveryPrefixRefused<DialogTemplate>(fontDialog().data, parseDialog);
}

TEST(DialogTemplateReader, RefusesCountsAndLengthsBeyondTheBytes) {
  DialogTemplate t;
  std::string error;
  // 65535 items announced, none present.
  Bytes many = pello::test::dialogHeader(0, 0xFFFF, 0, 0, 10, 10, "x");
  EXPECT_FALSE(parseDialogTemplate(many.data, t, error));
  EXPECT_NE(error.find("item"), std::string::npos) << error;

  // Creation data longer than what is left.
  Bytes extra = pello::test::dialogHeader(0, 1, 0, 0, 10, 10, "x");
  extra.align4();
  extra.u32(0).u32(0).u16(0).u16(0).u16(1).u16(1).u16(1).ordinal(0x80).sz("a").u16(400).u8(1);
  error.clear();
  EXPECT_FALSE(parseDialogTemplate(extra.data, t, error));
  EXPECT_NE(error.find("creation data"), std::string::npos) << error;

  // A title that never ends.
  Bytes open;
  open.u32(0).u32(0).u16(0).u16(0).u16(0).u16(1).u16(1).u16(0).u16(0).u16('a').u16('b');
  EXPECT_FALSE(parseDialogTemplate(open.data, t, error));
}

// ----------------------------------------------------------------- menus

// A popup "Do" (flags 0x90) holding commands 1 "A", 2 "B" and 3 "C" (0x80).
const std::vector<std::uint8_t> kMenuBytes = {
    0x00, 0x00, 0x00, 0x00,                         // version 0, header size 0
    0x90, 0x00, 'D',  0x00, 'o', 0x00, 0x00, 0x00,  // popup, last
    0x00, 0x00, 0x01, 0x00, 'A', 0x00, 0x00, 0x00,  // command 1
    0x00, 0x00, 0x02, 0x00, 'B', 0x00, 0x00, 0x00,  // command 2
    0x80, 0x00, 0x03, 0x00, 'C', 0x00, 0x00, 0x00}; // command 3, last

TEST(MenuTemplateReader, ReadsAPopupWithItsCommands) {
  MenuTemplate menu;
  std::string error;
  ASSERT_TRUE(parseMenuTemplate(kMenuBytes, menu, error)) << error;
  ASSERT_EQ(menu.items.size(), 1u);
  EXPECT_EQ(menu.items[0].flags, 0x90);
  EXPECT_EQ(menu.items[0].text, "Do");
  ASSERT_EQ(menu.items[0].children.size(), 3u);
  EXPECT_EQ(menu.items[0].children[2].flags, 0x80);
  const std::vector<MenuItemTemplate> commands = menuCommands(menu);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].id, 1);
  EXPECT_EQ(commands[0].text, "A");
  EXPECT_EQ(commands[1].id, 2);
  EXPECT_EQ(commands[2].id, 3);
  EXPECT_EQ(commands[2].text, "C");
}

TEST(MenuTemplateReader, FlattensNestedPopupsInOrderAndLeavesOutSeparators) {
  Bytes b;
  b.u16(0).u16(2).u16(0xABCD); // a header with 2 more bytes to skip
  b.u16(0).u16(10).sz("top");
  b.u16(0x10).sz("sub");
  b.u16(0).u16(11).sz("in sub");
  b.u16(0).u16(0).sz(""); // separator as resource compilers write it
  b.u16(0x80).u16(12).sz("last in sub");
  b.u16(0x80).u16(13).sz("after");
  MenuTemplate menu;
  std::string error;
  ASSERT_TRUE(parseMenuTemplate(b.data, menu, error)) << error;
  std::vector<int> ids;
  for (const MenuItemTemplate &c : menuCommands(menu))
    ids.push_back(c.id);
  EXPECT_EQ(ids, (std::vector<int>{10, 11, 12, 13}));
}

TEST(MenuTemplateReader, RefusesDamagedMenus) {
  expectEveryPrefixRefused<MenuTemplate>(kMenuBytes, parseMenu);

  MenuTemplate menu;
  std::string error;
  std::vector<std::uint8_t> noEnd = kMenuBytes;
  noEnd[28] = 0x00; // the last command loses its end flag: the popup never closes
  EXPECT_FALSE(parseMenuTemplate(noEnd, menu, error));

  std::vector<std::uint8_t> extended = kMenuBytes;
  extended[0] = 1;
  EXPECT_FALSE(parseMenuTemplate(extended, menu, error));
  EXPECT_NE(error.find("version 1"), std::string::npos) << error;

  std::vector<std::uint8_t> bigHeader = kMenuBytes;
  bigHeader[2] = 0xFF;
  EXPECT_FALSE(parseMenuTemplate(bigHeader, menu, error));

  // Popups nested deeper than the reader goes.
  Bytes deep;
  deep.u16(0).u16(0);
  for (int i = 0; i <= kMaxMenuDepth + 2; ++i)
    deep.u16(0x90).sz("p");
  deep.u16(0x80).u16(1).sz("x");
  error.clear();
  EXPECT_FALSE(parseMenuTemplate(deep.data, menu, error));
  EXPECT_NE(error.find("nested"), std::string::npos) << error;
}

// --------------------------------------------------------------- bitmaps

Bytes infoHeader(std::int32_t w, std::int32_t h, std::uint16_t bpp, std::uint32_t colors = 0) {
  Bytes b;
  b.u32(40)
      .u32(static_cast<std::uint32_t>(w))
      .u32(static_cast<std::uint32_t>(h))
      .u16(1)
      .u16(bpp)
      .u32(0)
      .u32(0);
  b.u32(2834).u32(2834).u32(colors).u32(0);
  return b;
}

// 15 x 15, 1 bit per pixel, white/black, one black pixel at the top left and
// one at the bottom right, two zero bytes after the rows: 110 bytes.
Bytes iconBitmap() {
  Bytes b = infoHeader(15, 15, 1);
  b.u32(0x00FFFFFF).u32(0x00000000);
  for (int row = 0; row < 15; ++row) { // bottom-up
    std::uint8_t first = 0, second = 0;
    if (row == 14) first = 0x80; // top row, column 0
    if (row == 0) second = 0x02; // bottom row, column 14
    b.u8(first).u8(second).u8(0).u8(0);
  }
  b.u16(0);
  return b;
}

TEST(BitmapReader, ReadsAOneBitIconWithTrailingBytes) {
  Bitmap bmp;
  std::string error;
  const Bytes bytes = iconBitmap();
  ASSERT_EQ(bytes.data.size(), 110u);
  ASSERT_TRUE(parseBitmap(bytes.data, bmp, error)) << error;
  EXPECT_EQ(bmp.width, 15);
  EXPECT_EQ(bmp.height, 15);
  EXPECT_FALSE(bmp.topDown);
  EXPECT_EQ(bmp.bitCount, 1);
  EXPECT_EQ(bmp.xPelsPerMeter, 2834);
  EXPECT_EQ(bmp.colorTable, (std::vector<std::uint32_t>{0xFFFFFF, 0x000000}));
  EXPECT_EQ(bmp.rowStride, 4u);
  EXPECT_EQ(bmp.trailingBytes, 2u);
  EXPECT_EQ(bmp.indexAt(0, 0), 1u);
  EXPECT_EQ(bmp.indexAt(14, 14), 1u);
  EXPECT_EQ(bmp.indexAt(1, 0), 0u);
  EXPECT_EQ(bmp.colorAt(0, 0), 0x000000u);
  EXPECT_EQ(bmp.colorAt(7, 7), 0xFFFFFFu);
}

TEST(BitmapReader, ReadsTopDownTrueColour) {
  Bytes b = infoHeader(2, -2, 24);
  b.u8(0x03).u8(0x02).u8(0x01).u8(0x30).u8(0x20).u8(0x10).u16(0); // top row: blue, green, red order
  b.u8(0x06).u8(0x05).u8(0x04).u8(0x60).u8(0x50).u8(0x40).u16(0);
  Bitmap bmp;
  std::string error;
  ASSERT_TRUE(parseBitmap(b.data, bmp, error)) << error;
  EXPECT_TRUE(bmp.topDown);
  EXPECT_EQ(bmp.colorAt(0, 0), 0x010203u);
  EXPECT_EQ(bmp.colorAt(1, 0), 0x102030u);
  EXPECT_EQ(bmp.colorAt(1, 1), 0x405060u);
}

TEST(BitmapReader, RefusesDamagedBitmaps) {
  // The rows end 2 bytes before the resource does: every cut before that
  // loses part of the image.
  std::vector<std::uint8_t> image = iconBitmap().data;
  image.resize(image.size() - 2);
  expectEveryPrefixRefused<Bitmap>(image, parseBmp);

  struct Case {
    const char *what;
    Bytes bytes;
  };
  auto withRows = [](Bytes b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      b.u8(0);
    return b;
  };
  Bytes small;
  small.u32(12).u16(1).u16(1).u16(1).u16(1); // an OS/2 core header
  Bytes planes = infoHeader(1, 1, 24);
  planes.data[12] = 2;
  Bytes rle = infoHeader(1, 1, 8);
  rle.data[16] = 1;
  const Case cases[] = {
      {"core header", small},
      {"two planes", withRows(planes, 4)},
      {"3 bits per pixel", withRows(infoHeader(1, 1, 3), 64)},
      {"run-length compression", withRows(rle, 1100)},
      {"zero width", withRows(infoHeader(0, 1, 24), 8)},
      {"zero height", withRows(infoHeader(1, 0, 24), 8)},
      {"huge width", withRows(infoHeader(1 << 20, 1, 24), 8)},
      {"colour table larger than the bit depth allows", withRows(infoHeader(1, 1, 1, 3), 64)},
      {"colour table past the end", infoHeader(1, 1, 8)},
  };
  for (const Case &c : cases) {
    Bitmap bmp;
    std::string error;
    EXPECT_FALSE(parseBitmap(c.bytes.data, bmp, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

} // namespace
