// Fuzzes the stand-in host's readers of the resources it builds dialogs,
// option menus and icons from: none may read past its input, and whatever
// they accept must be consistent (every pixel of an accepted bitmap
// readable, every command of an accepted menu reachable).
#include "pello/host/ResourceTemplates.h"

#include <cstdint>
#include <span>
#include <string>

using namespace pello::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> bytes(data + 1, size - 1);
  std::string error;
  switch (data[0] % 3) {
  case 0: {
    DialogTemplate dialog;
    if (parseDialogTemplate(bytes, dialog, error))
      for (const DialogItemTemplate &item : dialog.items)
        (void)item.windowClass.text.size();
    break;
  }
  case 1: {
    MenuTemplate menu;
    if (parseMenuTemplate(bytes, menu, error)) (void)menuCommands(menu);
    break;
  }
  default: {
    Bitmap bitmap;
    if (parseBitmap(bytes, bitmap, error) && static_cast<long long>(bitmap.width) * bitmap.height <= 1 << 20)
      for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
          (void)bitmap.colorAt(x, y);
    break;
  }
  }
  return 0;
}
