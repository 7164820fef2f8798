// Session files: a document and the steps to run on it, described in
// examples/README.md and schemas/session.schema.json (keep it in step with
// what is read here). Reading checks the whole file before anything runs: a
// refusal names the step and the field at fault ("steps[3].keys[1]: ...").
#pragma once

#include "ASTypes.h"
#include "pello/host/DocumentJson.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pello::cli {

using host::Json;

class SessionError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class Action {
  select,
  click,
  choose,
  menuGo,
  menuUpdate,
  call,
  notify,
  notifyItem,
  about,
  showPalette,
  hidePalette,
  movePalette,
  startup,
  appStarted,
  shutdown,
  unload,
  reload,
  restart,
  fail,
  clearFaults,
  expectAlerts,
  expectDialog,
  expectNoDialog,
  expectResult,
  expectStyle,
  expectMatrix,
  expectPreference,
  expectClean,
  expectKnownAlerts,
  expectSteadyLoads
};

struct Step {
  Action action = Action::select;
  std::string name; // as written in "do"
  std::string note;
  std::vector<std::string> art;    // select
  std::string target;              // expectStyle, expectMatrix: an art id
  int item = 0;                    // click
  std::vector<int> keys;           // click, choose: virtual keys held
  int entry = -1;                  // choose: entry index, or -1 with entryText
  std::string entryText;           // choose by the entry's text
  std::string op;                  // fail
  ASErr code = 0;                  // fail, expectResult
  int call = 0;                    // fail: the k-th call from now; 0 with always
  std::vector<std::string> alerts; // expectAlerts
  bool includes = false;           // expectAlerts: among others, in this order
  bool errors = true;              // expectKnownAlerts: error alerts allowed
  std::string title;               // expectDialog
  std::vector<std::string> texts;  // expectDialog
  std::string field;               // expectStyle
  int textPath = -1;               // expectMatrix on text
  Json value;                      // expectStyle, expectMatrix, expectPreference
  double tolerance = 1e-4;         // numbers in expectations
  std::string prefix = "Pello";    // expectPreference
  std::string key;                 // expectPreference
  int dx = 0, dy = 0;              // movePalette
  std::string caller, selector;    // call
  std::string type;                // notify, notifyItem: the notification type
  std::string whose = "plugin";    // notify: "plugin" or "other"; menuGo/menuUpdate: also "none"
  bool isExpectation() const { return action >= Action::expectAlerts; }
};

struct Session {
  std::string name;                  // for the transcript
  std::string documentText;          // JSON of the document to open
  std::string documentName;          // where it came from
  std::filesystem::path preferences; // empty: a fresh store for the run
  bool autostart = true;             // startup and the application-started notification first
  std::optional<std::vector<std::string>>
      errorTexts;                     // the error text list the host reads instead of the module's
  std::optional<ASRect> layoutBounds; // the palette layout area the host reports
  std::vector<Step> steps;
};

// `json` is a session; relative paths are resolved against `baseDir`.
// `embeddedDocuments` maps document names to JSON text for sessions that
// travel inside the executable.
Session readSession(const Json &json, const std::filesystem::path &baseDir, const std::string &name,
                    const std::vector<std::pair<std::string, std::string>> &embeddedDocuments = {});
Session loadSessionFile(const std::filesystem::path &file);

// The palette item ids by name ("up", "dashLeft", "untransform"...), and a
// reader's name for an item ("the up arrow (item 3)").
int paletteItemByName(const std::string &name);
std::string paletteItemLabel(int item);
std::string keyNames(const std::vector<int> &keys);

// "PARM", "'PARM'" or a number.
ASErr parseCode(const Json &value, std::string &error);

// The checks a session's names pass before it runs: "" when the name is
// right, else the reason with the nearest right name.
std::string nearestName(const std::string &name, const std::vector<std::string> &names);
std::string unknownOperationMessage(const std::string &op);
// `document` as the host writes it (every member present).
std::string unknownStyleFieldMessage(const Json &document, const std::string &art, const std::string &field);

} // namespace pello::cli
