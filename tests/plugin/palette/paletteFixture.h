// The built plug-in in a stand-in host whose preferences live in a file of
// the test's own, so that a test can quit the host and start a new one on
// the same preferences. Tests act as the user (clicks, option-menu choices,
// the host's own palette controls) and read the palette, the document, the
// preferences and the call log.
#pragma once

#include "pello/harness/HostedPlugin.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/CallLog.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/Host.h"
#include "pello/host/Menus.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"
#include "pluginGlobals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pello::test {

// The placement preferences, all under one prefix.
inline constexpr const char *kPrefix = pello::harness::kPreferencePrefix;
using pello::harness::kDockCodeKey;
using pello::harness::kDockGroupKey;
using pello::harness::kLocationKey;
using pello::harness::kVisibleKey;

class PaletteTest : public ::testing::Test {
protected:
  PaletteTest();
  ~PaletteTest() override;
  void SetUp() override;
  // Shuts the plug-in down if the test left it started.
  void TearDown() override;

  pello::harness::HostedPlugin &hosted() { return *hosted_; }
  pello::host::Host &host() { return hosted_->host(); }
  pello::host::Plugin &plugin() { return hosted_->plugin(); }
  pello::host::DialogManager &dialogs() { return hosted_->dialogs(); }
  pello::host::Preferences &preferences() { return hosted_->preferences(); }
  pello::host::Document &document() { return hosted_->document(); }
  Globals *globals() { return pluginGlobals(host()); }
  // The "Pello Palette" menu item; null before startup.
  pello::host::MenuItem *menuItem();

  // Startup, then the application-started notification. Sets `palette`.
  void startPalette();
  // The user quits the host (the plug-in is shut down, the preferences
  // file written) and starts it again: a new host on the same preferences
  // file, the plug-in loaded but not started.
  void restartHost();

  // Clicks a palette item with `keys` held.
  bool click(int itemId, const std::vector<int> &keys = {});
  // Hands the palette item a notification of `type` without any click.
  void notifyItem(int itemId, const char *type);

  // The call log: its position now, and what was logged from `from` on.
  std::size_t mark() { return hosted_->mark(); }
  std::size_t callsSince(const std::string &op, std::size_t from) { return hosted_->callsSince(op, from); }
  // The ops from `from` on, without the host's own markers and the basic
  // suite's string comparisons.
  std::vector<std::string> opsSince(std::size_t from) { return hosted_->opsSince(from); }
  // The records of `op` from `from` on.
  std::vector<pello::host::CallRecord> recordsSince(const std::string &op, std::size_t from) {
    return hosted_->recordsSince(op, from);
  }

  ADMDialogRef palette = nullptr;
  std::filesystem::path preferencesFile;

private:
  std::filesystem::path directory_;
  std::unique_ptr<pello::harness::HostedPlugin> hosted_;
};

} // namespace pello::test
