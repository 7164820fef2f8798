// GetKeyboardState as the executable exports it to the plug-in module; on
// Windows, the thread's keyboard state that user32's GetKeyboardState reads.
#include "pello/host/Host.h"
#include "pello/host/Keyboard.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>

#include <array>
#else
#include <dlfcn.h>
#endif

using namespace pello::host;

#if defined(_WIN32)
// Windows: the plug-in reads user32's GetKeyboardState, so the host hands
// its table to the thread's keyboard state.

namespace {

std::array<BYTE, 256> threadState() {
  std::array<BYTE, 256> table;
  table.fill(0x55);
  EXPECT_NE(GetKeyboardState(table.data()), 0);
  return table;
}

} // namespace

TEST(Keyboard, TheHostSetsTheThreadsKeyboardState) {
  {
    Host host;
    Keyboard &keyboard = host.get<Keyboard>();
    keyboard.setKeys({0x10, 0x5C});
    std::array<BYTE, 256> table = threadState();
    for (int key = 0; key < 256; ++key)
      EXPECT_EQ(table[key], key == 0x10 || key == 0x5C ? 0x80 : 0) << "key " << key;

    keyboard.setKeys({0x12});
    EXPECT_EQ(threadState()[0x10], 0) << "setKeys clears the keys set before";
    EXPECT_EQ(threadState()[0x12], 0x80);
    keyboard.press(0x11);
    keyboard.releaseKey(0x12);
    EXPECT_EQ(threadState()[0x11], 0x80);
    EXPECT_EQ(threadState()[0x12], 0);
  }
  EXPECT_EQ(threadState()[0x11], 0) << "a host that ends leaves no key down for the next one";
}

// No test of failing reads here: the plug-in calls user32's GetKeyboardState
// directly, so the host can neither see nor fail its reads on Windows
// (Keyboard::kSeesReads is false).

#else

namespace {

using GetKeyboardStateProc = int (*)(unsigned char *);

// Found the way the plug-in's loader finds it: in the executable's dynamic
// symbols.
GetKeyboardStateProc exported() {
  return reinterpret_cast<GetKeyboardStateProc>(dlsym(RTLD_DEFAULT, "GetKeyboardState"));
}

} // namespace

TEST(Keyboard, TheExecutableExportsTheHostsKeyboardState) {
  GetKeyboardStateProc getState = exported();
  ASSERT_NE(getState, nullptr);
  unsigned char table[256];
  EXPECT_EQ(getState(table), 0) << "no host runs";

  Host host;
  Keyboard &keyboard = host.get<Keyboard>();
  keyboard.setKeys({0x10, 0x5C});
  std::fill(std::begin(table), std::end(table), 0x55);
  ASSERT_NE(getState(table), 0);
  for (int key = 0; key < 256; ++key)
    EXPECT_EQ(table[key], key == 0x10 || key == 0x5C ? 0x80 : 0) << "key " << key;

  keyboard.setKeys({0x12});
  ASSERT_NE(getState(table), 0);
  EXPECT_EQ(table[0x10], 0) << "setKeys clears the keys set before";
  EXPECT_EQ(table[0x12], 0x80);
}

TEST(Keyboard, AFailingReadWritesNothing) {
  Host host;
  Keyboard &keyboard = host.get<Keyboard>();
  keyboard.setKeys({0x11});
  keyboard.failReads(1);
  unsigned char table[256] = {};
  EXPECT_EQ(exported()(table), 0);
  EXPECT_EQ(table[0x11], 0);
  EXPECT_NE(exported()(table), 0);
  EXPECT_EQ(table[0x11], 0x80);

  host.faults().failOnCall("Win32::GetKeyboardState", 1, 1);
  table[0x11] = 0;
  EXPECT_EQ(exported()(table), 0);
  EXPECT_EQ(table[0x11], 0);
  EXPECT_EQ(keyboard.reads(), 2) << "the injected failure never reached the table";
}

#endif
