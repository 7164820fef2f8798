#include "shellFixture.h"

#include <ostream>

using namespace pello::host;

std::ostream &operator<<(std::ostream &out, const SuiteCall &call) {
  return out << (call.acquire ? "Acquire(" : "Release(") << call.name << ", " << call.version
             << ") = " << pello::harness::errorCodeText(call.result, pello::harness::CodeStyle::quoted);
}

ShellTest::ShellTest() : plugin(host.get<Plugin>()), dialogs(host.get<DialogManager>()) {}

void ShellTest::SetUp() {
  ASSERT_EQ(plugin.load(PELLO_PLUGIN_PATH), 0) << plugin.lastError();
}

Globals *ShellTest::globals() {
  for (const Blocks::Block &block : host.get<Blocks>().live())
    if (block.name == "globals" && block.size == sizeof(Globals))
      return static_cast<Globals *>(block.address);
  return nullptr;
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
  std::vector<std::string> out;
  for (const std::string &op : host.log().ops(from))
    if (op.rfind("Host::", 0) != 0 && op != "SPBasic::IsEqual") out.push_back(op);
  return out;
}
