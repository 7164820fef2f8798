// Platform: how the module exports its one entry point. Everything else is
// hidden (hidden visibility and a linker version script on ELF platforms,
// dllexport on Windows).
#ifndef PELLO_PLUGIN_SHELL_PLUGINEXPORT_H
#define PELLO_PLUGIN_SHELL_PLUGINEXPORT_H

#if defined(_WIN32)
#define PELLO_EXPORT __declspec(dllexport)
#else
#define PELLO_EXPORT __attribute__((visibility("default")))
#endif

#endif
