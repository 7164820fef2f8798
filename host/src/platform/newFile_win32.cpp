// Platform file (Windows): a new file made with CREATE_NEW, which refuses
// whatever stands at the path, a link included.
#include "platform/Platform.h"

#include <windows.h>

#include <algorithm>

namespace pello::host {

namespace {

std::string systemMessage(DWORD code) {
  char *text = nullptr;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<char *>(&text), 0, nullptr);
  std::string message = n > 0 ? std::string(text, n) : "system error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message;
}

} // namespace

NewFile writeNewFile(const std::filesystem::path &path, std::string_view bytes, const std::filesystem::path &,
                     std::string &why) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return NewFile::taken;
    why = systemMessage(code);
    return NewFile::failed;
  }
  DWORD error = 0;
  for (std::size_t done = 0; done < bytes.size() && error == 0;) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    done += written;
  }
  if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
  CloseHandle(file);
  if (error == 0) return NewFile::written;
  why = systemMessage(error);
  DeleteFileW(path.c_str());
  return NewFile::failed;
}

} // namespace pello::host
