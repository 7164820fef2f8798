// What ends a run from outside, and what is said when the process ends
// unexpectedly. SIGINT and SIGTERM (Ctrl-C, a CI runner stopping the job)
// are noted while checks run in child processes: the run ends the running
// child's process group, writes its reports and then ends by that signal.
// A check run in this process (--in-process) that crashes ends the process
// with exit status 4, a message naming the module, the check and its stage,
// and the JSON report so far.
#pragma once

#include <string>

namespace pello::validate {

// From now on SIGINT and SIGTERM only set what interruptSignal() returns.
void watchInterrupts();

// The signal that interrupted the run, or 0.
int interruptSignal();

// "SIGINT", "SIGTERM" or "signal N".
std::string interruptName(int signal);

// Ends this process as `signal` would have, the reports already written.
[[noreturn]] void endByInterrupt(int signal);

// Installs the handler that reports a crash of this process.
void watchCrashes();

// What the crash handler prints on standard error ("... in check X while:
// STAGE") and on standard output (the JSON report so far, or nothing); both
// kept ready, since nothing may be built once the process has crashed.
void setCrashMessage(const std::string &text);
void setCrashReport(const std::string &text);

} // namespace pello::validate
