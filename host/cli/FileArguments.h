// CLI11 validators for the commands' file arguments. Each refuses with the
// path and the reason, before the command runs anything.
#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>

namespace pello::cli {

// A file the command reads: a regular file (a pipe would block the read and a
// device such as /dev/zero would never end it).
CLI::Validator inputFile();
// A file the command may write, its folders made as needed: not a folder,
// not a special file, and no file on the way to it.
CLI::Validator outputFile();
// A folder the command may write into, made as needed: not a file.
CLI::Validator outputFolder();
// A file the host writes when the plug-in quits: a regular file or none
// yet, in a folder that exists.
CLI::Validator preferencesFile();
// Why the host could not keep its preferences at `path`, or "".
std::string preferencesFileProblem(const std::filesystem::path &path);

} // namespace pello::cli
