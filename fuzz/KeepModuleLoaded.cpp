#include "KeepModuleLoaded.h"

#include <cstdio>
#include <cstdlib>
#include <string>
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

validate::CheckContext abortingContext() {
  validate::CheckContext context;
  context.plugin = PELLO_PLUGIN_PATH;
  context.sink = [](char kind, const std::string &text) {
    if (kind != 'F') return;
    std::fprintf(stderr, "validate check failed: %s\n", text.c_str());
    std::abort();
  };
  return context;
}

} // namespace pello::fuzz
