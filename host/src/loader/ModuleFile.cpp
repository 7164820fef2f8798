#include "loader/ModuleFile.h"

namespace pello::host {

std::string moduleFileProblem(const std::filesystem::path &path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return "no such file";
  if (ec) return "cannot read the file: " + ec.message();
  if (std::filesystem::is_directory(status)) return "a folder, not a module file";
  if (!std::filesystem::is_regular_file(status)) return "not a regular file";
  return {};
}

} // namespace pello::host
