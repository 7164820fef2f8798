// Platform file (POSIX): a new file made with O_EXCL, which refuses whatever
// stands at the path, a link included.
#include "platform/Platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pello::host {

NewFile writeNewFile(const std::filesystem::path &path, std::string_view bytes,
                     const std::filesystem::path &like, std::string &why) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST) return NewFile::taken;
    why = std::strerror(errno);
    return NewFile::failed;
  }
  struct stat target {};
  if (::stat(like.c_str(), &target) == 0) ::fchmod(fd, target.st_mode & 07777);
  int error = 0;
  for (std::size_t done = 0; done < bytes.size() && error == 0;) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0)
      done += static_cast<std::size_t>(n);
    else if (n < 0 && errno != EINTR)
      error = errno;
  }
  // The data reaches the disk before a rename can put the file in the
  // place of the one it replaces.
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return NewFile::written;
  why = std::strerror(error);
  ::unlink(path.c_str());
  return NewFile::failed;
}

} // namespace pello::host
