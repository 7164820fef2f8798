#include "Report.h"

#include "pello/host/XmlText.h"

#include <array>
#include <map>
#include <utility>

namespace pello::validate {

namespace {

constexpr int kMessagesShown = 8;
constexpr std::array<Status, 6> kStatuses{Status::Passed,   Status::Failed,  Status::Crashed,
                                          Status::TimedOut, Status::Skipped, Status::Warning};

// The reason a check did not pass: how it crashed or timed out, why it was
// skipped, its first failure or its first warning.
std::string reasonOf(const CheckOutcome &outcome) {
  if (!outcome.reason.empty()) return outcome.reason;
  if (!outcome.messages.empty()) return outcome.messages.front();
  if (!outcome.warnings.empty()) return outcome.warnings.front();
  return {};
}

std::string seconds(double milliseconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", milliseconds / 1000);
  return text;
}

struct Tally {
  int tests = 0, failures = 0, errors = 0, skipped = 0;
  double milliseconds = 0;

  void add(const CheckOutcome &outcome) {
    ++tests;
    failures += outcome.status == Status::Failed;
    errors += outcome.status == Status::Crashed || outcome.status == Status::TimedOut;
    skipped += outcome.status == Status::Skipped;
    milliseconds += outcome.milliseconds;
  }
  std::string attributes() const {
    return " tests=\"" + std::to_string(tests) + "\" failures=\"" + std::to_string(failures) +
           "\" errors=\"" + std::to_string(errors) + "\" skipped=\"" + std::to_string(skipped) +
           "\" time=\"" + seconds(milliseconds) + "\"";
  }
};

std::string junitCase(const CheckRun &run) {
  const CheckOutcome &outcome = run.outcome;
  std::string xml = "    <testcase name=\"" + host::xmlEscaped(run.check->name) + "\" classname=\"validate." +
                    host::xmlEscaped(run.check->group) + "\" time=\"" + seconds(outcome.milliseconds) +
                    "\">\n";
  std::string details;
  for (const std::string &message : outcome.messages)
    details += message + "\n";
  if (!run.replay.empty()) details += "replay: " + run.replay + "\n";
  const std::string reason = host::xmlEscaped(reasonOf(outcome));
  switch (outcome.status) {
  case Status::Failed:
    xml += "      <failure message=\"" + reason + "\" type=\"failed\">" + host::xmlEscaped(details) +
           "</failure>\n";
    break;
  case Status::Crashed:
  case Status::TimedOut:
    xml += "      <error message=\"" + reason + "\" type=\"" + statusName(outcome.status) + "\">" +
           host::xmlEscaped(details) + "</error>\n";
    break;
  case Status::Skipped:
    xml += "      <skipped message=\"" + reason + "\"/>\n";
    break;
  default:
    break;
  }
  std::string said;
  if (!outcome.summary.empty()) said += "covered: " + outcome.summary + "\n";
  for (const std::string &warning : outcome.warnings)
    said += "warning: " + warning + "\n";
  if (!said.empty()) xml += "      <system-out>" + host::xmlEscaped(said) + "</system-out>\n";
  return xml + "    </testcase>\n";
}

std::string junitProperties(const RunReport &report, std::uint64_t seed) {
  const RunSettings &settings = report.settings;
  std::vector<std::pair<const char *, std::string>> properties = {
      {"plugin", settings.plugin},
      {"seed", std::to_string(seed)},
      {"steps", std::to_string(settings.steps)},
      {"strictness", std::to_string(settings.strictness)},
      {"timeout", std::to_string(settings.timeoutSeconds)}};
  if (!report.interrupted.empty()) properties.emplace_back("interrupted", report.interrupted);
  std::string xml = "    <properties>\n";
  for (const auto &[name, value] : properties)
    xml += "      <property name=\"" + std::string(name) + "\" value=\"" + host::xmlEscaped(value) + "\"/>\n";
  return xml + "    </properties>\n";
}

} // namespace

namespace {

// Each status as the reports name it and as the printed line shows it.
struct StatusNames {
  Status status;
  const char *name;
  const char *word;
};
constexpr StatusNames kStatusNames[] = {
    {Status::Passed, "passed", "ok"},      {Status::Warning, "warning", "WARN"},
    {Status::Skipped, "skipped", "SKIP"},  {Status::Failed, "failed", "FAIL"},
    {Status::Crashed, "crashed", "CRASH"}, {Status::TimedOut, "timed-out", "TIMEOUT"},
};

const StatusNames *namesOf(Status status) {
  for (const StatusNames &names : kStatusNames)
    if (names.status == status) return &names;
  return nullptr;
}

} // namespace

const char *statusName(Status status) {
  const StatusNames *names = namesOf(status);
  return names ? names->name : "?";
}

const char *statusWord(Status status) {
  const StatusNames *names = namesOf(status);
  return names ? names->word : "?";
}

void printOutcome(std::FILE *out, const CheckRun &run, bool verbose) {
  const CheckOutcome &outcome = run.outcome;
  std::fprintf(out, "%-7s %6.0f ms", statusWord(outcome.status), outcome.milliseconds);
  if (!outcome.summary.empty() && !outcome.faulty()) std::fprintf(out, "   %s", outcome.summary.c_str());
  std::fprintf(out, "\n");
  if (!outcome.reason.empty()) std::fprintf(out, "      %s\n", outcome.reason.c_str());
  const int shown = verbose ? static_cast<int>(outcome.messages.size()) : kMessagesShown;
  for (int m = 0; m < static_cast<int>(outcome.messages.size()) && m < shown; ++m)
    std::fprintf(out, "      %s\n", outcome.messages[static_cast<std::size_t>(m)].c_str());
  if (outcome.failures > shown) std::fprintf(out, "      ... %d failure(s) in all\n", outcome.failures);
  for (const std::string &warning : outcome.warnings)
    std::fprintf(out, "      warning: %s\n", warning.c_str());
  if (!run.replay.empty()) std::fprintf(out, "      replay: %s\n", run.replay.c_str());
}

std::string statusCounts(const RunReport &report) {
  std::map<Status, int> counts;
  for (const CheckRun &run : report.runs)
    ++counts[run.outcome.status];
  std::string text = std::to_string(counts[Status::Passed]) + " passed, " +
                     std::to_string(counts[Status::Failed]) + " failed";
  for (Status status : {Status::Crashed, Status::TimedOut, Status::Skipped})
    if (counts[status] > 0)
      text += ", " + std::to_string(counts[status]) + " " +
              (status == Status::TimedOut ? "timed out" : statusName(status));
  if (counts[Status::Warning] > 0) text += ", " + std::to_string(counts[Status::Warning]) + " with warnings";
  return text;
}

nlohmann::json reportJson(const RunReport &report) {
  const RunSettings &settings = report.settings;
  nlohmann::json checks = nlohmann::json::array();
  nlohmann::json counts = nlohmann::json::object();
  for (Status status : kStatuses)
    counts[statusName(status)] = 0;
  bool passed = true;
  for (const CheckRun &run : report.runs) {
    const CheckOutcome &outcome = run.outcome;
    counts[statusName(outcome.status)] = counts[statusName(outcome.status)].get<int>() + 1;
    passed = passed && !outcome.faulty();
    nlohmann::json check = {
        {"name", run.check->name},
        {"group", run.check->group},
        {"round", run.round + 1},
        {"status", statusName(outcome.status)},
        {"reason", reasonOf(outcome)},
        {"milliseconds", outcome.milliseconds},
        {"seed", run.seed},
        {"covered", outcome.summary.empty() ? std::string(run.check->description) : outcome.summary},
        {"failures", outcome.failures},
        {"messages", outcome.messages},
        {"warnings", outcome.warnings}};
    if (!run.replay.empty()) check["replay"] = run.replay;
    checks.push_back(std::move(check));
  }
  nlohmann::json json = {{"plugin", settings.plugin},
                         {"seed", settings.seed},
                         {"steps", settings.steps},
                         {"cycles", settings.cycles},
                         {"strictness", settings.strictness},
                         {"timeout", settings.timeoutSeconds},
                         {"repeat", settings.repeat},
                         {"shuffle", settings.shuffle},
                         {"isolated", settings.isolate},
                         {"checks", std::move(checks)},
                         {"counts", std::move(counts)},
                         {"seconds", report.seconds},
                         {"passed", passed && report.interrupted.empty()}};
  if (!report.interrupted.empty()) json["interrupted"] = report.interrupted;
  return json;
}

nlohmann::json listJson(const std::vector<const Check *> &checks) {
  nlohmann::json list = nlohmann::json::array();
  for (const Check *check : checks)
    list.push_back({{"name", check->name}, {"group", check->group}, {"description", check->description}});
  return list;
}

std::string junitXml(const RunReport &report) {
  // The suites in the order their first check ran: one per group and round.
  std::vector<std::pair<int, std::string>> order;
  std::map<std::pair<int, std::string>, std::vector<const CheckRun *>> suites;
  Tally all;
  for (const CheckRun &run : report.runs) {
    auto key = std::make_pair(run.round, std::string(run.check->group));
    if (suites.find(key) == suites.end()) order.push_back(key);
    suites[key].push_back(&run);
    all.add(run.outcome);
  }
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"pello-host validate\"" +
                    all.attributes() + ">\n";
  for (const auto &key : order) {
    Tally tally;
    std::string cases;
    for (const CheckRun *run : suites[key]) {
      tally.add(run->outcome);
      cases += junitCase(*run);
    }
    const std::string name =
        key.second + (report.settings.repeat > 1 ? " (round " + std::to_string(key.first + 1) + ")" : "");
    xml += "  <testsuite name=\"" + host::xmlEscaped(name) + "\"" + tally.attributes() + ">\n" +
           junitProperties(report, suites[key].front()->seed) + cases + "  </testsuite>\n";
  }
  return xml + "</testsuites>\n";
}

} // namespace pello::validate
