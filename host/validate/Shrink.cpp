// Shrinking a failing random session. Each action of the session was
// recorded as the choices it made (ActionScript); any subset of them runs
// again in a fresh host, each action with its own choices. ddmin keeps the
// subsets that fail with a failure of the same kind. The result is then put
// in the form a session file can say (one document, opened first; no
// withdrawn suites, odd preferences or docking), reduced again in that
// form, and written with the expectation that failed.
#include "Shrink.h"

#include "ChildRun.h"
#include "Driver.h"

#include "pello/harness/ArtDocuments.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <fstream>

namespace pello::validate {

using host::Json;

namespace {

bool isDocument(const std::vector<std::uint32_t> &action) {
  return !action.empty() && std::find(std::begin(kNewDocumentActions), std::end(kNewDocumentActions),
                                      action[0]) != std::end(kNewDocumentActions);
}

// An action no session step makes: a withdrawn suite or one offered at
// another version, an odd preference, a docked palette or its bounds set.
bool inexpressible(const std::vector<std::uint32_t> &action, bool faults) {
  if (action.size() < 2) return false;
  if (faults && action[0] >= kFirstRestriction) return action[1] >= 2;
  if (action[0] == kPaletteControlsAction) return action[1] >= 2;
  return false;
}

// The script in a session file's form: what no step makes left out, the
// first document opened first and no other.
ActionScript sessionForm(const ActionScript &script, bool faults) {
  ActionScript out;
  bool document = false;
  for (const auto &action : script) {
    if (inexpressible(action, faults)) continue;
    if (isDocument(action)) {
      if (!document) out.insert(out.begin(), action);
      document = true;
      continue;
    }
    out.push_back(action);
  }
  return out;
}

bool inSessionForm(const ActionScript &script, bool faults) {
  for (std::size_t i = 0; i < script.size(); ++i)
    if (inexpressible(script[i], faults) || (i > 0 && isDocument(script[i]))) return false;
  return true;
}

bool cleanKind(const std::string &kind) {
  return kind.find("after shutdown") != std::string::npos;
}

bool shutdownKind(const std::string &kind) {
  return kind.rfind("the final shutdown returned", 0) == 0;
}

// The kinds a session file states: a crash (pello-host run reports it), and
// the failures the driver writes an expectation for where it judges them.
bool expressedInSessions(const std::string &kind) {
  static const char *const kExpressed[] = {kCrashedKind, "an alert the plug-in has no reason to show",
                                           "an error alert in a session without host faults",
                                           "a refused path style not told", "kept per load"};
  return cleanKind(kind) || shutdownKind(kind) ||
         std::find(std::begin(kExpressed), std::end(kExpressed), kind) != std::end(kExpressed);
}

class Shrinker {
public:
  Shrinker(const CheckContext &context, const std::string &kind, const ShrinkOptions &options)
      : context_(context), kind_(kind), options_(options),
        deadline_(std::chrono::steady_clock::now() +
                  std::chrono::milliseconds(static_cast<long long>(options.seconds * 1000))) {}

  // Runs `script` in a fresh host; the kind of its first failure ("" when
  // it passes).
  std::string run(const ActionScript &script, bool session, SessionDescription *description = nullptr) {
    CheckContext context;
    context.plugin = context_.plugin;
    context.workDir = context_.workDir;
    context.seed = context_.seed;
    context.seedGiven = true;
    context.steps = static_cast<int>(script.size());
    ScriptChooser chooser(script);
    DriverOptions options;
    options.steps = static_cast<int>(script.size());
    options.faults = options_.faults;
    options.emptyDocumentFirst = session && (script.empty() || !isDocument(script.front()));
    options.description = description;
    runDrivenSession(context, chooser, options);
    return context.messages.empty() ? std::string() : failureKind(context.messages.front());
  }

  bool fails(const ActionScript &script, bool session) {
    if (std::chrono::steady_clock::now() > deadline_) return false;
    if (session && !inSessionForm(script, options_.faults)) return false;
    return isolatedRun(script, session) == kind_;
  }

  // run(), in a child process where there is fork: a subset that crashes
  // the plug-in fails as kCrashedKind and the shrinking goes on, and each
  // run starts from the module as it loads. The description comes back
  // change by change, up to a crash.
  std::string isolatedRun(const ActionScript &script, bool session,
                          SessionDescription *description = nullptr) {
    ++trials_;
    std::string kind;
    const ChildEnd end = runInChild(
        [&](const std::function<void(const std::string &)> &send) {
          SessionDescription mine;
          if (description)
            mine.onChange = [&send](char change, const std::string &text) { send("D" + (change + text)); };
          send("K" + run(script, session, description ? &mine : nullptr));
        },
        [&](const std::string &line) {
          if (line.size() >= 2 && line[0] == 'D' && description) description->apply(line[1], line.substr(2));
          if (!line.empty() && line[0] == 'K') kind = line.substr(1);
        });
    return end.crashed() ? kCrashedKind : kind;
  }

