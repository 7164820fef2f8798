// The modifier keys held down during a palette click.
#ifndef PELLO_PLUGIN_COMMON_KEYPRESS_H
#define PELLO_PLUGIN_COMMON_KEYPRESS_H

#include "ASTypes.h"

// Virtual-key codes the palette asks about.
constexpr ai_int16 kShiftKey = 0x10;
constexpr ai_int16 kControlKey = 0x11;
constexpr ai_int16 kAltKey = 0x12;
constexpr ai_int16 kLeftWindowsKey = 0x5B; // also answers for the right one
constexpr ai_int16 kRightWindowsKey = 0x5C;

// Non-zero while virtual key `k` is down, as the user-interface thread's
// keyboard state tells: 0x80 for most keys, 1 for kLeftWindowsKey when either
// Windows key is down. 0 when the state cannot be read or `k` is not a
// virtual-key code (0 to 255).
ai_int16 isPressed(ai_int16 k);

#endif
