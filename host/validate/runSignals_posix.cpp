// Platform (POSIX): sigaction handlers that only set a flag or write what
// was made ready before, then end the process.
#include "RunSignals.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <string>
#include <unistd.h>

namespace pello::validate {

namespace {

volatile std::sig_atomic_t gInterrupt = 0;

// The crash texts, copied into fixed buffers: the handler reads them with
// no allocation. A crash while one is being replaced prints a text cut
// short, never memory outside the buffer.
constexpr std::size_t kMessageSize = 4096;
char gCrashMessage[kMessageSize];
volatile std::size_t gCrashMessageLength = 0;
std::string gCrashReport; // built before the check that may crash; only read in the handler
volatile bool gCrashReportReady = false;

// The handler's own stack: a stack overflow in the plug-in leaves none.
alignas(16) char gAlternateStack[64 * 1024];

void noteInterrupt(int signal) {
  gInterrupt = signal;
}

void writeAll(int fd, const char *text, std::size_t length) {
  while (length > 0) {
    const ssize_t n = ::write(fd, text, length);
    if (n <= 0) return;
    text += n;
    length -= static_cast<std::size_t>(n);
  }
}

void writeText(int fd, const char *text) {
  writeAll(fd, text, std::strlen(text));
}

const char *crashName(int signal) {
  switch (signal) {
  case SIGSEGV:
    return "11 (Segmentation fault)";
  case SIGBUS:
    return "7 (Bus error)";
  case SIGFPE:
    return "8 (Floating point exception)";
  case SIGILL:
    return "4 (Illegal instruction)";
  case SIGABRT:
    return "6 (Aborted)";
  default:
    return "(unknown)";
  }
}

void reportCrash(int signal) {
  if (gCrashReportReady) {
    writeAll(STDOUT_FILENO, gCrashReport.data(), gCrashReport.size());
    writeText(STDOUT_FILENO, "\n");
  }
  writeText(STDERR_FILENO, "pello-host validate: crashed with signal ");
  writeText(STDERR_FILENO, crashName(signal));
  writeAll(STDERR_FILENO, gCrashMessage, gCrashMessageLength);
  writeText(STDERR_FILENO, "\n");
  ::_exit(4);
}

} // namespace

void watchInterrupts() {
  struct sigaction action {};
  action.sa_handler = noteInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0; // no SA_RESTART: a wait for the child wakes at once
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

int interruptSignal() {
  return gInterrupt;
}

void endByInterrupt(int signal) {
  std::signal(signal, SIG_DFL);
  ::raise(signal);
  ::_exit(128 + signal);
}

void watchCrashes() {
  stack_t stack{};
  stack.ss_sp = gAlternateStack;
  stack.ss_size = sizeof gAlternateStack;
  ::sigaltstack(&stack, nullptr);
  struct sigaction action {};
  action.sa_handler = reportCrash;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_ONSTACK | SA_RESETHAND;
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
    ::sigaction(signal, &action, nullptr);
}

void setCrashMessage(const std::string &text) {
  gCrashMessageLength = 0;
  const std::size_t length = std::min(text.size(), kMessageSize);
  std::memcpy(gCrashMessage, text.data(), length);
  gCrashMessageLength = length;
}

void setCrashReport(const std::string &text) {
  gCrashReportReady = false;
  gCrashReport = text;
  gCrashReportReady = !gCrashReport.empty();
}

} // namespace pello::validate
