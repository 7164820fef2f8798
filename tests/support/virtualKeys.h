// Windows virtual-key codes of the modifier keys, as the keyboard table of
// the stand-in host holds them.
#pragma once

namespace pello::test {

inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkAlt = 0x12;
inline constexpr int kVkLeftWindows = 0x5B;
inline constexpr int kVkRightWindows = 0x5C;

} // namespace pello::test
