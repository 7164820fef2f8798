#include "pello/host/FileReplace.h"

#include "platform/Platform.h"

#include <random>
#include <system_error>

namespace pello::host {

namespace {

// Where the links at `file` lead (a few at most: a loop leads nowhere); the
// path of a file the last link names, whether that file exists yet or not.
std::filesystem::path linkTarget(std::filesystem::path file) {
  std::error_code ec;
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(file, ec); ++hops) {
    const std::filesystem::path next = std::filesystem::read_symlink(file, ec);
    if (ec) break;
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  return file;
}

} // namespace

bool replaceFile(const std::filesystem::path &file, const std::string &text, std::string &why) {
  const std::filesystem::path target = linkTarget(file);
  std::random_device random;
  std::string reason = "no free temporary name";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path temporary = target;
    temporary += "." + std::to_string(random()) + ".tmp";
    switch (writeNewFile(temporary, text, target, reason)) {
    case NewFile::taken:
      continue;
    case NewFile::failed:
      why = "cannot be written: " + reason;
      return false;
    case NewFile::written: {
      std::error_code ec;
      std::filesystem::rename(temporary, target, ec);
      if (!ec) return true;
      why = "cannot be replaced: " + ec.message();
      // Made by this call: removed again.
      std::filesystem::remove(temporary, ec);
      return false;
    }
    }
  }
  why = "cannot be written: " + reason;
  return false;
}

} // namespace pello::host
