// The keyboard state behind GetKeyboardState: 256 bytes, one per virtual-key
// code, bit 0x80 set while the key is down. Tests set it; the plug-in reads
// it through the GetKeyboardState the host executable exports (op
// "Win32::GetKeyboardState" in the call log and for fault injection).
//
// On Windows the plug-in calls user32's own GetKeyboardState instead: every
// change of the table is handed to the thread's keyboard state with
// SetKeyboardState (and the state is cleared when the component is created
// and destroyed), so the host does not see the reads there: reads(),
// failReads() and the call log op work only where kSeesReads is true.
#pragma once

#include "pello/host/Host.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace pello::host {

// Windows virtual-key codes of the modifier keys.
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkAlt = 0x12;
inline constexpr int kVkLeftWindows = 0x5B;
inline constexpr int kVkRightWindows = 0x5C;

#if defined(_WIN32)
inline constexpr bool kHostSeesKeyboardReads = false;
#else
inline constexpr bool kHostSeesKeyboardReads = true;
#endif

class Keyboard : public Component {
public:
  explicit Keyboard(Host &);
  ~Keyboard() override;
  Keyboard(const Keyboard &) = delete;
  Keyboard &operator=(const Keyboard &) = delete;

  // Whether the plug-in's reads reach the host (see above).
  static constexpr bool kSeesReads = kHostSeesKeyboardReads;

  // Only these virtual keys are down (bit 0x80 set), every other byte 0.
  void setKeys(std::span<const int> virtualKeys);
  void setKeys(std::initializer_list<int> virtualKeys) {
    setKeys(std::span(virtualKeys.begin(), virtualKeys.size()));
  }
  void press(int virtualKey);
  void releaseKey(int virtualKey);
  void clear();
  const std::array<std::uint8_t, 256> &bytes() const { return table_; }

  // The next `count` reads fail (GetKeyboardState returns 0 and writes
  // nothing); -1 makes every read fail until failReads(0).
  void failReads(int count) { failing_ = count; }
  int reads() const { return reads_; }

  // GetKeyboardState's work: copies the table; false for a failing read.
  bool read(unsigned char *keyState);

private:
  std::array<std::uint8_t, 256> table_{};
  int failing_ = 0;
  int reads_ = 0;
};

// Keeps the exported GetKeyboardState in every executable that links the
// host library (the plug-in module resolves it from the executable).
void *keyboardEntryPoint();

} // namespace pello::host
