// Platform (POSIX): each check runs in a forked child that reports its
// stages and failures through a pipe, one line each.
#include "Isolation.h"
#include "RunSignals.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

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

CheckOutcome runIsolated(const Check &check, const CheckContext &context, bool isolate,
                         const CheckLimits &limits) {
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
    // A process group of its own, which the run ends whole (the check's own
    // children with it); and the run's signal handlers are not the child's.
    ::setpgid(0, 0);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
#if defined(__linux__)
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    ::close(fds[0]);
    const int out = fds[1];
    CheckContext mine = context;
    mine.sink = [out](char kind, const std::string &text) {
      writeAll(out, std::string(1, kind) + oneLine(text) + "\n");
    };
    CheckOutcome outcome = runInProcess(check, mine);
    writeAll(out, "E" + std::to_string(outcome.failures) + "\n");
    std::fflush(nullptr);
    ::_exit(0);
  }
  // Set here too, so that the group exists before the first kill below.
  ::setpgid(child, child);
  ::close(fds[1]);

  CheckOutcome outcome;
  ChildLines lines(outcome);
  std::string pending;
  char buffer[4096];
  const auto ends = limits.endOf(start);
  bool timedOut = false;
  int interrupted = 0;
  for (;;) {
    if (!interrupted && (interrupted = interruptSignal()) != 0) ::kill(-child, SIGKILL);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(ends - std::chrono::steady_clock::now());
    if (!timedOut && !interrupted && left.count() <= 0) {
      timedOut = true;
      ::kill(-child, SIGKILL);
    }
    // Woken by the child's lines, its end, a signal, or at most every 200 ms
    // (a signal that came just before the wait began).
    pollfd wait{fds[0], POLLIN, 0};
    const int ready = ::poll(&wait, 1, static_cast<int>(std::clamp<long long>(left.count(), 0, 200)));
    if (ready <= 0) continue;
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
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
  // What the check started and left behind goes with it (the child, not yet
  // waited for, keeps its group's number taken).
  ::kill(-child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  outcome.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const std::string where = lines.where();
  if (interrupted) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", outcome.milliseconds / 1000);
    outcome.status = Status::Skipped;
    outcome.reason = "interrupted by " + interruptName(interrupted) + " after " + seconds + " s" + where;
  } else if (timedOut) {
    outcome.status = Status::TimedOut;
    outcome.reason = limits.endedWhy(start) + where;
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
