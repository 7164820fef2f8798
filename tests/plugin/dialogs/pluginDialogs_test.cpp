// The dialog manager with the built plug-in: its error dialog, About box and
// palette as the host builds them from the plug-in's own resources, and the
// user's clicks and menu choices reaching the palette's procedures.
#include "ADMIcon.h"
#include "pello/harness/HostedPlugin.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Host.h"
#include "pello/host/Keyboard.h"
#include "pello/host/Plugin.h"

#include <gtest/gtest.h>

using namespace pello::harness;
using namespace pello::host;

namespace {

class PluginDialogsTest : public ::testing::Test {
protected:
  PluginDialogsTest()
      : hosted(PELLO_PLUGIN_PATH), host(hosted.host()), plugin(hosted.plugin()), dm(hosted.dialogs()) {}
  void SetUp() override {
    pello::harness::Outcome loaded = hosted.load();
    ASSERT_TRUE(loaded) << loaded.failure;
  }

  const ItemInfo *itemOf(const std::vector<ItemInfo> &items, int id) {
    for (const ItemInfo &item : items)
      if (item.id == id) return &item;
    return nullptr;
  }
  // Startup and the application-started notification: the palette is up.
  ADMDialogRef startWithPalette() {
    EXPECT_EQ(plugin.startup(), kASNoError);
    EXPECT_EQ(plugin.notifyApplicationStarted(), kASNoError);
    return dm.find("PelloDialog");
  }
  std::size_t count(const std::string &op, std::size_t from) { return hosted.callsSince(op, from); }

