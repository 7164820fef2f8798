// Platform (Windows): no fork, so each check runs in a child process started
// from this program ("validate MODULE --child-check NAME ..."), which reports
// its stages and failures on its standard output, one line each.
#include "Isolation.h"
#include "RunSignals.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace pello::validate {

namespace {

// One argument of a command line, quoted the way the C runtime splits it.
std::wstring argumentText(const std::wstring &argument) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

std::wstring widened(const std::string &text) {
  return std::wstring(text.begin(), text.end());
}

std::wstring childCommandLine(const Check &check, const CheckContext &context) {
  std::wstring self(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    if (length < self.size()) {
      self.resize(length);
      break;
    }
    self.resize(self.size() * 2);
  }
  return argumentText(self) + L" validate " + argumentText(context.plugin.wstring()) + L" --child-check " +
         argumentText(widened(check.name)) + L" --work-dir " + argumentText(context.workDir.wstring()) +
         L" --seed " + std::to_wstring(context.seed) + L" --steps " + std::to_wstring(context.steps) +
         L" --strictness " + std::to_wstring(context.strictness) +
         (context.artifactsDir.empty() ? std::wstring()
                                       : L" --artifacts " + argumentText(context.artifactsDir.wstring())) +
         (context.cycles > 0 ? L" --cycles " + std::to_wstring(context.cycles) : std::wstring());
}

// Reads the child's report lines into the outcome; other lines (what the
// system or the plug-in may print) pass over.
struct LineReader {
  ChildLines lines;
  std::string pending;

  void add(const char *bytes, std::size_t count) {
    pending.append(bytes, count);
    std::size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::string prefix = kChildLinePrefix;
      if (line.size() <= prefix.size() || line.compare(0, prefix.size(), prefix) != 0) continue;
      lines.read(line[prefix.size()], line.substr(prefix.size() + 1));
    }
  }
};

std::string hex(DWORD code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
  return text;
}

LONG WINAPI endOnException(EXCEPTION_POINTERS *exception) {
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

bool isolationAvailable() {
  return true;
}

void prepareCheckChild() {
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(endOnException);
}

CheckOutcome runIsolated(const Check &check, const CheckContext &context, bool isolate,
                         const CheckLimits &limits) {
  if (!isolate) return runInProcess(check, context);

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return runInProcess(check, context);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child{};
  std::wstring commandLine = childCommandLine(check, context);
  std::fflush(nullptr);
  const auto start = std::chrono::steady_clock::now();
  BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &startup, &child);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return runInProcess(check, context);
  }
  CloseHandle(child.hThread);

  CheckOutcome outcome;
  LineReader reader{ChildLines{outcome}, {}};
  bool timedOut = false;
  int interrupted = 0;
  const auto ends = limits.endOf(start);
  char buffer[4096];
  for (;;) {
    DWORD available = 0;
    if (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      DWORD got = 0;
      if (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) reader.add(buffer, got);
      continue;
    }
    if (WaitForSingleObject(child.hProcess, 20) == WAIT_OBJECT_0) {
      DWORD got = 0;
      while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        reader.add(buffer, got);
      break;
    }
    interrupted = interruptSignal();
    timedOut = !interrupted && std::chrono::steady_clock::now() >= ends;
    if (interrupted || timedOut) {
      TerminateProcess(child.hProcess, 1);
      WaitForSingleObject(child.hProcess, INFINITE);
      break;
    }
  }
  CloseHandle(readEnd);
  DWORD status = 0;
  GetExitCodeProcess(child.hProcess, &status);
  CloseHandle(child.hProcess);
  // Ctrl-C reaches the child too (one console): a child ended by it was
  // interrupted, not crashed.
  if (!interrupted && status != 0) interrupted = interruptSignal();

  outcome.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const std::string where = reader.lines.where();
  if (interrupted) {
    outcome.status = Status::Skipped;
    outcome.reason = "interrupted by " + interruptName(interrupted) + where;
  } else if (timedOut) {
    outcome.status = Status::TimedOut;
    outcome.reason = limits.endedWhy(start) + where;
  } else if (status >= 0xC0000000u) {
    outcome.status = Status::Crashed;
    outcome.reason = "crashed with exception " + hex(status) + where;
  } else if (!reader.lines.ended || status != 0) {
    outcome.status = Status::Crashed;
    outcome.reason = "ended with exit status " + std::to_string(status) + " before finishing" + where;
  }
  outcome.settle();
  return outcome;
}

} // namespace pello::validate
