// The modifier keys, read from the user-interface thread's keyboard state.
#include "keypress.h"

#include "keypressPlatform.h"

namespace {

constexpr int kKeyCount = 256;
constexpr unsigned char kKeyDown = 0x80;

} // namespace

ai_int16 isPressed(ai_int16 k) {
  // Only codes 0 to 255 have a byte in the table.
  if (k < 0 || k >= kKeyCount) return 0;
  unsigned char keyState[kKeyCount] = {};
  if (!GetKeyboardState(keyState)) return 0;
  if (k == kLeftWindowsKey)
    return ((keyState[kLeftWindowsKey] | keyState[kRightWindowsKey]) & kKeyDown) != 0 ? 1 : 0;
  return static_cast<ai_int16>(keyState[k] & kKeyDown);
}