  pello::harness::HostedPlugin hosted;
  Host &host;
  Plugin &plugin;
  DialogManager &dm;
};

TEST_F(PluginDialogsTest, TheErrorDialogIsBuiltFromItsResourceFilledAndClosedWithOk) {
  host.faults().failOnCall("AIMenu::AddMenuItem", 1, kSPOutOfMemoryError);
  EXPECT_EQ(plugin.startup(), kSPOutOfMemoryError);
  ASSERT_EQ(dm.modalHistory().size(), 1u);
  const ModalRecord &shown = dm.modalHistory()[0];
  EXPECT_EQ(shown.name, "Error Dialog");
  EXPECT_EQ(shown.resourceId, 16051);
  EXPECT_EQ(shown.title, "Plug-in Error");
  ASSERT_EQ(shown.items.size(), 4u);
  EXPECT_EQ(shown.items[0].id, 1);
  EXPECT_EQ(shown.items[0].kind, ItemKind::PushButton);
  EXPECT_EQ(shown.items[0].text, "OK");
  EXPECT_TRUE(shown.items[0].hasNotifyProc);
  EXPECT_EQ(shown.items[1].id, 2);
  EXPECT_EQ(shown.items[1].kind, ItemKind::TextStatic);
  EXPECT_EQ(shown.items[1].text, "There is not enough memory to complete the operation.");
  EXPECT_EQ(shown.items[2].id, 3);
  EXPECT_EQ(shown.items[2].text, "-108");
  EXPECT_EQ(shown.items[3].id, 4);
  EXPECT_EQ(shown.items[3].kind, ItemKind::Frame);
  EXPECT_EQ(shown.result, 1) << "closed by the OK button's own procedure";
  EXPECT_FALSE(shown.forcedClose);
  EXPECT_TRUE(dm.dialogs().empty());
  EXPECT_EQ(plugin.shutdown(), kASNoError);
}

TEST_F(PluginDialogsTest, TheErrorDialogReadsThePluginsOwnList) {
  struct Case {
    ASErr code;
    const char *message;
    const char *text;
  };
  const Case cases[] = {
      {kSPBadParameterError, "The host could not use a value that the plug-in gave it.", "Parm"},
      {AS_FOURCC('A', 'B', 'C', 'D'), "An unexpected error occurred.", "ABCD"},
      {-1, "An unexpected error occurred.", "-1"},
  };
  for (const Case &c : cases) {
    dm.clearModalHistory();
    host.faults().failOnCall("AIMenu::AddMenuItem", 1, c.code);
    EXPECT_EQ(plugin.startup(), c.code);
    ASSERT_EQ(dm.modalHistory().size(), 1u) << c.text;
    EXPECT_EQ(dm.modalHistory()[0].items[1].text, c.message);
    EXPECT_EQ(dm.modalHistory()[0].items[2].text, c.text);
    EXPECT_EQ(plugin.shutdown(), kASNoError);
  }
  dm.clearModalHistory();
  host.faults().failOnCall("AIMenu::AddMenuItem", 1, kASStopError);
  EXPECT_EQ(plugin.startup(), kASStopError);
  EXPECT_TRUE(dm.modalHistory().empty()) << "'STOP' is never shown";
  EXPECT_EQ(plugin.shutdown(), kASNoError);
  EXPECT_TRUE(dm.modalHistory().empty());
}

TEST_F(PluginDialogsTest, TheAboutBoxOpensAndClosesWithOk) {
  ASSERT_EQ(plugin.startup(), kASNoError);
  EXPECT_EQ(plugin.about(), kASNoError);
  ASSERT_EQ(dm.modalHistory().size(), 1u);
  const ModalRecord &shown = dm.modalHistory()[0];
  EXPECT_EQ(shown.name, "About Dialog");
  EXPECT_EQ(shown.resourceId, 16050);
  EXPECT_EQ(shown.title, "About Pello Palette");
  ASSERT_EQ(shown.items.size(), 4u);
  EXPECT_EQ(shown.items[0].text, "OK");
  EXPECT_EQ(shown.items[1].id, 65535);
  EXPECT_EQ(shown.items[1].text, "Pello Palette, v 10.0");
  EXPECT_NE(shown.items[2].text.find('\r'), std::string::npos) << "lines separated by carriage returns";
  EXPECT_EQ(shown.items[3].kind, ItemKind::PictureStatic);
  EXPECT_EQ(shown.items[3].pictureId, 16502);
  EXPECT_EQ(shown.result, 1);
  EXPECT_FALSE(shown.forcedClose);

  // A user who leaves it open: the host closes it, the call still returns 0.
  dm.queueModalScript([](DialogManager &, ADMDialogRef) {});
  EXPECT_EQ(plugin.about(), kASNoError);
  EXPECT_TRUE(dm.modalHistory().back().forcedClose);
  EXPECT_EQ(plugin.shutdown(), kASNoError);
}

TEST_F(PluginDialogsTest, ThePluginsBitmapsMakeIcons) {
  const void *table = nullptr;
  ASSERT_EQ(host.suites().acquire(kADMIconSuite, kADMIconSuiteVersion, &table), kASNoError);
  const auto *icons = static_cast<const ADMIconSuite1 *>(table);
  for (int id = 1; id <= 8; ++id) {
    ADMIconRef arrow = icons->GetFromResource(plugin.ref(), id);
    ASSERT_NE(arrow, nullptr) << id;
    EXPECT_EQ(icons->GetWidth(arrow), 15);
    EXPECT_EQ(icons->GetHeight(arrow), 15);
    icons->Destroy(arrow);
  }
  ADMIconRef logo = icons->GetFromResource(plugin.ref(), 16502);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(icons->GetWidth(logo), 90);
  EXPECT_EQ(icons->GetHeight(logo), 39);
  icons->Destroy(logo);
  host.suites().release(kADMIconSuite, kADMIconSuiteVersion);
}

TEST_F(PluginDialogsTest, ThePaletteIsBuiltFromItsResourceAndWired) {
  ADMDialogRef palette = startWithPalette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(dm.palette(), palette);
  const DialogInfo info = *dm.info(palette);
  EXPECT_EQ(info.title, "Pello");
  EXPECT_EQ(info.style, kADMTabbedFloatingDialogStyle);
  ASSERT_EQ(info.items.size(), 16u) << "15 from the resource and the option-menu button";
  for (int id = 1; id <= 10; ++id) {
    const ItemInfo *button = itemOf(info.items, id);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->kind, ItemKind::PicturePushButton);
    EXPECT_TRUE(button->hasNotifyProc);
    EXPECT_EQ(button->itemStyle, id <= 8 ? 1 : 0);
    EXPECT_EQ(button->pictureId, id <= 8 ? id : (id == 9 ? 5 : 1));
  }
  EXPECT_EQ(itemOf(info.items, 11)->text, "Untransform");
  EXPECT_EQ(itemOf(info.items, 11)->kind, ItemKind::PushButton);
  EXPECT_EQ(itemOf(info.items, 13)->text, "Dashes");
  EXPECT_EQ(itemOf(info.items, 14)->kind, ItemKind::Frame);

