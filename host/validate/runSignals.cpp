#include "RunSignals.h"

#include <csignal>

namespace pello::validate {

std::string interruptName(int signal) {
  if (signal == SIGINT) return "SIGINT";
  if (signal == SIGTERM) return "SIGTERM";
  return "signal " + std::to_string(signal);
}

} // namespace pello::validate
