// The error dialog as the user sees it: the message looked up in the
// plug-in's error list and the code as a number or four characters. The
// codes reach PluginMain from a startup whose record cannot be allocated;
// the lists are the plug-in's own or ones the test gives its module.
#include "pello/harness/ErrorTextListModule.h"
#include "shellFixture.h"

#include "pello/host/PluginModule.h"

#include <map>

using namespace pello::host;

namespace {

class ErrorDialogTest : public ShellTest {
protected:
  void useList(const std::vector<std::string> &entries) {
    std::vector<std::u16string> texts;
    for (const std::string &entry : entries)
      texts.emplace_back(entry.begin(), entry.end());
    list_ = std::make_unique<pello::harness::ErrorTextListModule>(*plugin.module(), texts);
    dialogs.setModuleLookup([this](SPPluginRef ref) -> const PluginModule * {
      return ref == plugin.ref() ? list_.get() : nullptr;
    });
  }

  // The startup fails with `code`; the texts of the error dialog shown, or
  // nothing when none was.
  struct Shown {
    std::string message, code;
  };
  std::optional<Shown> report(ASErr code) {
    dialogs.clearModalHistory();
    host.faults().failOnCall("SPBlocks::AllocateBlock", 1, code);
    EXPECT_EQ(plugin.startup(), code) << "the code goes back to the host";
    host.faults().clear();
    EXPECT_EQ(host.suites().totalHolds(), 0);
    if (dialogs.modalHistory().empty()) return std::nullopt;
    const ModalRecord &dialog = dialogs.modalHistory().back();
    EXPECT_EQ(dialog.resourceId, 16051);
    EXPECT_EQ(dialog.title, "Plug-in Error");
    Shown shown;
    for (const ItemInfo &item : dialog.items) {
      if (item.id == 2) shown.message = item.text;
      if (item.id == 3) shown.code = item.text;
    }
    return shown;
  }

private:
  std::unique_ptr<pello::harness::ErrorTextListModule> list_;
};

} // namespace

TEST_F(ErrorDialogTest, CodesFoundInTheListShowTheirMessage) {
  useList({"ABCD", "Four characters", "-108", "Out of memory", "-1", "Minus one", "9", "The last pair"});
  auto shown = report(-108);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "Out of memory");
  EXPECT_EQ(shown->code, "-108");

  shown = report(-1);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "Minus one");
  EXPECT_EQ(shown->code, "-1") << "upper bits all ones: a number";

  shown = report(AS_FOURCC('A', 'B', 'C', 'D'));
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "Four characters");
  EXPECT_EQ(shown->code, "ABCD");
}

TEST_F(ErrorDialogTest, ACodeMissingFromTheListGetsTheLastPairsMessage) {
  useList({"-108", "Out of memory", "ABCD", "Four characters", "5", "The last pair"});
  auto shown = report(12345);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "The last pair");
  EXPECT_EQ(shown->code, "12345");

  shown = report(AS_FOURCC('W', 'X', 'Y', 'Z'));
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "The last pair");
  EXPECT_EQ(shown->code, "WXYZ");
}

TEST_F(ErrorDialogTest, NumericEntriesAreReadAsTheHostReadsThem) {
  // 40000 wraps to 40000 - 65536; 12.7 is cut to 12.
  useList({"40000", "Wrapped", "12.7", "Twelve", "0", "The last pair"});
  auto shown = report(40000 - 65536);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "Wrapped");
  EXPECT_EQ(shown->code, "-25536");

  shown = report(40000);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "The last pair");
  EXPECT_EQ(shown->code, "40000");

  shown = report(12);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "Twelve");
}

TEST_F(ErrorDialogTest, StopSuiteNotFoundAndSuccessShowNothing) {
  EXPECT_FALSE(report(kASStopError));
  EXPECT_FALSE(report(kSPSuiteNotFoundError));
  EXPECT_FALSE(report(0)) << "a call that succeeds reports nothing";
}

TEST_F(ErrorDialogTest, ThePluginsOwnListCoversTheHostsCodes) {
  auto shown = report(kSPOutOfMemoryError);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "There is not enough memory to complete the operation.");
  EXPECT_EQ(shown->code, "-108");

  shown = report(kSPBadParameterError);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->code, "Parm");
  EXPECT_NE(shown->message, "An unexpected error occurred.");

  shown = report(AS_FOURCC('Q', 'Q', 'Q', 'Q'));
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->message, "An unexpected error occurred.");
}
