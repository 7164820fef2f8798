#include "operationsFixture.h"

#include <sstream>

using namespace pello::host;

namespace {

std::string text(const ASRealMatrix &m) {
  std::ostringstream out;
  out << "(" << m.a << ", " << m.b << ", " << m.c << ", " << m.d << ", " << m.tx << ", " << m.ty << ")";
  return out.str();
}

} // namespace

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
    : hosted(PELLO_PLUGIN_PATH), host(hosted.host()), plugin(hosted.plugin()), dialogs(hosted.dialogs()),
      document(hosted.document()) {}

void OperationsTest::SetUp() {
  pello::harness::Outcome up = hosted.bringUp();
  ASSERT_TRUE(up) << up.failure;
  palette = hosted.palette();
  clearAlerts();
}

void OperationsTest::TearDown() {
  if (plugin.loaded()) hosted.shutdown();
}

void OperationsTest::open(std::vector<Json> art, const Strings &selection) {
  Json doc{{"patterns", Json::array({Json{{"name", "Stripes"}, {"tile", {0, 0, 10, 10}}}})},
           {"art", Json(std::move(art))},
           {"selection", selection}};
  pello::harness::Outcome opened = hosted.open(doc);
  ASSERT_TRUE(opened) << opened.failure;
  mark();
}

void OperationsTest::click(int item, std::initializer_list<int> keys) {
  pello::harness::Outcome clicked = hosted.click(item, keys);
  ASSERT_TRUE(clicked) << clicked.failure;
}

void OperationsTest::chooseEntry(int index) {
  pello::harness::Outcome chosen = hosted.choose(index);
  ASSERT_TRUE(chosen) << chosen.failure;
}

std::size_t OperationsTest::callsSince(const std::string &op) {
  return hosted.callsSince(op, mark_);
}

Globals *OperationsTest::globals() {
  if (Globals *record = pello::test::pluginGlobals(host)) return record;
  ADD_FAILURE() << "the plug-in holds no global record";
  static Globals none{};
  return &none;
}
