// The suites the plug-in acquires, in the order of its suite table, with the
// version of each: the contract the suites checks and the faults sweep
// judge the acquisition alert by.
#pragma once

#include "ASTypes.h"

#include <string>

namespace pello::validate {

struct SuiteRow {
  const char *name;
  ai_int32 version;
};

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
inline int firstRowOf(const std::string &name) {
  for (int row = 0; row < kSuiteRows; ++row)
    if (name == kSuiteTable[row].name) return row;
  return -1;
}

// Rows from here on fail with an alert: the ADM Basic Suite (row 23) is held.
inline constexpr int kFirstAlertedRow = 24;
// Rows from here on fail with the error dialog's suites held (ADM Item, 25).
inline constexpr int kFirstRowWithDialog = 26;

// The alert for a failed acquisition of row `row` with `code`.
inline std::string acquisitionAlert(ASErr code, int row) {
  return "Error: " + std::to_string(code) + ", suite: " + kSuiteTable[row].name +
         ", version: " + std::to_string(kSuiteTable[row].version) + "!";
}

} // namespace pello::validate
