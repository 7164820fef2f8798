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
  host_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

void PaletteTest::startHost() {
  host_ = std::make_unique<Host>();
  preferences().setFile(preferencesFile);
  ASSERT_EQ(plugin().load(PELLO_PLUGIN_PATH), kASNoError) << plugin().lastError();
}

void PaletteTest::SetUp() {
  startHost();
}

void PaletteTest::TearDown() {
  if (host_ && plugin().loaded() && globals() != nullptr) plugin().shutdown();
}

MenuItem *PaletteTest::menuItem() {
  return host_->get<Menus>().find("Pello Palette Menu Item");
}

void PaletteTest::startPalette() {
  ASSERT_EQ(plugin().startup(), kASNoError);
  ASSERT_EQ(plugin().notifyApplicationStarted(), kASNoError);
  palette = dialogs().palette();
  ASSERT_NE(palette, nullptr);
}

void PaletteTest::restartHost() {
  ASSERT_EQ(plugin().shutdown(), kASNoError);
  palette = nullptr;
  host_.reset();
  startHost();
}

bool PaletteTest::click(int itemId, const std::vector<int> &keys) {
  // The dialog manager takes the held keys as a list written out in place.
  switch (keys.size()) {
  case 0:
    return dialogs().click(palette, itemId);
  case 1:
    return dialogs().click(palette, itemId, {keys[0]});
  case 2:
    return dialogs().click(palette, itemId, {keys[0], keys[1]});
  case 3:
    return dialogs().click(palette, itemId, {keys[0], keys[1], keys[2]});
  case 4:
    return dialogs().click(palette, itemId, {keys[0], keys[1], keys[2], keys[3]});
  default:
    ADD_FAILURE() << "at most four keys at once";
    return false;
  }
}

void PaletteTest::notifyItem(int itemId, const char *type) {
  ASSERT_TRUE(dialogs().notify(palette, itemId, type)) << "item " << itemId;
}

std::size_t PaletteTest::callsSince(const std::string &op, std::size_t from) {
  return recordsSince(op, from).size();
}

std::vector<std::string> PaletteTest::opsSince(std::size_t from) {
  std::vector<std::string> out;
  for (const std::string &op : host_->log().ops(from))
    if (op.rfind("Host::", 0) != 0 && op != "SPBasic::IsEqual") out.push_back(op);
  return out;
}

std::vector<CallRecord> PaletteTest::recordsSince(const std::string &op, std::size_t from) {
  std::vector<CallRecord> out;
  const std::vector<CallRecord> &records = host_->log().records();
  for (std::size_t i = from; i < records.size(); ++i)
    if (records[i].op == op) out.push_back(records[i]);
  return out;
}

} // namespace pello::test