  // ddmin: chunks of the script, then their complements, at finer and
  // finer grain, keeping any that still fails.
  ActionScript reduce(ActionScript script, bool session) {
    std::size_t n = 2;
    while (script.size() >= 2 && std::chrono::steady_clock::now() < deadline_) {
      const std::size_t size = script.size();
      const std::size_t chunk = (size + n - 1) / n;
      bool reduced = false;
      for (std::size_t start = 0; start < size && !reduced; start += chunk) {
        ActionScript part(script.begin() + static_cast<std::ptrdiff_t>(start),
                          script.begin() + static_cast<std::ptrdiff_t>(std::min(size, start + chunk)));
        if (fails(part, session)) {
          script = std::move(part);
          n = 2;
          reduced = true;
        }
      }
      for (std::size_t start = 0; n > 2 && start < size && !reduced; start += chunk) {
        ActionScript rest(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(start));
        rest.insert(rest.end(), script.begin() + static_cast<std::ptrdiff_t>(std::min(size, start + chunk)),
                    script.end());
        if (fails(rest, session)) {
          script = std::move(rest);
          n = std::max<std::size_t>(n - 1, 2);
          reduced = true;
        }
      }
      if (!reduced) {
        if (n >= size) break;
        n = std::min(n * 2, size);
      }
    }
    return script;
  }

  int trials() const { return trials_; }

private:
  const CheckContext &context_;
  std::string kind_;
  ShrinkOptions options_;
  std::chrono::steady_clock::time_point deadline_;
  int trials_ = 0;
};

Json sessionFile(const SessionDescription &description, const std::string &kind, const std::string &title) {
  Json document = harness::documentOf({}, {});
  Json steps = Json::array();
  for (std::size_t i = 0; i < description.actions.size(); ++i)
    for (const Json &step : description.actions[i]) {
      if (step["do"] == "open") {
        document = step["document"]; // the first action, in the session form
        continue;
      }
      steps.push_back(step);
    }
  bool resultExpected = false;
  for (const Json &step : description.finish) {
    // The last action's faults are already cleared.
    if (step["do"] == "clearFaults" && !steps.empty() && steps.back()["do"] == "clearFaults") continue;
    steps.push_back(step);
    if (step["do"] == "shutdown" && shutdownKind(kind) && !resultExpected) {
      steps.push_back(Json{{"do", "expectResult"}, {"result", 0}});
      resultExpected = true;
    }
  }
  if (cleanKind(kind)) steps.push_back(Json{{"do", "expectClean"}, {"note", "validate found: " + kind}});
  return Json{{"title", title}, {"document", document}, {"autostart", false}, {"steps", steps}};
}

} // namespace

std::string failureKind(const std::string &message) {
  std::string text = message;
  if (!text.empty() && text.front() == '[') {
    const std::size_t end = text.find("] ");
    if (end != std::string::npos) text.erase(0, end + 2);
  }
  const std::size_t cut = text.find_first_of(":\"");
  if (cut != std::string::npos) text.erase(cut);
  std::string kind;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) kind += c;
  while (!kind.empty() && kind.back() == ' ')
    kind.pop_back();
  while (!kind.empty() && kind.front() == ' ')
    kind.erase(0, 1);
  return kind;
}

ShrinkResult shrinkSession(const CheckContext &context, const ActionScript &script, const std::string &kind,
                           const ShrinkOptions &options) {
  ShrinkResult result;
  result.from = script.size();
  Shrinker shrinker(context, kind, options);

  // A failure found before the end needs nothing after its action.
  SessionDescription whole;
  ActionScript current = script;
  if (shrinker.isolatedRun(current, false, &whole) != kind) {
    result.to = result.from;
    result.why = "the session does not fail the same way when run again";
    result.trials = shrinker.trials();
    return result;
  }
  if (whole.firstFailingStep > 0) {
    ActionScript prefix(current.begin(), current.begin() + whole.firstFailingStep);
    if (shrinker.fails(prefix, false)) current = std::move(prefix);
  }
  current = shrinker.reduce(std::move(current), false);
  result.to = current.size();

  if (!expressedInSessions(kind)) {
    result.why = "no session expectation states a failure of this kind (\"" + kind + "\")";
  } else {
    ActionScript session = sessionForm(current, options.faults);
    if (!shrinker.fails(session, true)) {
      result.why = "it needs what no session step makes (a withdrawn suite, an odd preference, docking, "
                   "a second document)";
    } else {
      current = shrinker.reduce(std::move(session), true);
      result.to = current.size();
    }
  }

  SessionDescription description;
  const bool session = result.why.empty();
  shrinker.isolatedRun(current, session, &description);
  result.notes = description.notes;
  if (session) {
    std::ofstream out(options.file, std::ios::binary);
    out << sessionFile(description, kind, options.title).dump(2) << "\n";
    if (out) {
      result.file = options.file;
    } else {
      result.why = "the session file could not be written to " + options.file.string();
    }
  }
  result.trials = shrinker.trials();
  return result;
}

} // namespace pello::validate
