#include "paletteFixture.h"

#include <optional>
#include <random>

using namespace pello::host;

namespace pello::test {

namespace {

std::filesystem::path freshDirectory() {
  const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::random_device random;
  std::string name = std::string("pello-palette-") + (test ? test->name() : "test") + "-" +
                     std::to_string(random()) + std::to_string(random());
  std::filesystem::path directory = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(directory);
  return directory;
}

} // namespace

PaletteTest::PaletteTest() : directory_(freshDirectory()) {
  preferencesFile = directory_ / "preferences.json";
}

PaletteTest::~PaletteTest() {
  hosted_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

void PaletteTest::SetUp() {
  hosted_ = std::make_unique<pello::harness::HostedPlugin>(
      pello::harness::HostedPluginOptions{PELLO_PLUGIN_PATH, preferencesFile, {}, std::nullopt});
  pello::harness::Outcome loaded = hosted_->load();
  ASSERT_TRUE(loaded) << loaded.failure;
}

void PaletteTest::TearDown() {
  if (hosted_ && plugin().loaded() && globals() != nullptr) plugin().shutdown();
}

MenuItem *PaletteTest::menuItem() {
  return host().get<Menus>().find(pello::harness::kMenuItemKey);
}

void PaletteTest::startPalette() {
  pello::harness::Outcome started = hosted_->start();
  ASSERT_TRUE(started) << started.failure;
  palette = dialogs().palette();
}

void PaletteTest::restartHost() {
  ASSERT_EQ(hosted_->shutdown(), kASNoError);
  palette = nullptr;
  pello::harness::Outcome restarted = hosted_->restart();
  ASSERT_TRUE(restarted) << restarted.failure;
}

bool PaletteTest::click(int itemId, const std::vector<int> &keys) {
  return bool(hosted_->click(itemId, keys));
}

void PaletteTest::notifyItem(int itemId, const char *type) {
  ASSERT_TRUE(dialogs().notify(palette, itemId, type)) << "item " << itemId;
}

} // namespace pello::test
