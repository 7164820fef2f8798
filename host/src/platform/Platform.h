// What the platform files offer the rest of the host.
#pragma once

#include <filesystem>

namespace pello::host {

// True while the library at `path` is still mapped in the process (after an
// unload: the system kept it).
bool libraryResident(const std::filesystem::path &path);

// GetKeyboardState's work, shared by every platform: copies the running
// host's keyboard table into keyState; 0 when no host runs or the read fails.
int readKeyboardState(unsigned char *keyState);

// Hands the keyboard table to the system where the plug-in reads the
// system's own state (Windows: SetKeyboardState); nothing elsewhere.
void applyKeyboardState(const unsigned char *keyState);

} // namespace pello::host
