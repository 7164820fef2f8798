// The plug-in loaded and started in a stand-in host, its palette up, and a
// document to work on: tests click the palette and choose its option-menu
// entries as the user would, then read the document, the alerts and the
// call log.
#pragma once

#include "pello/harness/ArtDocuments.h"
#include "pello/harness/HostedPlugin.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/Host.h"
#include "pello/host/Plugin.h"
#include "pluginGlobals.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

// Art objects for test documents; every document defines the pattern
// "Stripes".
using pello::harness::dashedPath;
using pello::harness::mysteryPath;
using pello::harness::patternPath;
using pello::harness::placedArt;
using pello::harness::rasterArt;
using pello::harness::solidPath;
using pello::harness::textArt;
using pello::host::identical;
using pello::host::Json;
// Any other kind of art; groups and compound paths hold one solid path.
Json otherArt(const std::string &id, int type);

class OperationsTest : public ::testing::Test {
protected:
  OperationsTest();
  void SetUp() override;
  void TearDown() override;

  // Opens a document of `art` with `selection` selected, in that order.
  void open(std::vector<Json> art, const Strings &selection);

  // The palette's buttons and option-menu entries.
  void click(int item, std::initializer_list<int> keys = {});
  void copyMatrix() { chooseEntry(pello::harness::kCopyEntry); }
  void pasteMatrix() { chooseEntry(pello::harness::kPasteEntry); }
  void showMatrix() { chooseEntry(pello::harness::kShowEntry); }

  // Alerts shown since the last clear, in order.
  Strings alerts() const { return dialogs.alerts(); }
  void clearAlerts() { dialogs.clearAlerts(); }
  // Calls of `op` logged since the last mark().
  std::size_t callsSince(const std::string &op);
  void mark() { mark_ = hosted.mark(); }

  const AIPathStyle &style(const std::string &id) const { return document.style(id); }
  const ASRealMatrix &patternMatrix(const std::string &id) const {
    return document.style(id).fill.color.c.p.transform;
  }
  ASReal dashOffset(const std::string &id) const { return document.style(id).stroke.dash.offset; }
  const ASRealMatrix &scrapMatrix() { return globals()->scrapMatrix; }
  // The plug-in's global record: the block it allocated at startup.
  Globals *globals();

  pello::harness::HostedPlugin hosted;
  pello::host::Host &host;
  pello::host::Plugin &plugin;
  pello::host::DialogManager &dialogs;
  pello::host::Document &document;
  ADMDialogRef palette = nullptr;

private:
  void chooseEntry(int index);
  std::size_t mark_ = 0;
};

// Matrices compare bit for bit, with a readable message.
::testing::AssertionResult sameMatrix(const ASRealMatrix &actual, const ASRealMatrix &expected);
