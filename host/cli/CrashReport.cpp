// A fatal fault while the plug-in is loaded (most often in the plug-in's own
// code, which runs in this process): pello-host says so on standard error,
// naming the module, and exits with status 4 instead of ending on a signal
// or an unhandled exception with nothing said. Sanitizer builds keep the
// sanitizer's own report.
#include "Commands.h"
#include "SessionRunner.h"

#include <algorithm>
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

void writeReport(const char *fault) {
#if defined(_WIN32)
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  WriteFile(err, fault, static_cast<DWORD>(std::strlen(fault)), &written, nullptr);
  WriteFile(err, gReport, static_cast<DWORD>(gReportLength), &written, nullptr);
#else
  [[maybe_unused]] ssize_t n = ::write(2, fault, std::strlen(fault));
  n = ::write(2, gReport, gReportLength);
#endif
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
