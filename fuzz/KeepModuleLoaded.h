// The fuzzers run thousands of hosts in one process. Each host loads the
// plug-in module and closes it again; an instrumented module must not leave
// memory while the fuzzer still counts its coverage, so the fuzzer holds it
// open for the whole run. The plug-in's own statics then outlive a host:
// resetPluginState() clears them as a reload does.
#pragma once

#include "pello/host/Plugin.h"
#include "pello/validate/Check.h"

namespace pello::fuzz {

// Opens the module once for the whole run (aborts when it cannot).
void keepModuleLoaded(const char *path);

// Sends "SP Access" / "Reload" with no record: the plug-in forgets the
// record and the suite holders of an earlier host.
void resetPluginState(host::Plugin &plugin);

// A check context on the built module whose first failure ends the run
// (abort, so the fuzzer keeps the input).
validate::CheckContext abortingContext();

} // namespace pello::fuzz
