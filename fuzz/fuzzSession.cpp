// Fuzzes the random session driver: the input's bytes choose a sequence of
// host actions on the real plug-in (lifecycle calls, clicks, menu entries,
// documents with bad values, faults, missing suites, odd preferences). Any
// check the driver makes that fails aborts with its message.
#include "KeepModuleLoaded.h"
#include "pello/validate/SessionDriver.h"

#include <cstdio>
#include <cstdlib>

using namespace pello::validate;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  pello::fuzz::keepModuleLoaded(PELLO_PLUGIN_PATH);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  CheckContext context = pello::fuzz::abortingContext();
  ByteChooser chooser(data, size);
  DriverOptions options;
  options.steps = 400;
  options.afterLoad = [](pello::host::Plugin &plugin) { pello::fuzz::resetPluginState(plugin); };
  runDrivenSession(context, chooser, options);
  return 0;
}
