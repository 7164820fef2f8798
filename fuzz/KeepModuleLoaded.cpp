#include "KeepModuleLoaded.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace pello::fuzz {

void keepModuleLoaded(const char *path) {
  static void *handle = nullptr;
  if (handle) return;
  handle = ::dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) {
    std::fprintf(stderr, "cannot open %s: %s\n", path, ::dlerror());
    std::abort();
  }
}

void resetPluginState(host::Plugin &plugin) {
  plugin.call(kSPAccessCaller, kSPAccessReloadSelector);
}

} // namespace pello::fuzz
