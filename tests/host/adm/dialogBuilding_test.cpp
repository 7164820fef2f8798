// Dialogs built from their templates: the items in pixels, the option menu
// button of tabbed palettes, and the dialogs that cannot be made.
#include "dialogManagerFixture.h"

using namespace pello::host;
using namespace pello::test;

namespace {

TEST_F(DialogManagerTest, BuildsAFloatingDialogFromItsTemplateInPixels) {
  ADMDialogRef dlg = createPalette(paletteInit);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init"}));
  EXPECT_EQ(dialog->GetPluginRef(dlg), plugin);

  const DialogInfo info = *dm.info(dlg);
  EXPECT_EQ(info.name, "Palette");
  EXPECT_EQ(info.title, "Pal");
  EXPECT_EQ(info.resourceId, kPaletteDialog);
  EXPECT_TRUE(info.visible);
  // 206 x 78 dialog units: x * 6 / 4, y * 13 / 8, rounded.
  EXPECT_EQ(info.bounds.left, 0);
  EXPECT_EQ(info.bounds.right, 309);
  EXPECT_EQ(info.bounds.bottom, 127);
  ASSERT_EQ(info.items.size(), 4u);
  EXPECT_EQ(info.items[0].kind, ItemKind::PicturePushButton);
  EXPECT_EQ(info.items[0].className, "ADM Picture Push Button Type");
  EXPECT_EQ(info.items[0].bounds.left, 72);
  EXPECT_EQ(info.items[0].bounds.top, 55);
  EXPECT_EQ(info.items[1].kind, ItemKind::PushButton);
  EXPECT_EQ(info.items[1].text, "Untransform");
  EXPECT_EQ(info.items[2].kind, ItemKind::TextStatic);
  EXPECT_EQ(info.items[2].className, "Static");
  EXPECT_EQ(info.items[3].id, kADMMenuItemID);
  EXPECT_EQ(info.items[3].kind, ItemKind::OptionMenuButton);

  EXPECT_EQ(text(dialog->GetItem(dlg, 11)), "Untransform");
  EXPECT_EQ(dialog->GetItem(dlg, 99), nullptr);
  EXPECT_EQ(dm.find("Palette"), dlg);
  EXPECT_EQ(dm.palette(), dlg);
}

TEST_F(DialogManagerTest, OnlyTabbedPalettesHaveTheOptionMenuButton) {
  ADMDialogRef plain = createPalette(nullptr, kADMFloatingDialogStyle);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(dialog->GetItem(plain, kADMMenuItemID), nullptr);
  ADMDialogRef tabbed = createPalette(nullptr, kADMTabbedFloatingDialogStyle);
  ADMItemRef button = dialog->GetItem(tabbed, kADMMenuItemID);
  ASSERT_NE(button, nullptr);
  EXPECT_NE(item->GetList(button), nullptr);
  EXPECT_EQ(item->GetList(dialog->GetItem(tabbed, 11)), nullptr);
}

TEST_F(DialogManagerTest, CreateFailsWithoutResourceOrWhenInitFails) {
  EXPECT_EQ(dialog->Create(plugin, "x", 12345, kADMFloatingDialogStyle, paletteInit, nullptr), nullptr);
  EXPECT_EQ(dialog->Create(nullptr, "x", kPaletteDialog, kADMFloatingDialogStyle, paletteInit, nullptr),
            nullptr);
  EXPECT_TRUE(gSeen.events.empty()) << "no dialog, no init proc";

  // A failing init proc: no dialog, but what it installed is undone.
  gSeen.failInit = true;
  EXPECT_EQ(createPalette(paletteInit), nullptr);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());

  // An init proc that destroys its own dialog.
  gSeen = Seen{};
  gSeen.destroyInInit = true;
  EXPECT_EQ(createPalette(paletteInit), nullptr);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
}

} // namespace