  const ItemInfo *menu = itemOf(info.items, kADMMenuItemID);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->hasTrackProc);
  ASSERT_EQ(menu->entries.size(), 3u);
  EXPECT_EQ(menu->entries[0].text, "Copy transformation matrix");
  EXPECT_EQ(menu->entries[1].text, "Paste transformation matrixm");
  EXPECT_EQ(menu->entries[2].text, "Show transformation matrix");
  EXPECT_EQ(menu->entries[2].id, 3);

  // Created at 206 x 78 dialog units (309 x 127 pixels), placed flush into
  // the bottom-right corner of the 1600 x 1000 layout area, then given the
  // palette's own size.
  EXPECT_EQ(info.bounds.left, 1600 - 309);
  EXPECT_EQ(info.bounds.top, 1000 - 127 - 6);
  EXPECT_EQ(info.bounds.right, 1600 - 309 + 212);
  EXPECT_EQ(info.bounds.bottom, 1000 - 127 + 106);
  EXPECT_EQ(info.group, "VelmoraDialogs");
  EXPECT_EQ(info.positionCode, 0x1C00);
  EXPECT_EQ(plugin.shutdown(), kASNoError);
}

TEST_F(PluginDialogsTest, ClicksAndMenuChoicesReachThePalettesProcedures) {
  ADMDialogRef palette = startWithPalette();
  ASSERT_NE(palette, nullptr);

  // An arrow with Shift: the keys are read during the click, and the one
  // operation asks for the selection once.
  std::size_t from = host.log().records().size();
  ASSERT_TRUE(dm.click(palette, kUpArrow, {kVkShift}));
  EXPECT_EQ(count("AIMatchingArt::GetSelectedArt", from), 1u);
  // (On Windows the plug-in reads user32's keyboard state, unseen by the host.)
  if (Keyboard::kSeesReads) {
    EXPECT_GE(count("Win32::GetKeyboardState", from), 1u);
  }

  // "Show transformation matrix": the held matrix in an alert.
  dm.clearAlerts();
  from = host.log().records().size();
  ASSERT_TRUE(dm.chooseMenuEntry(palette, kShowEntry));
  EXPECT_EQ(count("ADMItem::DefaultTrack", from), 1u);
  EXPECT_EQ(count("AIMatchingArt::GetSelectedArt", from), 0u);
  ASSERT_EQ(dm.alerts().size(), 1u);
  EXPECT_EQ(dm.item(palette, kOptionMenuButton)->activeEntry, kShowEntry);

  // Hidden by the host's own controls, the palette takes no clicks.
  ASSERT_TRUE(dm.setVisible(palette, false));
  from = host.log().records().size();
  EXPECT_FALSE(dm.click(palette, 3));
  EXPECT_EQ(count("AIMatchingArt::GetSelectedArt", from), 0u);

  // Shutdown destroys it; its destroy procedure still sees it whole.
  from = host.log().records().size();
  EXPECT_EQ(plugin.shutdown(), kASNoError);
  EXPECT_FALSE(dm.isLive(palette));
  EXPECT_EQ(count("ADMDialogGroup::GetDialogGroupInfo", from), 1u);
  for (std::size_t i = from; i < host.log().records().size(); ++i) {
    const CallRecord &r = host.log().records()[i];
    if (r.op.rfind("ADM", 0) == 0) {
      EXPECT_EQ(r.result, kASNoError) << r.op << " " << r.argsText();
    }
  }
}

} // namespace
