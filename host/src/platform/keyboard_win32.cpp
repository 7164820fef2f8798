// Platform file (Windows): the plug-in reads the modifier keys with user32's
// GetKeyboardState, the state Windows keeps for the calling thread; the
// host's keyboard table is handed to that state with SetKeyboardState.
#include "pello/host/Keyboard.h"
#include "platform/Platform.h"

#include <windows.h>

namespace pello::host {

void *keyboardEntryPoint() {
  return reinterpret_cast<void *>(&::GetKeyboardState);
}

void applyKeyboardState(const unsigned char *keyState) {
  BYTE state[256];
  for (int i = 0; i < 256; ++i)
    state[i] = keyState[i];
  SetKeyboardState(state);
}

} // namespace pello::host
