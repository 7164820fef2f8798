// CLI11 validators for the commands' file arguments. Each refuses with the
// path and the reason, before the command runs anything.
#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>
#include <vector>

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

// What a command does with the file an option or argument names.
enum class FileRole {
  reads,
  writes,         // "-": standard output
  writesInto,     // a folder: the files `filesMade` there
  readsAndWrites, // preferences: read at the start, written at the end
};
struct FileOption {
  std::string name; // as the command knows it: "--junit", "SESSION"
  FileRole role;
  std::vector<std::string> filesMade = {};
};
// Refuses, once the command line is read and before `command` runs anything,
// an output that is one of its inputs (the plug-in module it loads, given or
// by default, included) and two outputs that are one file; with
// `printsToStandardOutput` (a transcript or a report), standard output is
// one of the outputs. Files are compared by what they are, not by how they
// are spelt.
void refuseSharedFiles(CLI::App &command, std::vector<FileOption> files, bool printsToStandardOutput);

} // namespace pello::cli
