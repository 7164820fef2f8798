#include "operationsFixture.h"

#include <sstream>

using namespace pello::host;

namespace {

Json matrix(const ASRealMatrix &m) {
  return Json::array({m.a, m.b, m.c, m.d, m.tx, m.ty});
}

std::string text(const ASRealMatrix &m) {
  std::ostringstream out;
  out << "(" << m.a << ", " << m.b << ", " << m.c << ", " << m.d << ", " << m.tx << ", " << m.ty << ")";
  return out.str();
}

} // namespace

Json patternPath(const std::string &id, const ASRealMatrix &transform) {
  return Json{
      {"id", id},
      {"type", "path"},
      {"rectangle", {0, 0, 100, 50}},
      {"style",
       {{"fillPaint", true},
        {"fill",
         {{"color", {{"kind", "pattern"}, {"pattern", "Stripes"}, {"transform", matrix(transform)}}}}}}}};
}

Json dashedPath(const std::string &id, std::vector<float> dashes, float offset) {
  return Json{{"id", id},
              {"type", "path"},
              {"polygon", {{0, 0}, {100, 0}}},
              {"closed", false},
              {"style",
               {{"strokePaint", true},
                {"stroke", {{"width", 2}, {"dash", {{"array", dashes}, {"offset", offset}}}}}}}};
}

Json solidPath(const std::string &id) {
  return Json{{"id", id},
              {"type", "path"},
              {"rectangle", {0, 0, 10, 10}},
              {"style", {{"fillPaint", true}, {"fill", {{"color", {{"kind", "gray"}, {"gray", 0.5}}}}}}}};
}

Json textArt(const std::string &id, std::vector<ASRealMatrix> textPaths, int type) {
  Json paths = Json::array();
  for (const ASRealMatrix &m : textPaths)
    paths.push_back(Json{{"matrix", matrix(m)}, {"text", "line"}});
  return Json{{"id", id}, {"type", type}, {"textPaths", paths}};
}

Json placedArt(const std::string &id, const ASRealMatrix &m) {
  return Json{
      {"id", id}, {"type", "placed"}, {"matrix", matrix(m)}, {"size", {100, 50}}, {"file", "logo.eps"}};
}

Json rasterArt(const std::string &id, const ASRealMatrix &m) {
  return Json{{"id", id}, {"type", "raster"}, {"matrix", matrix(m)}, {"size", {64, 32}}};
}

Json mysteryPath(const std::string &id) {
  return Json{{"id", id}, {"type", "mysteryPath"}, {"polygon", {{0, 0}, {5, 5}, {0, 5}}}};
}

Json otherArt(const std::string &id, int type) {
  if (type == kGroupArt || type == kCompoundPathArt)
    return Json{{"id", id}, {"type", type}, {"children", Json::array({solidPath(id + ".child")})}};
  return Json{{"id", id}, {"type", type}};
}

::testing::AssertionResult sameMatrix(const ASRealMatrix &actual, const ASRealMatrix &expected) {
  if (identical(actual, expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "matrix " << text(actual) << ", expected " << text(expected);
}

OperationsTest::OperationsTest()
    : plugin(host.get<Plugin>()), dialogs(host.get<DialogManager>()), document(host.get<Document>()) {}

void OperationsTest::SetUp() {
  ASSERT_EQ(plugin.load(PELLO_PLUGIN_PATH), kASNoError) << plugin.lastError();
  ASSERT_EQ(plugin.startup(), kASNoError);
  ASSERT_EQ(plugin.notifyApplicationStarted(), kASNoError);
  palette = dialogs.palette();
  ASSERT_NE(palette, nullptr);
  clearAlerts();
}

void OperationsTest::TearDown() {
  if (plugin.loaded()) plugin.shutdown();
}

void OperationsTest::open(std::vector<Json> art, const Strings &selection) {
  Json doc{{"patterns", Json::array({Json{{"name", "Stripes"}, {"tile", {0, 0, 10, 10}}}})},
           {"art", Json(std::move(art))},
           {"selection", selection}};
  document.open(readDocument(doc));
  mark();
}

void OperationsTest::click(int item, std::initializer_list<int> keys) {
  ASSERT_TRUE(dialogs.click(palette, item, keys)) << "item " << item;
}

void OperationsTest::chooseEntry(int index) {
  ASSERT_TRUE(dialogs.chooseMenuEntry(palette, index)) << "entry " << index;
}

std::size_t OperationsTest::callsSince(const std::string &op) {
  std::size_t n = 0;
  const auto &records = host.log().records();
  for (std::size_t i = mark_; i < records.size(); ++i)
    n += records[i].op == op;
  return n;
}

Globals *OperationsTest::globals() {
  for (const Blocks::Block &block : host.get<Blocks>().live())
    if (block.name == "globals" && block.size == sizeof(Globals))
      return static_cast<Globals *>(block.address);
  ADD_FAILURE() << "the plug-in holds no global record";
  static Globals none{};
  return &none;
}
