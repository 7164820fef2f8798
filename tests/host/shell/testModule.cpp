// A module that is not a plug-in until a test gives it a PiPL.
#include "SPMessage.h"

#if defined(_WIN32)
#define TEST_MODULE_EXPORT __declspec(dllexport)
#else
#define TEST_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TEST_MODULE_EXPORT ASErr PluginMain(const char *, const char *, void *) {
  return 42;
}

extern "C" TEST_MODULE_EXPORT ASErr OtherMain(const char *, const char *, void *) {
  return 7;
}
