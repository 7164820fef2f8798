// What the platform files offer the rest of the host.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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

// What writeNewFile made of its file.
enum class NewFile { written, taken, failed };
// Makes the file `path` and writes `bytes` to it, only if nothing stands at
// `path` yet (a link there is not followed: `taken`). The file gets the
// permissions `like` has, when it exists. On `failed` (with `why`), the file
// this call made is removed again; nothing else is ever removed.
NewFile writeNewFile(const std::filesystem::path &path, std::string_view bytes,
                     const std::filesystem::path &like, std::string &why);

} // namespace pello::host
