// Platform (Windows): Ctrl-C and Ctrl-Break through the C runtime's signal
// handlers; a crash of the process through the unhandled-exception filter.
#include "RunSignals.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pello::validate {

namespace {

volatile std::sig_atomic_t gInterrupt = 0;
std::string gCrashMessage;
std::string gCrashReport;

void noteInterrupt(int signal) {
  gInterrupt = signal;
  std::signal(signal, noteInterrupt); // the runtime resets it to the default
}

LONG WINAPI reportCrash(EXCEPTION_POINTERS *exception) {
  if (!gCrashReport.empty()) std::fprintf(stdout, "%s\n", gCrashReport.c_str());
  std::fprintf(stderr, "pello-host validate: crashed with exception 0x%08lX%s\n",
               static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode), gCrashMessage.c_str());
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), 4);
  return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void watchInterrupts() {
  std::signal(SIGINT, noteInterrupt);
  std::signal(SIGTERM, noteInterrupt);
}

int interruptSignal() {
  return gInterrupt;
}

void endByInterrupt(int signal) {
  std::fflush(nullptr);
  std::_Exit(128 + signal);
}

void watchCrashes() {
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(reportCrash);
}

void setCrashMessage(const std::string &text) {
  gCrashMessage = text;
}

void setCrashReport(const std::string &text) {
  gCrashReport = text;
}

} // namespace pello::validate
