// Test doubles for the host suites and the keyboard state that the plug-in's
// utilities and handlers call. A test installs them into the plug-in's suite
// pointers with FakeHost and reads back what the plug-in did.
#ifndef PELLO_TESTS_PLUGIN_UNITS_FAKEHOST_H
#define PELLO_TESTS_PLUGIN_UNITS_FAKEHOST_H

#include "Globals.h"
#include "Suites.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The keyboard state GetKeyboardState hands out.
struct FakeKeyboard {
  unsigned char keys[256] = {};
  bool readable = true;
  int reads = 0;
};
extern FakeKeyboard fakeKeyboard;

// What the fake suites hold and what they were asked.
struct FakeHostState {
  // Error text list 16050: entries[i - 1] is entry i; past the end the empty
  // string. With endlessList every entry is "9999".
  std::vector<std::string> entries;
  bool endlessList = false;
  std::vector<ai_int32> indexReads;

  // The modal dialogs run: their ids and, for the error dialog, the texts of
  // items 2 and 3 set by its initialisation.
  std::vector<ai_int32> modalIds;
  std::map<ai_int32, std::string> itemTexts;
  int notifyProcsSet = 0;

  bool realToStringFails = false;

  // The palette double: visibility and what was done to it.
  bool paletteVisible = false;
  std::vector<ASBoolean> shows;
  int destroys = 0;
  int creates = 0;

  // Menu check marks: (item, check).
  std::vector<std::pair<AIMenuItemHandle, ASBoolean>> checks;
};
extern FakeHostState fakeHost;

// Installs the fake suites and clears every record; on tear-down puts back
// null suite pointers and a null g.
class FakeHostTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
};

// A stand-in palette reference; never dereferenced by the plug-in.
ADMDialogRef fakePalette();

#endif
