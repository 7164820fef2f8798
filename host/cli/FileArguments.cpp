#include "FileArguments.h"
#include "Commands.h"
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

namespace {

// A file a command is about to read or write, and the argument that named it.
struct NamedFile {
  std::string argument; // "--junit v.xml", "the plug-in module m.aip"
  fs::path path;
  bool standardOutput = false;
};

// True when `a` and `b` are one file: the same file where both exist (a
// link, another spelling), else the same place once resolved (a path
// through a folder still to be made, "new/../doc.json", is doc.json).
bool sameFile(const fs::path &a, const fs::path &b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec) && !ec;
  std::error_code ecA, ecB;
  const fs::path placeA = fs::weakly_canonical(fs::absolute(a, ecA), ecA).lexically_normal();
  const fs::path placeB = fs::weakly_canonical(fs::absolute(b, ecB), ecB).lexically_normal();
  return !ecA && !ecB && placeA == placeB;
}

bool sameFile(const NamedFile &a, const NamedFile &b) {
  if (a.standardOutput || b.standardOutput) {
    if (a.standardOutput && b.standardOutput) return true;
#ifdef _WIN32
    return false;
#else
    // A path that leads where standard output goes (/dev/stdout, or the
    // file it was redirected to).
    return sameFile(a.standardOutput ? b.path : a.path, "/dev/stdout");
#endif
  }
  return sameFile(a.path, b.path);
}

std::string argumentText(const CLI::Option &option, const std::string &value) {
  return (option.get_positional() ? option.get_name(true) : option.get_name()) + " " + value;
}

} // namespace

void refuseSharedFiles(CLI::App &command, std::vector<FileOption> files, bool printsToStandardOutput) {
  command.parse_complete_callback([&command, files, printsToStandardOutput] {
    std::vector<NamedFile> inputs, outputs;
    if (printsToStandardOutput) outputs.push_back({"standard output (where this command prints)", "-", true});
    // The module the command loads is read too, given or found by default.
    bool moduleGiven = false;
    for (const char *name : {"--plugin", "plugin"}) {
      const CLI::Option *option = command.get_option_no_throw(name);
      if (!option) continue;
      for (const std::string &value : option->results())
        inputs.push_back({argumentText(*option, value), value});
      moduleGiven = moduleGiven || option->count() > 0;
    }
    if (!moduleGiven && command.get_option_no_throw("--plugin")) {
      const fs::path module = pluginPath("");
      inputs.push_back({"the plug-in module " + module.string(), module});
    }
    for (const FileOption &file : files) {
      const CLI::Option *option = command.get_option(file.name);
      std::vector<std::string> values = option->results();
      // A folder written by default (demo's pello-out) is written all the same.
      if (values.empty() && !option->get_default_str().empty()) values.push_back(option->get_default_str());
      for (const std::string &value : values) {
        const std::string argument = argumentText(*option, value);
        switch (file.role) {
        case FileRole::reads:
          inputs.push_back({argument, value});
          break;
        case FileRole::writes:
          outputs.push_back({argument, value, value == "-"});
          break;
        case FileRole::writesInto:
          for (const std::string &made : file.filesMade)
            outputs.push_back(
                {argument + " (" + (fs::path(value) / made).string() + ")", fs::path(value) / made});
          break;
        case FileRole::readsAndWrites:
          outputs.push_back({argument, value});
          break;
        }
      }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
      for (const NamedFile &input : inputs)
        if (sameFile(outputs[i], input))
          throw CLI::ValidationError(outputs[i].argument + " would write over " + input.argument +
                                     ", which this command reads");
      for (std::size_t j = 0; j < i; ++j)
        if (sameFile(outputs[i], outputs[j]))
          throw CLI::ValidationError(outputs[j].argument + " and " + outputs[i].argument +
                                     " are the same file");
    }
  });
}

} // namespace pello::cli
