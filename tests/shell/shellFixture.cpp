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

namespace {

// The value of `key` in a log record's "key=value, ..." arguments, quotes
// removed.
std::string argument(const std::string &args, const std::string &key) {
  std::size_t at = args.find(key + "=");
  if (at == std::string::npos) return {};
  at += key.size() + 1;
  if (at < args.size() && args[at] == '"') {
    std::size_t end = args.find('"', at + 1);
    return args.substr(at + 1, end - at - 1);
  }
  std::size_t end = args.find(',', at);
  return args.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

} // namespace

std::vector<SuiteCall> ShellTest::suiteCalls(std::size_t from) {
  std::vector<SuiteCall> out;
  const auto &records = host.log().records();
  for (std::size_t i = from; i < records.size(); ++i) {
    const CallRecord &r = records[i];
    bool acquire = r.op == "SPBasic::AcquireSuite";
    if (!acquire && r.op != "SPBasic::ReleaseSuite") continue;
    out.push_back({acquire, argument(r.args, "name"), std::stoi(argument(r.args, "version")), r.result});
  }
  return out;
}

std::vector<std::string> ShellTest::opsSince(std::size_t from) {
  return hosted.opsSince(from);
}
