// Dialog templates, standard and extended: the dialog's header, then its
// items, each starting on a 4-byte boundary.
#include "ByteReader.h"
#include "pello/host/ResourceTemplates.h"
#include "pello/host/Utf8.h"

namespace pello::host {

namespace {

bool readNameOrOrdinal(ByteReader &in, NameOrOrdinal &out) {
  std::uint16_t first = 0;
  if (!in.u16(first)) return false;
  out = NameOrOrdinal{};
  if (first == 0xFFFF) {
    out.isOrdinal = true;
    return in.u16(out.ordinal);
  }
  if (first == 0) return true;
  std::u16string rest;
  if (!in.utf16z(rest)) return false;
  out.text = utf16ToUtf8(std::u16string(1, static_cast<char16_t>(first)) + rest);
  return true;
}

bool readString(ByteReader &in, std::string &out) {
  std::u16string text;
  if (!in.utf16z(text)) return false;
  out = utf16ToUtf8(text);
  return true;
}

bool fail(std::string &error, const std::string &what) {
  error = "malformed dialog template: " + what;
  return false;
}

bool readItem(ByteReader &in, bool extended, DialogItemTemplate &item, std::string &error,
              std::size_t index) {
  const std::string where = "item " + std::to_string(index + 1) + " ";
  in.align(4);
  if (extended) {
    if (!in.u32(item.helpId) || !in.u32(item.exStyle) || !in.u32(item.style))
      return fail(error, where + "header is cut short");
  } else {
    if (!in.u32(item.style) || !in.u32(item.exStyle)) return fail(error, where + "header is cut short");
  }
  if (!in.i16(item.x) || !in.i16(item.y) || !in.i16(item.cx) || !in.i16(item.cy))
    return fail(error, where + "rectangle is cut short");
  if (extended) {
    if (!in.u32(item.id)) return fail(error, where + "id is cut short");
  } else {
    std::uint16_t id = 0;
    if (!in.u16(id)) return fail(error, where + "id is cut short");
    item.id = id;
  }
  if (!readNameOrOrdinal(in, item.windowClass)) return fail(error, where + "class is cut short");
  if (!readNameOrOrdinal(in, item.title)) return fail(error, where + "title is cut short");
  std::uint16_t extraCount = 0;
  if (!in.u16(extraCount)) return fail(error, where + "creation data count is missing");
  if (extraCount > in.remaining()) return fail(error, where + "creation data runs past the end");
  const std::size_t start = in.offset();
  item.extra.assign(in.bytes().begin() + static_cast<std::ptrdiff_t>(start),
                    in.bytes().begin() + static_cast<std::ptrdiff_t>(start + extraCount));
  in.skip(extraCount);
  return true;
}

} // namespace

bool parseDialogTemplate(std::span<const std::uint8_t> bytes, DialogTemplate &out, std::string &error) {
  ByteReader in(bytes);
  DialogTemplate result;
  std::uint16_t itemCount = 0;

  std::uint16_t version = 0, signature = 0;
  if (bytes.size() >= 4) {
    ByteReader peek(bytes);
    peek.u16(version);
    peek.u16(signature);
  }
  result.extended = version == 1 && signature == 0xFFFF;
  if (result.extended) {
    std::uint32_t helpId = 0;
    if (!in.skip(4) || !in.u32(helpId) || !in.u32(result.exStyle) || !in.u32(result.style))
      return fail(error, "header is cut short");
  } else {
    if (!in.u32(result.style) || !in.u32(result.exStyle)) return fail(error, "header is cut short");
  }
  if (!in.u16(itemCount) || !in.i16(result.x) || !in.i16(result.y) || !in.i16(result.cx) ||
      !in.i16(result.cy))
    return fail(error, "header is cut short");
  if (!readNameOrOrdinal(in, result.menu)) return fail(error, "menu name is cut short");
  if (!readNameOrOrdinal(in, result.windowClass)) return fail(error, "class name is cut short");
  if (!readString(in, result.title)) return fail(error, "title is cut short");

  result.hasFont = (result.style & kDsSetFont) != 0;
  if (result.hasFont) {
    if (!in.u16(result.pointSize)) return fail(error, "font size is cut short");
    if (result.extended) {
      std::uint16_t weight = 0;
      std::uint8_t italic = 0, charset = 0;
      if (!in.u16(weight) || !in.u8(italic) || !in.u8(charset)) return fail(error, "font is cut short");
    }
    if (!readString(in, result.typeface)) return fail(error, "typeface is cut short");
  }

  // Each item takes at least 18 bytes (24 extended): a count the bytes
  // cannot hold is refused before anything is reserved.
  const std::size_t minItem = result.extended ? 24 : 18;
  if (static_cast<std::size_t>(itemCount) * minItem > bytes.size())
    return fail(error, "item count " + std::to_string(itemCount) + " exceeds the resource");
  result.items.resize(itemCount);
  for (std::size_t i = 0; i < itemCount; ++i)
    if (!readItem(in, result.extended, result.items[i], error, i)) return false;

  out = std::move(result);
  return true;
}

std::string utf16ToUtf8(const std::u16string &text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    appendUtf8(out, cp);
  }
  return out;
}

} // namespace pello::host
