#include "pello/validate/ProcessCounters.h"

#include <cstdio>

namespace pello::validate {

namespace {

std::string bytesText(long long bytes) {
  char text[32];
  if (bytes >= 10 * 1024 * 1024)
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
  else if (bytes >= 10 * 1024)
    std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
  else
    std::snprintf(text, sizeof text, "%lld bytes", bytes);
  return text;
}

} // namespace

std::string countersText(const ProcessCounters &c) {
  std::string text;
  auto add = [&text](const char *name, const std::string &value) {
    text += (text.empty() ? "" : ", ") + std::string(name) + " " + value;
  };
  if (c.tlsSlots >= 0) add("tls", std::to_string(c.tlsSlots));
  if (c.handles >= 0) add("handles", std::to_string(c.handles));
  if (c.heapBytes >= 0) add("heap", bytesText(c.heapBytes));
  if (c.residentBytes >= 0) add("resident", bytesText(c.residentBytes));
  return text;
}

} // namespace pello::validate
