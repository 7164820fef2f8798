// What the loader asks of a path before it reads it as a module.
#pragma once

#include <filesystem>
#include <string>

namespace pello::host {

// Why `path` cannot be a module file (no such file, a folder, a device or
// other special file), or "" when it is a regular file.
std::string moduleFileProblem(const std::filesystem::path &path);

} // namespace pello::host
