// The modifier keys as isPressed reports them from the keyboard state.
#include "fakeHost.h"
#include "keypress.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned char kDown = 0x80;

class KeyPress : public FakeHostTest {};

} // namespace

TEST_F(KeyPress, EitherWindowsKeyCountsForTheLeftKeyCode) {
  fakeKeyboard.keys[kRightWindowsKey] = kDown;
  EXPECT_EQ(isPressed(kLeftWindowsKey), 1);

  fakeKeyboard.keys[kRightWindowsKey] = 0;
  fakeKeyboard.keys[kLeftWindowsKey] = kDown | 0x01;
  EXPECT_EQ(isPressed(kLeftWindowsKey), 1);

  fakeKeyboard.keys[kLeftWindowsKey] = 0x01; // toggled, not down
  EXPECT_EQ(isPressed(kLeftWindowsKey), 0);
}

TEST_F(KeyPress, RightWindowsKeyCodeIgnoresTheLeftKey) {
  fakeKeyboard.keys[kLeftWindowsKey] = kDown;
  EXPECT_EQ(isPressed(kRightWindowsKey), 0);
}

TEST_F(KeyPress, ModifiersGiveTheDownBitItself) {
  fakeKeyboard.keys[kShiftKey] = kDown | 0x01;
  EXPECT_EQ(isPressed(kShiftKey), 0x80);
  EXPECT_EQ(isPressed(kControlKey), 0);
  fakeKeyboard.keys[kAltKey] = kDown;
  EXPECT_EQ(isPressed(kAltKey), 0x80);
}

TEST_F(KeyPress, UnreadableStateMeansEveryKeyIsUp) {
  fakeKeyboard.keys[kShiftKey] = kDown;
  fakeKeyboard.keys[kRightWindowsKey] = kDown;
  fakeKeyboard.readable = false;
  EXPECT_EQ(isPressed(kShiftKey), 0);
  EXPECT_EQ(isPressed(kLeftWindowsKey), 0);
}

TEST_F(KeyPress, CodesOutsideTheTableAreNeverDown) {
  for (unsigned char &key : fakeKeyboard.keys)
    key = kDown;
  EXPECT_EQ(isPressed(-1), 0);
  EXPECT_EQ(isPressed(256), 0);
  EXPECT_EQ(isPressed(0x7FFF), 0);
  EXPECT_EQ(fakeKeyboard.reads, 0);
  EXPECT_EQ(isPressed(255), 0x80);
}
