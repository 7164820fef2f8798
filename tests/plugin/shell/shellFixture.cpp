#include "shellFixture.h"

#include <ostream>

using namespace pello::host;

std::ostream &operator<<(std::ostream &out, const SuiteCall &call) {
  return out << (call.acquire ? "Acquire(" : "Release(") << call.name << ", " << call.version
             << ") = " << pello::harness::errorCodeText(call.result, pello::harness::CodeStyle::quoted);
}

ShellTest::ShellTest()
    : hosted(PELLO_PLUGIN_PATH), host(hosted.host()), plugin(hosted.plugin()), dialogs(hosted.dialogs()) {}

void ShellTest::SetUp() {
  pello::harness::Outcome loaded = hosted.load();
  ASSERT_TRUE(loaded) << loaded.failure;
}

Globals *ShellTest::globals() {
  return pello::test::pluginGlobals(host);
}

void ShellTest::TearDown() {
  for (const pello::harness::SuiteRow &row : held_)
    host.suites().release(row.name, row.version);
}

std::vector<SuiteCall> ShellTest::suiteCalls(std::size_t from) {
  std::vector<SuiteCall> out;
  const auto &records = host.log().records();
  for (std::size_t i = from; i < records.size(); ++i) {
    const CallRecord &r = records[i];
    bool acquire = r.op == "SPBasic::AcquireSuite";
    if (!acquire && r.op != "SPBasic::ReleaseSuite") continue;
    const std::string *name = r.arg("name") ? r.arg("name")->text() : nullptr;
    const std::optional<double> version = r.arg("version") ? r.arg("version")->number() : std::nullopt;
    out.push_back({acquire, name ? *name : "", version ? static_cast<int>(*version) : -1, r.result});
  }
  return out;
}

std::vector<std::string> ShellTest::opsSince(std::size_t from) {
  return hosted.opsSince(from);
}
