// Modal dialogs: the init proc, the scripted presses, OK when nothing closes
// the dialog, what the host records of each, and the dialogs that cannot be
// made or are destroyed while they run.
#include "dialogManagerFixture.h"

using namespace pello::host;
using namespace pello::test;

namespace {

ASErr ASAPI modalDestroyingInit(ADMDialogRef dlg) {
  DialogManagerTest &t = DialogManagerTest::t();
  modalInit(dlg);
  t.item->SetNotifyProc(t.dialog->GetItem(dlg, 1), destroyOwnDialog);
  return kASNoError;
}

TEST_F(DialogManagerTest, DestroyingARunningModalDialogEndsItWithoutAnItem) {
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalDestroyingInit, nullptr),
            -1);
  EXPECT_EQ(gSeen.events,
            (std::vector<std::string>{"init", "notify 1 ADM User Changed Notifier", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
  ASSERT_EQ(dm.modalHistory().size(), 1u);
  EXPECT_FALSE(dm.modalHistory()[0].forcedClose);
}

TEST_F(DialogManagerTest, ModalRunsInitPressesOkRecordsAndDestroys) {
  char message[] = "Something went wrong";
  const ai_int32 result =
      dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, message);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(gSeen.events,
            (std::vector<std::string>{"init", "notify 1 ADM User Changed Notifier", "destroy"}));
  EXPECT_TRUE(dm.dialogs().empty());
  ASSERT_EQ(dm.modalHistory().size(), 1u);
  const ModalRecord &shown = dm.modalHistory()[0];
  EXPECT_EQ(shown.name, "Box");
  EXPECT_EQ(shown.resourceId, kModalDialog);
  EXPECT_EQ(shown.title, "Box");
  EXPECT_EQ(shown.result, 1);
  EXPECT_FALSE(shown.forcedClose);
  ASSERT_EQ(shown.items.size(), 4u);
  EXPECT_EQ(shown.items[0].text, "OK");
  EXPECT_EQ(shown.items[1].id, 3);
  EXPECT_EQ(shown.items[1].text, "Something went wrong") << "texts as the init proc left them";
}

TEST_F(DialogManagerTest, ModalFollowsAScriptAndIsClosedWithOkWhenNothingClosesIt) {
  dm.queueModalScript(DialogManager::pressItem(5)); // a button that does not close the dialog
  dm.queueModalScript([](DialogManager &manager, ADMDialogRef dlg) {
    EXPECT_EQ(manager.item(dlg, 3)->text, "second");
    manager.click(dlg, 2); // Cancel, through its default handling
  });
  char first[] = "first", second[] = "second";
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, first), 1);
  EXPECT_TRUE(dm.modalHistory().back().forcedClose);
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, second), 2);
  EXPECT_FALSE(dm.modalHistory().back().forcedClose);
  EXPECT_EQ(dm.modalHistory().size(), 2u);
  // Without an init proc, OK's default handling closes the dialog.
  EXPECT_EQ(dialog->Modal(plugin, "Bare", kModalDialog, kADMModalDialogStyle, nullptr, nullptr), 1);
  EXPECT_FALSE(dm.modalHistory().back().forcedClose);
}

TEST_F(DialogManagerTest, ModalThatCannotBeMadeReturnsMinusOne) {
  EXPECT_EQ(dialog->Modal(plugin, "Box", 999, kADMModalDialogStyle, modalInit, nullptr), -1);
  gSeen.failInit = true;
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, nullptr), -1);
  EXPECT_EQ(gSeen.events, (std::vector<std::string>{"init", "destroy"}));
  EXPECT_TRUE(dm.modalHistory().empty());
  EXPECT_TRUE(dm.dialogs().empty());
}

} // namespace
