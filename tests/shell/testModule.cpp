// A module that is not a plug-in until a test gives it a PiPL.
#include "SPMessage.h"

extern "C" __attribute__((visibility("default"))) ASErr PluginMain(const char *, const char *, void *) {
  return 42;
}

extern "C" __attribute__((visibility("default"))) ASErr OtherMain(const char *, const char *, void *) {
  return 7;
}
