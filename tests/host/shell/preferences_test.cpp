// The host's preferences: kept in a file across host restarts, typed, and
// never the reason a host fails to start.
#include "AIPreference.h"
#include "pello/host/Host.h"
#include "pello/host/Preferences.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include <unistd.h>

using namespace pello::host;

namespace {

class PreferencesTest : public ::testing::Test {
protected:
  PreferencesTest()
      : file_(std::filesystem::temp_directory_path() /
              ("pello-prefs-" + std::to_string(::getpid()) + ".json")) {
    std::filesystem::remove(file_);
  }
  ~PreferencesTest() override {
    std::error_code ec;
    std::filesystem::remove(file_, ec);
  }

  static const AIPreferenceSuite *suite(Host &host) {
    const void *table = nullptr;
    EXPECT_EQ(host.suites().acquire("AI Preference Suite", 2, &table), 0);
    return static_cast<const AIPreferenceSuite *>(table);
  }

  void writeFile(const std::string &text) { std::ofstream(file_, std::ios::binary) << text; }

  std::filesystem::path file_;
};

} // namespace

TEST_F(PreferencesTest, ValuesSurviveAHostRestart) {
  {
    Host host;
    host.get<Preferences>().setFile(file_);
    const AIPreferenceSuite *prefs = suite(host);
    ASPoint location{120, -40};
    EXPECT_EQ(prefs->PutStringPreference("Pello", "kADM_DPDockGroupStr", "VelmoraDialogs"), 0);
    EXPECT_EQ(prefs->PutIntegerPreference("Pello", "kADM_DPDockCodeStr", 0x1002), 0);
    EXPECT_EQ(prefs->PutPointPreference("Pello", "kADM_DPLocationStr", &location), 0);
    EXPECT_EQ(prefs->PutBooleanPreference("Pello", "kADM_DPVisibleStr", 1), 0);
  } // the host writes the file as it quits

  Host host;
  host.get<Preferences>().setFile(file_);
  EXPECT_TRUE(host.get<Preferences>().warnings().empty());
  const AIPreferenceSuite *prefs = suite(host);
  char group[64] = {};
  ai_int32 code = 0;
  ASPoint location{};
  ASBoolean visible = 0;
  EXPECT_EQ(prefs->GetStringPreference("Pello", "kADM_DPDockGroupStr", group, sizeof group), 0);
  EXPECT_STREQ(group, "VelmoraDialogs");
  EXPECT_EQ(prefs->GetIntegerPreference("Pello", "kADM_DPDockCodeStr", &code), 0);
  EXPECT_EQ(code, 0x1002);
  EXPECT_EQ(prefs->GetPointPreference("Pello", "kADM_DPLocationStr", &location), 0);
  EXPECT_EQ(location.h, 120);
  EXPECT_EQ(location.v, -40);
  EXPECT_EQ(prefs->GetBooleanPreference("Pello", "kADM_DPVisibleStr", &visible), 0);
  EXPECT_EQ(visible, 1);
}

// The file is JSON, which holds only UTF-8: bytes a module passes that are
// not are stored as U+FFFD, found again by the same bytes, and saved.
TEST_F(PreferencesTest, TextsThatAreNotUtf8AreKeptWithReplacementCharacters) {
  {
    Host host;
    host.get<Preferences>().setFile(file_);
    const AIPreferenceSuite *prefs = suite(host);
    EXPECT_EQ(prefs->PutStringPreference("Pello", "group\xFF", "Floaters \xC0"), 0);
    char read[64] = {};
    EXPECT_EQ(prefs->GetStringPreference("Pello", "group\xFF", read, sizeof read), 0);
    EXPECT_STREQ(read, "Floaters \xEF\xBF\xBD");
  }
  Host host;
  host.get<Preferences>().setFile(file_);
  EXPECT_TRUE(host.get<Preferences>().warnings().empty()) << host.get<Preferences>().warnings().front();
  EXPECT_EQ(host.get<Preferences>().getString("Pello", "group\xEF\xBF\xBD"), "Floaters \xEF\xBF\xBD");
}

