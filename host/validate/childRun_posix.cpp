// Platform (POSIX): the child is forked; the shared choices are an anonymous
// shared mapping, reserved large and filled as the session goes.
#include "ChildRun.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace pello::validate {

namespace {

// 2^25 words reserved (256 MiB of address space, pages used only as filled):
// far more than the longest session chooses.
constexpr std::size_t kSharedWords = std::size_t{1} << 25;

void sendAll(int fd, const std::string &text) {
  const char *at = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    at += n;
    left -= static_cast<std::size_t>(n);
  }
}

} // namespace

bool childRunsAvailable() {
  return true;
}

ChildEnd runInChild(const std::function<void(const std::function<void(const std::string &)> &send)> &work,
                    const std::function<void(const std::string &line)> &onLine) {
  const auto here = [&] {
    work(onLine);
    return ChildEnd{};
  };
  int fds[2];
  if (::pipe(fds) != 0) return here();
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return here();
  }
  if (child == 0) {
#if defined(__linux__)
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    ::close(fds[0]);
    const int out = fds[1];
    work([out](const std::string &line) { sendAll(out, line + "\n"); });
    std::fflush(nullptr);
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string pending;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t newline; (newline = pending.find('\n')) != std::string::npos;) {
      onLine(pending.substr(0, newline));
      pending.erase(0, newline + 1);
    }
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  ChildEnd end;
  if (WIFSIGNALED(status)) {
    end.signal = WTERMSIG(status);
    const char *name = ::strsignal(end.signal);
    end.how =
        "signal " + std::to_string(end.signal) + (name ? std::string(" (") + name + ")" : std::string());
  } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
    end.exitStatus = WEXITSTATUS(status);
    end.how = "exit status " + std::to_string(end.exitStatus);
  }
  return end;
}

void endAsChildEnded(const ChildEnd &end) {
  std::fflush(nullptr);
  if (end.signal != 0) {
    std::signal(end.signal, SIG_DFL);
    ::raise(end.signal);
  }
  ::_exit(end.exitStatus != 0 ? end.exitStatus : 1);
}

SharedChoices::SharedChoices() {
  void *memory = ::mmap(nullptr, kSharedWords * sizeof(std::uint64_t), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (memory == MAP_FAILED) return;
  words_ = static_cast<std::uint64_t *>(memory);
  capacity_ = kSharedWords;
}

SharedChoices::~SharedChoices() {
  if (words_) ::munmap(words_, capacity_ * sizeof(std::uint64_t));
}

void SharedChoices::nextAction() {
  if (words_ && words_[0] + 1 < capacity_) words_[++words_[0]] = kActionMark;
}

void SharedChoices::add(std::uint32_t value) {
  if (words_ && words_[0] + 1 < capacity_) words_[++words_[0]] = value;
}

std::span<const std::uint64_t> SharedChoices::recorded() const {
  if (!words_) return {};
  return {words_ + 1, static_cast<std::size_t>(words_[0])};
}

} // namespace pello::validate
