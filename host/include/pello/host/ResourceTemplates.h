// Readers of the resource formats the dialog manager builds from: dialog
// templates (standard and extended), menu templates and device-independent
// bitmaps. Each checks every length against the bytes it is given and
// refuses malformed input with a message; none reads past the end.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pello::host {

// A class or title of a template: a number (0xFFFF then a 16-bit ordinal) or
// a string (UTF-16 in the resource, UTF-8 here).
struct NameOrOrdinal {
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::string text;
};

struct DialogItemTemplate {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t helpId = 0; // extended templates only
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t id = 0; // 16 bits in standard templates
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
  std::vector<std::uint8_t> extra; // creation data
};

struct DialogTemplate {
  bool extended = false;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;        // empty text: no menu
  NameOrOrdinal windowClass; // empty text: the standard dialog class
  std::string title;
  bool hasFont = false;
  std::uint16_t pointSize = 0;
  std::string typeface;
  std::vector<DialogItemTemplate> items;
};

inline constexpr std::uint32_t kDsSetFont = 0x40;
inline constexpr std::uint32_t kDsShellFont = 0x48;

// Standard (DLGTEMPLATE) or extended (DLGTEMPLATEEX) dialog template.
bool parseDialogTemplate(std::span<const std::uint8_t> bytes, DialogTemplate &out, std::string &error);

struct MenuItemTemplate {
  std::uint16_t flags = 0;
  std::uint16_t id = 0; // command items only
  std::string text;
  std::vector<MenuItemTemplate> children; // popups only
  bool isPopup() const { return (flags & 0x10) != 0; }
};

struct MenuTemplate {
  std::uint16_t version = 0;
  std::vector<MenuItemTemplate> items;
};

inline constexpr std::uint16_t kMfPopup = 0x10;
inline constexpr std::uint16_t kMfEnd = 0x80;
inline constexpr std::uint16_t kMfSeparator = 0x800;
// Deepest popup nesting accepted.
inline constexpr int kMaxMenuDepth = 16;

// Standard menu template (version 0).
bool parseMenuTemplate(std::span<const std::uint8_t> bytes, MenuTemplate &out, std::string &error);
// The command items of a menu in resource order, popups flattened,
// separators left out.
std::vector<MenuItemTemplate> menuCommands(const MenuTemplate &menu);

// A bitmap resource: BITMAPINFOHEADER (or a larger header), colour table,
// rows. Uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel.
struct Bitmap {
  std::int32_t width = 0;
  std::int32_t height = 0; // always positive; topDown says the row order
  bool topDown = false;
  std::uint16_t bitCount = 0;
  std::uint32_t headerSize = 0;
  std::uint32_t compression = 0;
  std::int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
  std::uint32_t colorsUsed = 0;
  std::uint32_t imageSize = 0;
  std::vector<std::uint32_t> colorTable; // 0xRRGGBB
  std::vector<std::uint8_t> pixels;      // the rows as stored
  std::size_t rowStride = 0;
  std::size_t trailingBytes = 0; // bytes after the last row

  // The colour-table index of pixel (x, y), counted from the top left
  // (palette bitmaps only).
  std::uint32_t indexAt(int x, int y) const;
  // The colour of pixel (x, y) as 0xRRGGBB, counted from the top left.
  std::uint32_t colorAt(int x, int y) const;
};

bool parseBitmap(std::span<const std::uint8_t> bytes, Bitmap &out, std::string &error);

// UTF-16LE code units to UTF-8 (unpaired surrogates become U+FFFD).
std::string utf16ToUtf8(const std::u16string &text);

} // namespace pello::host
