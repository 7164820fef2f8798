// The menu item, notifier and shutdown handlers when the global record or
// the palette is missing, and when the palette already exists.
#include "fakeHost.h"
#include "menuHandler.h"
#include "notifierHandler.h"
#include "pluginHandler.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace {

AIMenuItemHandle const kPaletteItem = reinterpret_cast<AIMenuItemHandle>(std::uintptr_t{0x10});
AIMenuItemHandle const kOtherItem = reinterpret_cast<AIMenuItemHandle>(std::uintptr_t{0x20});
AINotifierHandle const kStartedNotifier = reinterpret_cast<AINotifierHandle>(std::uintptr_t{0x30});

class Handlers : public FakeHostTest {
protected:
  Globals record{};

  void startWithRecord() {
    record.showPelloDialog = kPaletteItem;
    record.appStartedNotifier = kStartedNotifier;
    record.PelloDialog = nullptr;
    g = &record;
  }

  AIMenuMessage menuMessage(AIMenuItemHandle item) {
    AIMenuMessage message{};
    message.menuItem = item;
    return message;
  }

  AINotifierMessage startedMessage() {
    AINotifierMessage message{};
    message.notifier = kStartedNotifier;
    message.type = kAIApplicationStartedNotifier;
    return message;
  }
};

} // namespace

TEST_F(Handlers, MenuCallsWithoutGlobalRecord) {
  auto message = menuMessage(kPaletteItem);
  EXPECT_EQ(goMenuItem(&message), kASNoError);
  EXPECT_TRUE(fakeHost.shows.empty());

  EXPECT_EQ(updateMenuItem(&message), kASNoError);
  ASSERT_EQ(fakeHost.checks.size(), 1u);
  EXPECT_EQ(fakeHost.checks[0].second, 0);
}

TEST_F(Handlers, MenuCallsWithoutPalette) {
  startWithRecord();
  fakeHost.paletteVisible = true; // nothing to be visible: there is no palette
  auto message = menuMessage(kPaletteItem);
  EXPECT_EQ(goMenuItem(&message), kASNoError);
  EXPECT_TRUE(fakeHost.shows.empty());
  EXPECT_EQ(updateMenuItem(&message), kASNoError);
  ASSERT_EQ(fakeHost.checks.size(), 1u);
  EXPECT_EQ(fakeHost.checks[0].second, 0);
}

TEST_F(Handlers, MenuItemTogglesThePaletteAndItsCheckMark) {
  startWithRecord();
  record.PelloDialog = fakePalette();
  auto message = menuMessage(kPaletteItem);

  goMenuItem(&message);
  updateMenuItem(&message);
  goMenuItem(&message);
  updateMenuItem(&message);
  EXPECT_EQ(fakeHost.shows, (std::vector<ASBoolean>{1, 0}));
  ASSERT_EQ(fakeHost.checks.size(), 2u);
  EXPECT_EQ(fakeHost.checks[0], std::make_pair(kPaletteItem, ASBoolean{1}));
  EXPECT_EQ(fakeHost.checks[1], std::make_pair(kPaletteItem, ASBoolean{0}));

  auto other = menuMessage(kOtherItem);
  EXPECT_EQ(goMenuItem(&other), kASNoError);
  EXPECT_EQ(fakeHost.shows.size(), 2u);
}

TEST_F(Handlers, NotifierWithoutGlobalRecordCreatesNothing) {
  auto message = startedMessage();
  EXPECT_EQ(goNotifier(&message), kASNoError);
  EXPECT_EQ(fakeHost.creates, 0);
}

TEST_F(Handlers, SecondStartedNotificationKeepsTheOnePalette) {
  startWithRecord();
  auto message = startedMessage();
  EXPECT_EQ(goNotifier(&message), kASNoError);
  EXPECT_EQ(fakeHost.creates, 1);
  EXPECT_EQ(record.PelloDialog, fakePalette());

  EXPECT_EQ(goNotifier(&message), kASNoError);
  EXPECT_EQ(fakeHost.creates, 1);
}

TEST_F(Handlers, OtherNotifierCreatesNothing) {
  startWithRecord();
  auto message = startedMessage();
  message.notifier = reinterpret_cast<AINotifierHandle>(std::uintptr_t{0x99});
  EXPECT_EQ(goNotifier(&message), kASNoError);
  EXPECT_EQ(fakeHost.creates, 0);
  EXPECT_EQ(record.PelloDialog, nullptr);
}

TEST_F(Handlers, ShutdownDestroysOnlyAnExistingPalette) {
  SPInterfaceMessage message{};
  pluginShutdown(&message); // no record
  startWithRecord();
  pluginShutdown(&message); // no palette
  EXPECT_EQ(fakeHost.destroys, 0);

  record.PelloDialog = fakePalette();
  pluginShutdown(&message);
  EXPECT_EQ(fakeHost.destroys, 1);
}
