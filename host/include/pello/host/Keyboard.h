// The keyboard state behind GetKeyboardState: 256 bytes, one per virtual-key
// code, bit 0x80 set while the key is down. Tests set it; the plug-in reads
// it through the GetKeyboardState the host executable exports (op
// "Win32::GetKeyboardState" in the call log and for fault injection).
#pragma once

#include "pello/host/Host.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace pello::host {

class Keyboard : public Component {
public:
  explicit Keyboard(Host &);

  // Only these virtual keys are down (bit 0x80 set), every other byte 0.
  void setKeys(std::initializer_list<int> virtualKeys);
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
