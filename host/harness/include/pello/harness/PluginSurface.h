// The names a driver of PelloPalette.aip needs, written from the plug-in's
// published surface: its resource script (the palette, About and error
// dialogs, the option menu, the bitmaps, the PiPL and the version), the
// alerts it shows, the suites it asks the host for and the keys it reads,
// each stated once here. Nothing is taken from the plug-in's own sources, so
// the drivers (validator, command line, tests, benchmarks, fuzzers) judge the
// module by what it publishes and not by its own definitions.
#pragma once

#include "ADMTypes.h"
#include "ASTypes.h"
#include "pello/host/Keyboard.h"

#include <string>
#include <string_view>

namespace pello::harness {

// ---------------------------------------------------------------------------
// Resources
// ---------------------------------------------------------------------------

inline constexpr int kPiPLId = 16000;
inline constexpr int kVersionResourceId = 1;
inline constexpr int kPaletteDialogId = 16000;
inline constexpr int kAboutDialogId = 16050;
inline constexpr int kErrorDialogId = 16051;
// The error text list: entry k is string-table string kErrorTextListId + k,
// from entry 1 on, in pairs of a code and its message.
inline constexpr int kErrorTextListId = 16050;
inline constexpr int kOptionMenuId = 700;
// Arrow bitmaps: each arrow button shows the bitmap of its own item id.
inline constexpr int kFirstArrowBitmap = 1;
inline constexpr int kLastArrowBitmap = 8;
inline constexpr int kAboutLogoBitmap = 16502;

// How many items each dialog template holds.
inline constexpr int kPaletteDialogItems = 15;
inline constexpr int kAboutDialogItems = 4;
inline constexpr int kErrorDialogItems = 4;

// The error dialog's items.
inline constexpr int kErrorOkItem = 1;
inline constexpr int kErrorMessageItem = 2;
inline constexpr int kErrorCodeItem = 3;
inline constexpr int kErrorFrameItem = 4;

// The name under which the plug-in adds its menu item "Pello Palette".
inline constexpr const char *kMenuItemKey = "Pello Palette Menu Item";

// ---------------------------------------------------------------------------
// The palette's buttons and option menu
// ---------------------------------------------------------------------------

// Items of the palette dialog. The arrows shift the fill patterns of the
// selection, the dash buttons the dash patterns of its stroked paths.
inline constexpr int kRightArrow = 1;
inline constexpr int kUpRightArrow = 2;
inline constexpr int kUpArrow = 3;
inline constexpr int kUpLeftArrow = 4;
inline constexpr int kLeftArrow = 5;
inline constexpr int kDownLeftArrow = 6;
inline constexpr int kDownArrow = 7;
inline constexpr int kDownRightArrow = 8;
inline constexpr int kDashLeftButton = 9;   // left-pointing icon
inline constexpr int kDashRightButton = 10; // right-pointing icon
inline constexpr int kUntransformButton = 11;
// The option-menu button that the dialog manager gives the tabbed palette.
inline constexpr int kOptionMenuButton = kADMMenuItemID;

// What a palette button does to the selection.
enum class ButtonRole {
  shiftPattern, // moves each fill pattern one step in the arrow's direction
  shiftDash,    // moves each dash pattern one step back or forward
  untransform,  // takes the transformation out of patterns, dashes and matrices
};

struct PaletteButton {
  int id;
  const char *name;        // as session scripts name it
  const char *description; // as a transcript names it
  ButtonRole role;
};
inline constexpr int kPaletteButtonCount = 11;
inline constexpr PaletteButton kPaletteButtons[kPaletteButtonCount] = {
    {kRightArrow, "right", "the right arrow", ButtonRole::shiftPattern},
    {kUpRightArrow, "upRight", "the up-and-right arrow", ButtonRole::shiftPattern},
    {kUpArrow, "up", "the up arrow", ButtonRole::shiftPattern},
    {kUpLeftArrow, "upLeft", "the up-and-left arrow", ButtonRole::shiftPattern},
    {kLeftArrow, "left", "the left arrow", ButtonRole::shiftPattern},
    {kDownLeftArrow, "downLeft", "the down-and-left arrow", ButtonRole::shiftPattern},
    {kDownArrow, "down", "the down arrow", ButtonRole::shiftPattern},
    {kDownRightArrow, "downRight", "the down-and-right arrow", ButtonRole::shiftPattern},
    {kDashLeftButton, "dashLeft", "the left-pointing dash button", ButtonRole::shiftDash},
    {kDashRightButton, "dashRight", "the right-pointing dash button", ButtonRole::shiftDash},
    {kUntransformButton, "untransform", "the \"Untransform\" button", ButtonRole::untransform},
};

// The button with `id` or `name`, or null.
const PaletteButton *paletteButton(int id);
const PaletteButton *paletteButtonNamed(std::string_view name);

// The option menu (menu 700): the palette runs its entries by position.
inline constexpr int kCopyEntry = 0;
inline constexpr int kPasteEntry = 1;
inline constexpr int kShowEntry = 2;

struct OptionMenuEntry {
  int index;
  int command;      // the menu item's id in the resource
  const char *name; // as session scripts name it
  const char *text; // the menu text, spelt as the resource spells it
};
inline constexpr const char *kOptionMenuTitle = "Dialog options";
inline constexpr int kOptionMenuEntryCount = 3;
inline constexpr OptionMenuEntry kOptionMenuEntries[kOptionMenuEntryCount] = {
    {kCopyEntry, 1, "copy", "Copy transformation matrix"},
    {kPasteEntry, 2, "paste", "Paste transformation matrixm"},
    {kShowEntry, 3, "show", "Show transformation matrix"},
};

// The entry that session scripts call `name`, or null.
const OptionMenuEntry *optionMenuEntryNamed(std::string_view name);

// The name of the block the plug-in keeps its record in (SPBlocks
// AllocateBlock at startup, FreeBlock at shutdown): live while it runs.
inline constexpr const char *kGlobalsBlockName = "globals";

// The palette's placement, kept as preferences under one prefix: the dock
// group's name (string), the position code in it (integer), the floating
// location (point) and whether it is shown (boolean).
inline constexpr const char *kPreferencePrefix = "Pello";
inline constexpr const char *kDockGroupKey = "kADM_DPDockGroupStr";
inline constexpr const char *kDockCodeKey = "kADM_DPDockCodeStr";
inline constexpr const char *kLocationKey = "kADM_DPLocationStr";
inline constexpr const char *kVisibleKey = "kADM_DPVisibleStr";

// The modifier keys that scale a step, as Windows virtual-key codes. Either
// Windows key counts as "a Windows key".
using host::kVkAlt;
using host::kVkControl;
using host::kVkLeftWindows;
using host::kVkRightWindows;
using host::kVkShift;
inline constexpr int kModifierKeys[] = {kVkShift, kVkControl, kVkAlt, kVkLeftWindows, kVkRightWindows};

// ---------------------------------------------------------------------------
// Alerts
// ---------------------------------------------------------------------------

// A path style that the host refuses to take back.
inline constexpr const char *kWriteAlert = "ERROR!";
// The last alert of every art operation that fails.
inline constexpr const char *kCancelAlert = "There was an error, filter cancelled.";
// Each mystery path that an operation meets; not an error.
inline constexpr const char *kMysteryAlert = "Hmmm... don't know how to handle mystery path art!";
// A text path matrix that cannot be read for a copy.
inline constexpr const char *kTextMatrixAlert = "Error getting text matrix!";
// A pattern-filled path that cannot take the pasted matrix.
inline constexpr const char *kPatternMatrixAlert = "Error setting matrix in pattern!";

// Whether the plug-in can show `text` at all: one of the texts above, a
// failed acquisition, or the matrix display with each number in at most 15
// characters. `numberRefused`: the host refused to write a number
// (AIUser::AIRealToString failed), which the display then shows empty.
bool isAlertThePluginShows(const std::string &text, bool numberRefused);
// Whether `text` tells of a failure (everything but the mystery-path notice
// and the matrix display).
bool isFailureAlert(const std::string &text);

// ---------------------------------------------------------------------------
// The suites the plug-in acquires
// ---------------------------------------------------------------------------

struct SuiteRow {
  const char *name;
  ai_int32 version;
};

// Walked in this order to acquire and in the same order to release; rows 14
// and 20 repeat rows 1 and 11.
inline constexpr int kSuiteRows = 32;
inline constexpr SuiteRow kSuiteTable[kSuiteRows] = {
    {"SP Blocks Suite", 2},     {"SP Access Suite", 3},        {"AI Fixed Math Suite", 2},
    {"AI Art Suite", 9},        {"AI Path Suite", 4},          {"AI Text Path Suite", 4},
    {"AI Path Style Suite", 5}, {"AI Pattern Suite", 7},       {"AI Placed Suite", 5},
    {"AI Raster Suite", 5},     {"AI User Suite", 5},          {"AI Context Suite", 3},
    {"AI Preference Suite", 2}, {"AI Runtime Suite", 7},       {"SP Access Suite", 3},
    {"AS Lib Suite", 1},        {"AI Matching Art Suite", 4},  {"AI Document Suite", 7},
    {"AI Real Math Suite", 1},  {"AI Transform Art Suite", 1}, {"AI Context Suite", 3},
    {"AI Menu Suite", 7},       {"AI Notifier Suite", 2},      {"ADM Basic Suite", 2},
    {"ADM Dialog Suite", 3},    {"ADM Item Suite", 4},         {"ADM Icon Suite", 1},
    {"ADM List Suite", 1},      {"ADM Dialog Group Suite", 1}, {"ADM Notifier Suite", 1},
    {"ADM Entry Suite", 2},     {"ADM Tracker Suite", 1},
};

// The first row that acquires `name`, or -1.
int firstRowOf(std::string_view name);

// Rows from here on fail with an alert: the ADM Basic Suite (row 23) is held.
inline constexpr int kFirstAlertedRow = 24;
// Rows from here on fail with the error dialog's suites held (ADM Item, 25).
inline constexpr int kFirstRowWithDialog = 26;

// The alert for a failed acquisition of row `row` with `code`.
std::string acquisitionAlert(ASErr code, int row);

// ---------------------------------------------------------------------------
// Error codes
// ---------------------------------------------------------------------------

enum class CodeStyle {
  // As the error dialog shows a code: a code whose upper 16 bits are all
  // zero or all ones in decimal, any other as its four characters, the
  // first from the most significant byte (bytes of 0x80 and above shown as
  // U+FFFD, as the dialog manager shows any text that is not UTF-8).
  dialog,
  // For logs and transcripts: the same, but a four-character code in single
  // quotes, with every byte outside printable ASCII written as '?'.
  quoted,
};

std::string errorCodeText(ASErr code, CodeStyle style = CodeStyle::dialog);

} // namespace pello::harness