TEST_F(PreferencesTest, ADamagedFileMeansDefaultsAndAWarning) {
  for (const char *damage :
       {"{\"Pello\": {\"kADM_DPDockCodeStr\": {\"type\": \"integer\", \"value\": 1", "[1, 2, 3]",
        "{\"Pello\": 5}", "{\"Pello\": {\"x\": {\"type\": \"integer\", \"value\": 99999999999}}}",
        "{\"Pello\": {\"x\": {\"type\": \"point\", \"value\": {\"h\": 1}}}}", "\xFF\xFE\x00"}) {
    writeFile(damage);
    Host host;
    Preferences &prefs = host.get<Preferences>();
    prefs.setFile(file_);
    EXPECT_EQ(prefs.size(), 0u) << damage;
    ASSERT_EQ(prefs.warnings().size(), 1u) << damage;
    EXPECT_NE(prefs.warnings()[0].find("damaged"), std::string::npos);
    // The user's file is kept, byte for byte, before anything writes over it.
    std::filesystem::path kept = file_;
    kept += ".bak";
    std::ifstream keptFile(kept, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(keptFile), {}), damage);
    EXPECT_NE(prefs.warnings()[0].find(kept.string()), std::string::npos) << prefs.warnings()[0];
    ai_int32 code = 7;
    EXPECT_EQ(suite(host)->GetIntegerPreference("Pello", "kADM_DPDockCodeStr", &code),
              kAIPreferenceNotFoundError);
    EXPECT_EQ(code, 7);
    prefs.putInteger("Pello", "kADM_DPDockCodeStr", 3);
  }
  // The host wrote a sound file over the damaged one when it quit.
  Host host;
  host.get<Preferences>().setFile(file_);
  EXPECT_TRUE(host.get<Preferences>().warnings().empty());
  EXPECT_EQ(host.get<Preferences>().getInteger("Pello", "kADM_DPDockCodeStr"), 3);
  std::filesystem::path kept = file_;
  kept += ".bak";
  std::filesystem::remove(kept);
}

TEST_F(PreferencesTest, AFileNestedTooDeepIsDamagedAndTheWarningSaysWhere) {
  writeFile("{\"Pello\": " + std::string(100000, '[') + std::string(100000, ']') + "}");
  Host host;
  Preferences &prefs = host.get<Preferences>();
  prefs.setFile(file_);
  EXPECT_EQ(prefs.size(), 0u);
  ASSERT_EQ(prefs.warnings().size(), 1u);
  EXPECT_NE(prefs.warnings()[0].find(
                "is damaged (Pello[0][0][0][0][0][0][0]...[0][0][0][0]: nested deeper than 256"),
            std::string::npos)
      << prefs.warnings()[0];
  std::filesystem::path kept = file_;
  kept += ".bak";
  std::filesystem::remove(kept);
}

TEST_F(PreferencesTest, AFolderWhereTheFileShouldBeMeansDefaultsAndAWarning) {
  std::filesystem::create_directory(file_);
  {
    Host host;
    Preferences &prefs = host.get<Preferences>();
    prefs.setFile(file_);
    EXPECT_EQ(prefs.size(), 0u);
    ASSERT_EQ(prefs.warnings().size(), 1u);
    EXPECT_NE(prefs.warnings()[0].find("not a file"), std::string::npos) << prefs.warnings()[0];
    prefs.putInteger("Pello", "kADM_DPDockCodeStr", 3);
    EXPECT_FALSE(prefs.save());
  }
  EXPECT_TRUE(std::filesystem::is_directory(file_));
  std::filesystem::remove_all(file_);
}

TEST_F(PreferencesTest, GettersCheckTypeAndRoom) {
  Host host;
  const AIPreferenceSuite *prefs = suite(host);
  ASSERT_EQ(prefs->PutStringPreference("Pello", "name", "VelmoraDialogs"), 0);
  char small[14];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(prefs->GetStringPreference("Pello", "name", small, sizeof small), kASBufferTooSmallError);
  EXPECT_EQ(small[0], 'x') << "a string that does not fit leaves the buffer untouched";
  char exact[15];
  EXPECT_EQ(prefs->GetStringPreference("Pello", "name", exact, sizeof exact), 0);
  EXPECT_STREQ(exact, "VelmoraDialogs");

  ai_int32 number = 5;
  EXPECT_EQ(prefs->GetIntegerPreference("Pello", "name", &number), kAIPreferenceNotFoundError);
  EXPECT_EQ(number, 5);
  EXPECT_EQ(prefs->GetIntegerPreference("Other", "name", &number), kAIPreferenceNotFoundError);
  // A put replaces whatever was stored, type and all.
  ASSERT_EQ(prefs->PutIntegerPreference("Pello", "name", 12), 0);
  EXPECT_EQ(prefs->GetIntegerPreference("Pello", "name", &number), 0);
  EXPECT_EQ(number, 12);
  EXPECT_EQ(prefs->GetStringPreference("Pello", "name", exact, sizeof exact), kAIPreferenceNotFoundError);
  EXPECT_EQ(prefs->GetStringPreference(nullptr, "name", exact, sizeof exact), kSPBadParameterError);
}
