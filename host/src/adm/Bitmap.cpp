// Device-independent bitmaps as a bitmap resource holds them: the
// information header (no file header), the colour table, then the rows,
// bottom-up unless the height is negative, each padded to 4 bytes.
#include "ByteReader.h"
#include "pello/host/ResourceTemplates.h"

#include <cstdlib>

namespace pello::host {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kInfoHeaderSize = 40;
// Larger than any bitmap a plug-in's resources would carry.
constexpr std::int64_t kMaxSide = 1 << 15;

bool fail(std::string &error, const std::string &what) {
  error = "malformed bitmap: " + what;
  return false;
}

} // namespace

bool parseBitmap(std::span<const std::uint8_t> bytes, Bitmap &out, std::string &error) {
  ByteReader in(bytes);
  Bitmap bmp;
  std::int32_t height = 0;
  std::uint16_t planes = 0;
  std::uint32_t colorsImportant = 0;
  if (!in.u32(bmp.headerSize) || bmp.headerSize < kInfoHeaderSize)
    return fail(error, "no BITMAPINFOHEADER (header size " + std::to_string(bmp.headerSize) + ")");
  if (!in.i32(bmp.width) || !in.i32(height) || !in.u16(planes) || !in.u16(bmp.bitCount) ||
      !in.u32(bmp.compression) || !in.u32(bmp.imageSize) || !in.i32(bmp.xPelsPerMeter) ||
      !in.i32(bmp.yPelsPerMeter) || !in.u32(bmp.colorsUsed) || !in.u32(colorsImportant))
    return fail(error, "header is cut short");
  if (!in.skip(bmp.headerSize - kInfoHeaderSize)) return fail(error, "header size runs past the end");
  if (planes != 1) return fail(error, "planes must be 1, not " + std::to_string(planes));
  const std::uint16_t bpp = bmp.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    return fail(error, "unsupported bit count " + std::to_string(bpp));
  const bool bitfields = bmp.compression == kBiBitfields && (bpp == 16 || bpp == 32);
  if (bmp.compression != kBiRgb && !bitfields)
    return fail(error, "compression " + std::to_string(bmp.compression) + " is not supported");
  if (bmp.width <= 0 || bmp.width > kMaxSide) return fail(error, "width " + std::to_string(bmp.width));
  if (height == 0 || height < -kMaxSide || height > kMaxSide)
    return fail(error, "height " + std::to_string(height));
  bmp.topDown = height < 0;
  bmp.height = std::abs(height);

  // Colour masks follow a 40-byte header for bitfields; they are read past.
  if (bitfields && bmp.headerSize == kInfoHeaderSize && !in.skip(12))
    return fail(error, "colour masks are cut short");

  std::uint32_t tableSize = 0;
  if (bpp <= 8) {
    const std::uint32_t maxColors = 1u << bpp;
    tableSize = bmp.colorsUsed == 0 ? maxColors : bmp.colorsUsed;
    if (tableSize > maxColors)
      return fail(error, "colour table of " + std::to_string(tableSize) + " entries");
  } else {
    tableSize = bmp.colorsUsed; // optional, unused for direct colour
    if (tableSize > 256) return fail(error, "colour table of " + std::to_string(tableSize) + " entries");
  }
  for (std::uint32_t i = 0; i < tableSize; ++i) {
    std::uint32_t quad = 0;
    if (!in.u32(quad)) return fail(error, "colour table is cut short");
    bmp.colorTable.push_back(quad & 0xFFFFFF); // blue, green, red, reserved
  }

  bmp.rowStride = static_cast<std::size_t>(((static_cast<std::int64_t>(bmp.width) * bpp + 31) / 32) * 4);
  const std::size_t pixelBytes = bmp.rowStride * static_cast<std::size_t>(bmp.height);
  if (pixelBytes > in.remaining())
    return fail(error, "rows need " + std::to_string(pixelBytes) + " bytes, " +
                           std::to_string(in.remaining()) + " remain");
  const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(in.offset());
  bmp.pixels.assign(start, start + static_cast<std::ptrdiff_t>(pixelBytes));
  bmp.trailingBytes = in.remaining() - pixelBytes;
  out = std::move(bmp);
  return true;
}

std::uint32_t Bitmap::indexAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height || bitCount > 8) return 0;
  const std::size_t row = topDown ? static_cast<std::size_t>(y) : static_cast<std::size_t>(height - 1 - y);
  const std::uint8_t *line = pixels.data() + row * rowStride;
  const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
  const std::uint8_t byte = line[bit / 8];
  const unsigned shift = 8 - bitCount - static_cast<unsigned>(bit % 8);
  return (byte >> shift) & ((1u << bitCount) - 1);
}

std::uint32_t Bitmap::colorAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  if (bitCount <= 8) {
    const std::uint32_t index = indexAt(x, y);
    return index < colorTable.size() ? colorTable[index] : 0;
  }
  const std::size_t row = topDown ? static_cast<std::size_t>(y) : static_cast<std::size_t>(height - 1 - y);
  const std::uint8_t *p = pixels.data() + row * rowStride + static_cast<std::size_t>(x) * (bitCount / 8);
  if (bitCount == 16) {
    // 5-5-5: the default layout of 16-bit rows.
    const std::uint32_t v = static_cast<std::uint32_t>(p[0] | (p[1] << 8));
    const std::uint32_t r = ((v >> 10) & 31) * 255 / 31, g = ((v >> 5) & 31) * 255 / 31,
                        b = (v & 31) * 255 / 31;
    return (r << 16) | (g << 8) | b;
  }
  return (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
}

} // namespace pello::host
