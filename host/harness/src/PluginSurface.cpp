#include "pello/harness/PluginSurface.h"

#include <cstdint>

namespace pello::harness {

const PaletteButton *paletteButton(int id) {
  for (const PaletteButton &button : kPaletteButtons)
    if (button.id == id) return &button;
  return nullptr;
}

const PaletteButton *paletteButtonNamed(std::string_view name) {
  for (const PaletteButton &button : kPaletteButtons)
    if (name == button.name) return &button;
  return nullptr;
}

const OptionMenuEntry *optionMenuEntryNamed(std::string_view name) {
  for (const OptionMenuEntry &entry : kOptionMenuEntries)
    if (name == entry.name) return &entry;
  return nullptr;
}

int firstRowOf(std::string_view name) {
  for (int row = 0; row < kSuiteRows; ++row)
    if (name == kSuiteTable[row].name) return row;
  return -1;
}

std::string acquisitionAlert(ASErr code, int row) {
  return "Error: " + std::to_string(code) + ", suite: " + kSuiteTable[row].name +
         ", version: " + std::to_string(kSuiteTable[row].version) + "!";
}

std::string errorCodeText(ASErr code, CodeStyle style) {
  const auto bits = static_cast<std::uint32_t>(code);
  const std::uint32_t hi = bits >> 16;
  if (hi == 0 || hi == 0xFFFF) return std::to_string(code);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((bits >> shift) & 0xFF);
    if (style == CodeStyle::dialog)
      text += c;
    else
      text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return style == CodeStyle::quoted ? "'" + text + "'" : text;
}

} // namespace pello::harness
