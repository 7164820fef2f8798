#include "pello/host/Keyboard.h"

#include "pello/host/HostCall.h"
#include "platform/Platform.h"

#include <cstring>

namespace pello::host {

Keyboard::Keyboard(Host &) {
  applyKeyboardState(table_.data());
}

Keyboard::~Keyboard() {
  table_.fill(0);
  applyKeyboardState(table_.data());
}

void Keyboard::setKeys(std::span<const int> virtualKeys) {
  table_.fill(0);
  for (int key : virtualKeys)
    if (key >= 0 && key < 256) table_[static_cast<std::size_t>(key)] |= 0x80;
  applyKeyboardState(table_.data());
}

void Keyboard::press(int virtualKey) {
  if (virtualKey >= 0 && virtualKey < 256) table_[static_cast<std::size_t>(virtualKey)] |= 0x80;
  applyKeyboardState(table_.data());
}

void Keyboard::releaseKey(int virtualKey) {
  if (virtualKey >= 0 && virtualKey < 256) table_[static_cast<std::size_t>(virtualKey)] &= 0x7F;
  applyKeyboardState(table_.data());
}

void Keyboard::clear() {
  table_.fill(0);
  applyKeyboardState(table_.data());
}

bool Keyboard::read(unsigned char *keyState) {
  ++reads_;
  if (failing_ != 0) {
    if (failing_ > 0) --failing_;
    return false;
  }
  std::memcpy(keyState, table_.data(), table_.size());
  return true;
}

int readKeyboardState(unsigned char *keyState) {
  Host *host = Host::active();
  if (!host) return 0;
  PELLO_HOST_CALL(call, "Win32::GetKeyboardState");
  if (call.injected() || !keyState) {
    call.done(call.injected());
    return 0;
  }
  bool ok = host->get<Keyboard>().read(keyState);
  call.arg("read", ok ? "ok" : "failed");
  call.done(0);
  return ok ? 1 : 0;
}

} // namespace pello::host
