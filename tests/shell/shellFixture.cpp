#include "shellFixture.h"

#include <ostream>

using namespace pello::host;

const std::vector<SuiteRow> kSuiteTable = {
    {"SP Blocks Suite", 2},     {"SP Access Suite", 3},        {"AI Fixed Math Suite", 2},
    {"AI Art Suite", 9},        {"AI Path Suite", 4},          {"AI Text Path Suite", 4},
    {"AI Path Style Suite", 5}, {"AI Pattern Suite", 7},       {"AI Placed Suite", 5},
    {"AI Raster Suite", 5},     {"AI User Suite", 5},          {"AI Context Suite", 3},
    {"AI Preference Suite", 2}, {"AI Runtime Suite", 7},       {"SP Access Suite", 3},
    {"AS Lib Suite", 1},        {"AI Matching Art Suite", 4},  {"AI Document Suite", 7},
    {"AI Real Math Suite", 1},  {"AI Transform Art Suite", 1}, {"AI Context Suite", 3},
    {"AI Menu Suite", 7},       {"AI Notifier Suite", 2},      {"ADM Basic Suite", 2},
    {"ADM Dialog Suite", 3},    {"ADM Item Suite", 4},         {"ADM Icon Suite", 1},
    {"ADM List Suite", 1},      {"ADM Dialog Group Suite", 1}, {"ADM Notifier Suite", 1},
    {"ADM Entry Suite", 2},     {"ADM Tracker Suite", 1},
};

std::ostream &operator<<(std::ostream &out, const SuiteCall &call) {
  return out << (call.acquire ? "Acquire(" : "Release(") << call.name << ", " << call.version
             << ") = " << codeName(call.result);
}

std::string codeName(ASErr code) {
  auto hi = static_cast<std::uint32_t>(code) >> 16;
  if (hi == 0 || hi == 0xFFFF) return std::to_string(code);
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8)
    text += static_cast<char>((static_cast<std::uint32_t>(code) >> shift) & 0xFF);
  return text + "'";
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
  for (const SuiteRow &row : held_)
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
