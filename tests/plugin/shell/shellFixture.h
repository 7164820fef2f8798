// A stand-in host with the built plug-in loaded, and readers for what the
// tests look at: the suite calls in the log, the plug-in's global record.
#pragma once

#include "pello/harness/HostedPlugin.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/Blocks.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Host.h"
#include "pello/host/Plugin.h"
#include "pluginGlobals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// One AcquireSuite or ReleaseSuite call, from the call log.
struct SuiteCall {
  bool acquire;
  std::string name;
  int version;
  ASErr result;
  bool operator==(const SuiteCall &) const = default;
};
std::ostream &operator<<(std::ostream &out, const SuiteCall &call);

class ShellTest : public ::testing::Test {
protected:
  ShellTest();
  void SetUp() override;

  pello::harness::HostedPlugin hosted;
  pello::host::Host &host;
  pello::host::Plugin &plugin;
  pello::host::DialogManager &dialogs;

  // The log's position now, for the readers below.
  std::size_t mark() { return hosted.mark(); }
  // The suite calls logged from `from` on.
  std::vector<SuiteCall> suiteCalls(std::size_t from = 0);
  // The ops logged from `from` on, without the host's own markers and the
  // basic suite's string comparisons.
  std::vector<std::string> opsSince(std::size_t from);

  // The plug-in's record: the live block it allocated as "globals", or null.
  Globals *globals();
  // The host's table of `name`, acquired for the test and released at the end.
  template <class Suite> const Suite *suite(const char *name, int version) {
    const void *table = nullptr;
    if (host.suites().acquire(name, version, &table) != 0) return nullptr;
    held_.push_back({name, version});
    return static_cast<const Suite *>(table);
  }
  void TearDown() override;

private:
  std::vector<pello::harness::SuiteRow> held_;
};
