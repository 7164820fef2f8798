// A check of the validator: a group, a name, a one-line description and the
// function that runs it against a context.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pello::validate {

class CheckContext {
public:
  std::filesystem::path plugin;       // the module under test
  std::filesystem::path workDir;      // an empty folder of this check's own
  std::filesystem::path artifactsDir; // where shrunk sessions go; empty: the system's temporary folder
  std::uint64_t seed = 0;             // first seed of the random group
  bool seedGiven = false;             // --seed was given: replay exactly
  int steps = 0;                      // actions per random session
  int cycles = 0;                     // loads of the cycles group; 0: its default
  int strictness = 5;                 // 1 a quick smoke run .. 10 the longest (--strictness)

  // Where the check is: reported if the plug-in crashes there.
  void stage(const std::string &where);
  const std::string &currentStage() const { return stage_; }
  // A few words on what the check covered, printed beside its result.
  void summarize(const std::string &text);
  const std::string &summary() const { return summary_; }
  // Records a failure; the check goes on.
  void fail(const std::string &message);
  // Records a failure as another process reported it, its stage already
  // placed ("[stage] message").
  void failAsReported(const std::string &text);
  // Records a pedantic finding that is no fault: the check passes with a
  // warning unless it also fails.
  void warn(const std::string &message);
  int warningCount() const { return warnings_; }
  // fail(message) unless `ok`; returns `ok`.
  bool expect(bool ok, const std::string &message);
  bool failed() const { return failures_ > 0; }
  int failureCount() const { return failures_; }

  // Where stages and failures go as they happen (the child's pipe).
  std::function<void(char kind, const std::string &text)> sink;
  // Messages kept for the report.
  std::vector<std::string> messages;
  std::vector<std::string> warnings;

private:
  std::string stage_;
  std::string summary_;
  int failures_ = 0;
  int warnings_ = 0;
};

using CheckFunction = void (*)(CheckContext &);

struct Check {
  const char *group;
  const char *name; // "group.what"
  const char *description;
  CheckFunction run;
};

// The checks of each group, one file per group.
std::vector<Check> loadChecks();
std::vector<Check> lifecycleChecks();
std::vector<Check> cyclesChecks();
std::vector<Check> orderChecks();
std::vector<Check> suitesChecks();
std::vector<Check> faultsChecks();
std::vector<Check> dataChecks();
std::vector<Check> randomChecks();

// Every check, group by group, in the order they run.
const std::vector<Check> &allChecks();

} // namespace pello::validate
