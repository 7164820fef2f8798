// The plug-in loaded into a stand-in host the way the host runs it: loaded,
// started, its palette up (or not), the call log off. One host runs per
// process, so a session with other settings replaces the current one.
#pragma once

#include "AIArt.h"
#include "AIMatchingArt.h"
#include "AIMenu.h"
#include "AIPathStyle.h"
#include "AIPlaced.h"
#include "AIRaster.h"
#include "AIRealMath.h"
#include "AITextPath.h"
#include "SPBlocks.h"
#include "pello/harness/HostedPlugin.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/Host.h"
#include "pello/host/Plugin.h"

#include <initializer_list>
#include <memory>
#include <string>

// The suite tables the art operations use, acquired from the host's basic
// suite as the plug-in acquires them: the same functions it calls.
struct ArtSuites {
  SPBlocksSuite *blocks = nullptr;
  AIArtSuite *art = nullptr;
  AIMatchingArtSuite *matchingArt = nullptr;
  AIPathStyleSuite *pathStyle = nullptr;
  AIRealMathSuite *realMath = nullptr;
  AITextPathSuite *textPath = nullptr;
  AIPlacedSuite *placed = nullptr;
  AIRasterSuite *raster = nullptr;
};

class BenchSession {
public:
  // The session with the palette up, or the one where the host never sent
  // the application-started notification (no palette). Aborts with a
  // message when the plug-in cannot be loaded or started.
  static BenchSession &withPalette();
  static BenchSession &withoutPalette();
  // Shuts the plug-in down and ends the host (at the end of the program).
  static void end();

  ~BenchSession();
  BenchSession(const BenchSession &) = delete;
  BenchSession &operator=(const BenchSession &) = delete;

  // A palette click on `item` with the virtual keys `keys` held, and a
  // choice in the palette's option menu; false when the host refused it.
  bool click(int item, std::initializer_list<int> keys = {});
  bool chooseEntry(int index);

  // The plug-in's menu item "Pello Palette".
  AIMenuItemHandle menuItem() const { return menuItem_; }
  bool paletteUp() const { return paletteUp_; }
  const ArtSuites &suites() const { return suites_; }

  pello::harness::HostedPlugin hosted;
  pello::host::Host &host;
  pello::host::Plugin &plugin;
  pello::host::DialogManager &dialogs;
  pello::host::Document &document;

private:
  explicit BenchSession(bool palette);
  void acquireArtSuites();
  void releaseArtSuites();

  bool paletteUp_ = false;
  AIMenuItemHandle menuItem_ = nullptr;
  ArtSuites suites_;
};

// Process figures from /proc/self/status, in KiB (0 where unknown).
struct ProcessMemory {
  long residentKiB = 0; // VmRSS
  long peakKiB = 0;     // VmHWM
};
ProcessMemory readProcessMemory();

// The machine, for the benchmark's context: CPU model, total memory.
std::string cpuModel();
long totalMemoryKiB();
