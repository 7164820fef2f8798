// Platform: the keyboard state of the user-interface thread. On Windows it
// is user32's GetKeyboardState; elsewhere the program that loads the
// plug-in provides and exports a function of the same name and meaning:
// fills 256 bytes, one per virtual-key code (bit 0x80 set while the key is
// down), and returns 0 when the state cannot be read.
#ifndef PELLO_PLUGIN_COMMON_KEYPRESSPLATFORM_H
#define PELLO_PLUGIN_COMMON_KEYPRESSPLATFORM_H

#if defined(_WIN32)
#include <windows.h>
#else
extern "C" int GetKeyboardState(unsigned char *keyState);
#endif

#endif
