#include "pello/harness/PluginSurface.h"

#include "pello/host/Utf8.h"

#include <cstdint>
#include <regex>

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

bool isAlertThePluginShows(const std::string &text, bool numberRefused) {
  static const std::regex acquisition("Error: -?[0-9]+, suite: [A-Za-z ]+, version: -?[0-9]+!");
  static const std::regex display(
      "Matrix: TX=.{1,15}; TY=.{1,15}; A=.{1,15}; B=.{1,15}; C=.{1,15}; D=.{1,15}; "
      "H scale=.{1,15}%; V scale=.{1,15}%; Skew=.{1,15} degrees; Rotation=.{1,15} degrees");
  static const std::regex displayRefused(
      "Matrix: TX=.{0,15}; TY=.{0,15}; A=.{0,15}; B=.{0,15}; C=.{0,15}; D=.{0,15}; "
      "H scale=.{0,15}%; V scale=.{0,15}%; Skew=.{0,15} degrees; Rotation=.{0,15} degrees");
  return text == kCancelAlert || text == kWriteAlert || text == kMysteryAlert || text == kTextMatrixAlert ||
         text == kPatternMatrixAlert || std::regex_match(text, acquisition) ||
         std::regex_match(text, display) || (numberRefused && std::regex_match(text, displayRefused));
}

bool isFailureAlert(const std::string &text) {
  return text != kMysteryAlert && text.rfind("Matrix: ", 0) != 0;
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
  if (style == CodeStyle::dialog) return host::validUtf8(text);
  return "'" + text + "'";
}

} // namespace pello::harness
