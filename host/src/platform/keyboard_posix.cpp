// Platform file (non-Windows): the executable exports GetKeyboardState, as
// Windows' user32 would, so the plug-in module resolves it at load time.
#include "pello/host/Keyboard.h"
#include "platform/Platform.h"

extern "C" __attribute__((visibility("default"))) int GetKeyboardState(unsigned char *keyState) {
  return pello::host::readKeyboardState(keyState);
}

namespace pello::host {

void *keyboardEntryPoint() {
  return reinterpret_cast<void *>(&GetKeyboardState);
}

void applyKeyboardState(const unsigned char *) {}

} // namespace pello::host
