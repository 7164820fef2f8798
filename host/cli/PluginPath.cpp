#include "Commands.h"

#include <cstdio>
#include <fstream>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace pello::cli {

namespace {

std::filesystem::path executableFolder() {
#if defined(_WIN32)
  wchar_t buffer[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return std::filesystem::path(buffer).parent_path();
#else
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
#endif
  return {};
}

} // namespace

std::filesystem::path pluginPath(const std::string &option) {
  if (!option.empty()) return option;
  const std::filesystem::path folder = executableFolder();
  std::error_code ec;
  for (const std::filesystem::path &candidate :
       {folder / "PelloPalette.aip", folder / ".." / "lib" / "pello" / "PelloPalette.aip"})
    if (!folder.empty() && std::filesystem::exists(candidate, ec)) return candidate.lexically_normal();
#ifdef PELLO_PLUGIN_FROM_PROGRAM
  // The build tree's module, named from the program's folder: the same
  // bytes whichever folder the tree was built in.
  if (!folder.empty()) return (folder / PELLO_PLUGIN_FROM_PROGRAM).lexically_normal();
#endif
  return folder / "PelloPalette.aip";
}

void addPluginOption(CLI::App &command, Options &options) {
  command.add_option("--plugin", options.plugin,
                     "The plug-in module to load (default: PelloPalette.aip beside pello-host, then the "
                     "installed one in ../lib/pello/, then the one it was built with)");
}

bool writeTextFile(const std::filesystem::path &file, const std::string &text) {
  if (file == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0;
  }
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.flush();
  if (!out) {
    std::fprintf(stderr, "pello-host: cannot write %s\n", file.string().c_str());
    return false;
  }
  return true;
}

} // namespace pello::cli
