// The error dialog as the user sees it: the message looked up in the
// plug-in's error list and the code as a number or four characters. The
// codes reach PluginMain from a startup whose record cannot be allocated;
// the lists are the plug-in's own or ones the test gives its module.
#include "shellFixture.h"

#include "pello/host/PluginModule.h"

#include <map>

using namespace pello::host;

namespace {

// The loaded module with string list 16050 replaced by `entries` (entry k
// is string 16050 + k; the list ends at the first absent string).
class ListModule : public PluginModule {
public:
  ListModule(const PluginModule &real, const std::vector<std::string> &entries) : real_(real) {
    std::map<int, std::vector<std::string>> strings;
    for (std::size_t k = 0; k < entries.size(); ++k) {
      int id = 16051 + static_cast<int>(k);
      auto &block = strings[(id >> 4) + 1];
      block.resize(16);
      block[id & 15] = entries[k];
    }
    // The blocks the real list occupies, emptied unless given above.
    for (int block : {1004, 1005})
      strings[block].resize(16);
    for (auto &[block, texts] : strings) {
      std::vector<std::uint8_t> bytes;
      for (const std::string &text : texts) {
        bytes.push_back(static_cast<std::uint8_t>(text.size()));
        bytes.push_back(0);
        for (char c : text) {
          bytes.push_back(static_cast<std::uint8_t>(c));
          bytes.push_back(0);
        }
      }
      blocks_[block] = std::move(bytes);
    }
  }
  SPPluginMainProc entry() const override { return real_.entry(); }
  const PiPLInfo &pipl() const override { return real_.pipl(); }
  const std::filesystem::path &path() const override { return real_.path(); }
  const std::vector<std::uint8_t> *resource(const ResourceType &type, int id) const override {
    auto it = blocks_.find(id);
    if (type.name.empty() && type.number == kRtString && it != blocks_.end()) return &it->second;
    return real_.resource(type, id);
  }
  std::vector<int> resourceIds(const ResourceType &type) const override { return real_.resourceIds(type); }
  std::vector<std::string> exportedNames() const override { return real_.exportedNames(); }

private:
  const PluginModule &real_;
  std::map<int, std::vector<std::uint8_t>> blocks_;
};

class ErrorDialogTest : public ShellTest {
protected:
  void useList(const std::vector<std::string> &entries) {
    list_ = std::make_unique<ListModule>(*plugin.module(), entries);
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
  std::unique_ptr<ListModule> list_;
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
