// How the host writes its preferences file: whole or not at all, through a
// link to the file, never through a link at the name of its temporary file,
// and never removing what it did not make.
#include "pello/host/Host.h"
#include "pello/host/Preferences.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include <unistd.h>

using namespace pello::host;
namespace fs = std::filesystem;

namespace {

class PreferencesFilesTest : public ::testing::Test {
protected:
  PreferencesFilesTest()
      : folder_(fs::temp_directory_path() / ("pello-prefs-files-" + std::to_string(::getpid()))) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~PreferencesFilesTest() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  // Saves one value to `file` as a host does when it quits; true when saved.
  static bool saveTo(const fs::path &file) {
    Host host;
    Preferences &prefs = host.get<Preferences>();
    prefs.setFile(file);
    prefs.putInteger("Pello", "kADM_DPDockCodeStr", 3);
    return prefs.save();
  }

  static std::string read(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

} // namespace

TEST_F(PreferencesFilesTest, ASavedFileIsWholeAndNothingIsLeftBeside) {
  ASSERT_TRUE(saveTo(folder_ / "prefs.json"));
  ASSERT_TRUE(saveTo(folder_ / "prefs.json"));
  EXPECT_NE(read(folder_ / "prefs.json").find("\"kADM_DPDockCodeStr\""), std::string::npos);
  EXPECT_EQ(entries(), std::vector<std::string>{"prefs.json"});
}

TEST_F(PreferencesFilesTest, AFailedSaveRemovesOnlyWhatItMade) {
  // The file's place taken by a folder (the rename fails), and a folder of
  // the user's at the name the host once used for its temporary file.
  fs::create_directories(folder_ / "prefs.json" / "kept");
  fs::create_directory(folder_ / "prefs.json.tmp");
  EXPECT_FALSE(saveTo(folder_ / "prefs.json"));
  EXPECT_TRUE(fs::is_directory(folder_ / "prefs.json" / "kept"));
  EXPECT_TRUE(fs::is_directory(folder_ / "prefs.json.tmp"));
  EXPECT_EQ(entries(), (std::vector<std::string>{"prefs.json", "prefs.json.tmp"}));
}

TEST_F(PreferencesFilesTest, ANewFileIsNeverMadeWhereSomethingStands) {
  std::string why;
  const fs::path fresh = folder_ / "fresh";
  EXPECT_EQ(writeNewFile(fresh, "text", folder_ / "none", why), NewFile::written) << why;
  EXPECT_EQ(read(fresh), "text");
  EXPECT_EQ(writeNewFile(fresh, "other", folder_ / "none", why), NewFile::taken);
  EXPECT_EQ(read(fresh), "text");
#ifndef _WIN32
  // A link at the name, to a file or to none yet, is not followed.
  fs::create_symlink(fresh, folder_ / "link");
  EXPECT_EQ(writeNewFile(folder_ / "link", "other", folder_ / "none", why), NewFile::taken);
  EXPECT_EQ(read(fresh), "text");
  fs::create_symlink(folder_ / "nowhere", folder_ / "dangling");
  EXPECT_EQ(writeNewFile(folder_ / "dangling", "other", folder_ / "none", why), NewFile::taken);
  EXPECT_FALSE(fs::exists(folder_ / "nowhere"));
#endif
}

#ifndef _WIN32
TEST_F(PreferencesFilesTest, ALinkedFileIsWrittenThroughAndTheLinkKept) {
  fs::create_directory(folder_ / "real");
  std::ofstream(folder_ / "real" / "prefs.json") << "{}";
  fs::permissions(folder_ / "real" / "prefs.json", fs::perms::owner_read | fs::perms::owner_write);
  // Two links, the first relative to its own folder.
  fs::create_symlink(folder_ / "real" / "prefs.json", folder_ / "real" / "second.json");
  fs::create_symlink("real/second.json", folder_ / "prefs.json");
  ASSERT_TRUE(saveTo(folder_ / "prefs.json"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "prefs.json"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "real" / "second.json"));
  EXPECT_NE(read(folder_ / "real" / "prefs.json").find("\"kADM_DPDockCodeStr\""), std::string::npos);
  // The file keeps its permissions, and nothing is left beside it.
  EXPECT_EQ(fs::status(folder_ / "real" / "prefs.json").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(entries(), (std::vector<std::string>{"prefs.json", "real"}));
}

TEST_F(PreferencesFilesTest, ALinkToNoFileYetMakesTheFileItNames) {
  fs::create_symlink("made.json", folder_ / "prefs.json");
  ASSERT_TRUE(saveTo(folder_ / "prefs.json"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "prefs.json"));
  EXPECT_NE(read(folder_ / "made.json").find("\"kADM_DPDockCodeStr\""), std::string::npos);
}
#endif
