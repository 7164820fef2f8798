// A fatal fault while the plug-in is loaded (most often in the plug-in's own
// code, which runs in this process): pello-host says so on standard error,
// naming the module, and exits with status 4 instead of ending on a signal
// or an unhandled exception with nothing said. Sanitizer builds keep the
// sanitizer's own report.
#include "Commands.h"
#include "SessionRunner.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELLO_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PELLO_SANITIZED 1
#endif

namespace pello::cli {

namespace {

// Made before the module loads, so that the handler only writes it out.
char gReport[2048];
std::size_t gReportLength = 0;
// " in steps[3] (click up)": what was running. Its length is 0 while it is
// rewritten, so a fault then reports no step rather than half of one.
char gStep[512];
volatile std::sig_atomic_t gStepLength = 0;

void writeError(const char *text, std::size_t length) {
#if defined(_WIN32)
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
#else
  [[maybe_unused]] ssize_t n = ::write(2, text, length);
#endif
}

void writeReport(const char *fault) {
  writeError(fault, std::strlen(fault));
  writeError(gStep, static_cast<std::size_t>(gStepLength));
  writeError(gReport, gReportLength);
}

#if defined(PELLO_SANITIZED)
#elif defined(_WIN32)
LONG WINAPI reportException(EXCEPTION_POINTERS *exception) {
  const DWORD code = exception->ExceptionRecord->ExceptionCode;
  writeReport(code == EXCEPTION_ACCESS_VIOLATION ? "pello-host: access violation"
                                                 : "pello-host: fatal exception");
  TerminateProcess(GetCurrentProcess(), kExitInternal);
  return EXCEPTION_EXECUTE_HANDLER;
}
#else
void reportSignal(int signal) {
  const char *fault = signal == SIGSEGV  ? "pello-host: segmentation fault (SIGSEGV)"
                      : signal == SIGBUS ? "pello-host: bus error (SIGBUS)"
                      : signal == SIGILL ? "pello-host: illegal instruction (SIGILL)"
                      : signal == SIGFPE ? "pello-host: arithmetic fault (SIGFPE)"
                                         : "pello-host: aborted (SIGABRT)";
  writeReport(fault);
  ::_exit(kExitInternal);
}
#endif

} // namespace

void reportCrashStep(const std::string &what) {
  gStepLength = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  const std::string text = what.empty() ? std::string() : " in " + what;
  const std::size_t length = std::min(text.size(), sizeof gStep);
  std::memcpy(gStep, text.data(), length);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  gStepLength = static_cast<std::sig_atomic_t>(length);
}

void reportCrashesOf(const std::filesystem::path &module) {
  const std::string report =
      " with the plug-in " + module.string() + " loaded; the transcript may be cut short (exit status 4)\n";
  gReportLength = std::min(report.size(), sizeof gReport);
  std::memcpy(gReport, report.data(), gReportLength);
#if defined(PELLO_SANITIZED)
  (void)writeReport;
#elif defined(_WIN32)
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(reportException);
#else
  struct sigaction action {};
  action.sa_handler = reportSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
    sigaction(signal, &action, nullptr);
#endif
}

} // namespace pello::cli
