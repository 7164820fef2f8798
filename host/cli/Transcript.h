// Prints a session as it happens: each call of the plug-in, the host calls
// that matter, alerts and dialogs with their texts.
#pragma once

#include "pello/host/CallLog.h"
#include "pello/host/Host.h"

#include <cstdio>
#include <string>
#include <vector>

namespace pello::cli {

class Transcript {
public:
  Transcript(host::Host &host, std::FILE *out, bool verbose);
  ~Transcript();

  void heading(const std::string &text);
  void note(const std::string &text);

  // A host error code as the user reads it: 0, -108, 'S!Fd'.
  static std::string codeText(ASErr code);

private:
  void onRecord(const host::CallRecord &record);
  host::Host &host_;
  std::FILE *out_;
  bool verbose_;
  // Acquisitions and releases seen in each PluginMain call now running.
  struct Counts {
    int acquired = 0, released = 0, failed = 0;
  };
  std::vector<Counts> calls_;
};

} // namespace pello::cli
