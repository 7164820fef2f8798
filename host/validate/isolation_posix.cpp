// Platform (POSIX): each check runs in a forked child that reports its
// stages and failures through a pipe, one line each.
#include "Isolation.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace pello::validate {

namespace {

void writeAll(int fd, const std::string &text) {
  const char *at = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, at, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    at += n;
    left -= static_cast<std::size_t>(n);
  }
}

std::string oneLine(std::string text) {
  for (char &c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

std::string signalName(int signal) {
  const char *name = ::strsignal(signal);
  return std::to_string(signal) + (name ? std::string(" (") + name + ")" : std::string());
}

} // namespace

bool isolationAvailable() {
  return true;
}

void prepareCheckChild() {}

CheckOutcome runIsolated(const Check &check, const CheckContext &context, bool isolate, int timeoutSeconds) {
  if (!isolate) return runInProcess(check, context);

  int fds[2];
  if (::pipe(fds) != 0) return runInProcess(check, context);
  std::fflush(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return runInProcess(check, context);
  }
  if (child == 0) {
    ::close(fds[0]);
    const int out = fds[1];
    ::alarm(static_cast<unsigned>(timeoutSeconds));
    CheckContext mine = context;
    mine.sink = [out](char kind, const std::string &text) {
      writeAll(out, std::string(1, kind) + oneLine(text) + "\n");
    };
    CheckOutcome outcome = runInProcess(check, mine);
    writeAll(out, "E" + std::to_string(outcome.failures) + "\n");
    std::fflush(nullptr);
    ::_exit(0);
  }

  ::close(fds[1]);
  CheckOutcome outcome;
  ChildLines lines(outcome);
  std::string pending;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(buffer, static_cast<std::size_t>(n));
    std::size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      const std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line.empty()) lines.read(line[0], line.substr(1));
    }
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  outcome.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const std::string where = lines.where();
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
    outcome.status = Status::TimedOut;
    outcome.reason = "timed out after " + std::to_string(timeoutSeconds) + " s" + where;
  } else if (WIFSIGNALED(status)) {
    outcome.status = Status::Crashed;
    outcome.reason = "crashed with signal " + signalName(WTERMSIG(status)) + where;
  } else if (!lines.ended || (WIFEXITED(status) && WEXITSTATUS(status) != 0)) {
    outcome.status = Status::Crashed;
    outcome.reason = "ended with exit status " +
                     std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + " before finishing" +
                     where;
  }
  outcome.settle();
  return outcome;
}

} // namespace pello::validate
