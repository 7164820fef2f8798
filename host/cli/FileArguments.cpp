#include "FileArguments.h"
#include "pello/host/JsonLimits.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace pello::cli {

namespace {

namespace fs = std::filesystem;

// Why nothing can be made at `path` (a file stands where a folder must
// be), or "".
std::string blockedFolders(const fs::path &path) {
  std::error_code ec;
  for (fs::path at = path.parent_path(); !at.empty(); at = at.parent_path()) {
    if (fs::exists(at, ec)) return fs::is_directory(at, ec) ? "" : at.string() + " is not a folder";
    if (at == at.parent_path()) break;
  }
  return {};
}

// Why `path` cannot be written as a file where it stands (a folder or a
// special file is there), or "".
std::string notAFile(const fs::path &path, const std::string &text) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return "a folder, not a file: " + text;
  if (fs::exists(path, ec) && !fs::is_regular_file(path, ec)) return "not a regular file: " + text;
  return {};
}

// Why the preferences file at `path` is refused for its nesting, or "". A
// file that is merely not JSON is no reason: the host keeps it aside and
// starts from the defaults.
std::string preferencesNesting(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    host::parseBoundedJson<nlohmann::json>(text);
  } catch (const host::JsonNestingError &e) {
    return "preferences file " + path.string() + ": " + e.what();
  } catch (const nlohmann::json::exception &) {
  }
  return {};
}

} // namespace

CLI::Validator inputFile() {
  return CLI::Validator(
      [](std::string &text) -> std::string {
        std::error_code ec;
        const fs::file_status status = fs::status(text, ec);
        if (!fs::exists(status)) return "no such file: " + text;
        if (fs::is_directory(status)) return "a folder, not a file: " + text;
        if (!fs::is_regular_file(status)) return "not a regular file: " + text;
        return {};
      },
      "FILE");
}

CLI::Validator outputFile() {
  return CLI::Validator(
      [](std::string &text) -> std::string {
        if (text == "-") return {};
        const fs::path path(text);
        if (std::string problem = notAFile(path, text); !problem.empty()) return problem;
        if (std::string blocked = blockedFolders(path); !blocked.empty())
          return "cannot write " + text + ": " + blocked;
        return {};
      },
      "FILE");
}

CLI::Validator outputFolder() {
  return CLI::Validator(
      [](std::string &text) -> std::string {
        const fs::path path(text);
        std::error_code ec;
        if (fs::exists(path, ec) && !fs::is_directory(path, ec)) return "a file, not a folder: " + text;
        if (std::string blocked = blockedFolders(path / "x"); !blocked.empty())
          return "cannot make the folder " + text + ": " + blocked;
        return {};
      },
      "FOLDER");
}

std::string preferencesFileProblem(const fs::path &path) {
  const std::string text = path.string();
  if (std::string problem = notAFile(path, text); !problem.empty()) return problem;
  std::error_code ec;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) return "no folder " + folder.string() + " to keep " + text + " in";
  return preferencesNesting(path);
}

CLI::Validator preferencesFile() {
  return CLI::Validator([](std::string &text) { return preferencesFileProblem(text); }, "FILE");
}

} // namespace pello::cli
