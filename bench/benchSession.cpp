#include "benchSession.h"

#include "pello/harness/PluginSurface.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace pello::host;

namespace {

std::unique_ptr<BenchSession> gSession;

[[noreturn]] void fail(const std::string &what) {
  std::fprintf(stderr, "pello-bench: %s\n", what.c_str());
  std::exit(2);
}

template <class Suite> void acquire(SPBasicSuite *basic, const char *name, ai_int32 version, Suite *&suite) {
  const void *table = nullptr;
  if (basic->AcquireSuite(name, version, &table) != kASNoError) fail(std::string("no suite ") + name);
  suite = static_cast<Suite *>(const_cast<void *>(table));
}

struct SuiteName {
  const char *name;
  ai_int32 version;
};
constexpr SuiteName kArtSuiteNames[] = {
    {kSPBlocksSuite, kSPBlocksSuiteVersion},           {kAIArtSuite, kAIArtSuiteVersion},
    {kAIMatchingArtSuite, kAIMatchingArtSuiteVersion}, {kAIPathStyleSuite, kAIPathStyleSuiteVersion},
    {kAIRealMathSuite, kAIRealMathSuiteVersion},       {kAITextPathSuite, kAITextPathSuiteVersion},
    {kAIPlacedSuite, kAIPlacedSuiteVersion},           {kAIRasterSuite, kAIRasterSuiteVersion},
};

} // namespace

BenchSession &BenchSession::withPalette() {
  if (!gSession || !gSession->paletteUp()) {
    gSession.reset();
    gSession.reset(new BenchSession(true));
  }
  return *gSession;
}

BenchSession &BenchSession::withoutPalette() {
  if (!gSession || gSession->paletteUp()) {
    gSession.reset();
    gSession.reset(new BenchSession(false));
  }
  return *gSession;
}

void BenchSession::end() {
  gSession.reset();
}

BenchSession::BenchSession(bool palette)
    : hosted({PELLO_PLUGIN_PATH,
              {},
              [](Host &host) {
                // The host's records for tests grow with every call: off, as in use.
                host.log().setEnabled(false);
                host.suites().setRecordingEvents(false);
              },
              std::nullopt}),
      host(hosted.host()), plugin(hosted.plugin()), dialogs(hosted.dialogs()), document(hosted.document()) {
  if (pello::harness::Outcome loaded = hosted.load(); !loaded)
    fail("cannot load the plug-in: " + loaded.failure);
  if (palette) {
    if (pello::harness::Outcome started = hosted.start(); !started) fail(started.failure);
    paletteUp_ = true;
  } else if (hosted.startup() != kASNoError) {
    fail("the plug-in did not start");
  }
  menuItem_ = hosted.menuItem();
  if (!menuItem_) fail("the plug-in added no menu item");
  dialogs.setAlertListener(nullptr);
  acquireArtSuites();
}

BenchSession::~BenchSession() {
  releaseArtSuites();
  if (plugin.loaded()) hosted.shutdown();
}

void BenchSession::acquireArtSuites() {
  SPBasicSuite *basic = plugin.basic();
  acquire(basic, kSPBlocksSuite, kSPBlocksSuiteVersion, suites_.blocks);
  acquire(basic, kAIArtSuite, kAIArtSuiteVersion, suites_.art);
  acquire(basic, kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, suites_.matchingArt);
  acquire(basic, kAIPathStyleSuite, kAIPathStyleSuiteVersion, suites_.pathStyle);
  acquire(basic, kAIRealMathSuite, kAIRealMathSuiteVersion, suites_.realMath);
  acquire(basic, kAITextPathSuite, kAITextPathSuiteVersion, suites_.textPath);
  acquire(basic, kAIPlacedSuite, kAIPlacedSuiteVersion, suites_.placed);
  acquire(basic, kAIRasterSuite, kAIRasterSuiteVersion, suites_.raster);
}

void BenchSession::releaseArtSuites() {
  SPBasicSuite *basic = plugin.basic();
  for (const SuiteName &suite : kArtSuiteNames)
    basic->ReleaseSuite(suite.name, suite.version);
  suites_ = ArtSuites{};
}

bool BenchSession::click(int item, std::initializer_list<int> keys) {
  return paletteUp_ && hosted.click(item, keys);
}

bool BenchSession::chooseEntry(int index) {
  return paletteUp_ && hosted.choose(index);
}

ProcessMemory readProcessMemory() {
  ProcessMemory memory;
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    std::istringstream fields(line);
    std::string key;
    long value = 0;
    fields >> key >> value;
    if (key == "VmRSS:") memory.residentKiB = value;
    if (key == "VmHWM:") memory.peakKiB = value;
  }
  return memory;
}

std::string cpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      auto colon = line.find(':');
      return colon == std::string::npos ? line : line.substr(line.find_first_not_of(" \t", colon + 1));
    }
  }
  return "unknown";
}

long totalMemoryKiB() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  long value = 0;
  while (meminfo >> key >> value) {
    if (key == "MemTotal:") return value;
    meminfo.ignore(256, '\n');
  }
  return 0;
}
