#include "SessionScript.h"

#include "FileArguments.h"
#include "SessionNode.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/Document.h"
#include "pello/host/JsonLimits.h"

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace pello::cli {

namespace {

// The modifier keys by the names sessions give them.
struct KeyName {
  const char *name;
  int code;
};
constexpr KeyName kKeys[] = {{"shift", harness::kVkShift},         {"ctrl", harness::kVkControl},
                             {"control", harness::kVkControl},     {"alt", harness::kVkAlt},
                             {"windows", harness::kVkLeftWindows}, {"win", harness::kVkLeftWindows}};
constexpr std::size_t kMaxKeys = 6;

const std::map<std::string, Action> kActions = {{"select", Action::select},
                                                {"click", Action::click},
                                                {"choose", Action::choose},
                                                {"menuGo", Action::menuGo},
                                                {"menuUpdate", Action::menuUpdate},
                                                {"call", Action::call},
                                                {"notify", Action::notify},
                                                {"notifyItem", Action::notifyItem},
                                                {"about", Action::about},
                                                {"showPalette", Action::showPalette},
                                                {"hidePalette", Action::hidePalette},
                                                {"movePalette", Action::movePalette},
                                                {"startup", Action::startup},
                                                {"appStarted", Action::appStarted},
                                                {"shutdown", Action::shutdown},
                                                {"unload", Action::unload},
                                                {"reload", Action::reload},
                                                {"restart", Action::restart},
                                                {"fail", Action::fail},
                                                {"clearFaults", Action::clearFaults},
                                                {"expectAlerts", Action::expectAlerts},
                                                {"expectDialog", Action::expectDialog},
                                                {"expectNoDialog", Action::expectNoDialog},
                                                {"expectResult", Action::expectResult},
                                                {"expectStyle", Action::expectStyle},
                                                {"expectMatrix", Action::expectMatrix},
                                                {"expectPreference", Action::expectPreference},
                                                {"expectClean", Action::expectClean},
                                                {"expectKnownAlerts", Action::expectKnownAlerts},
                                                {"expectSteadyLoads", Action::expectSteadyLoads}};

// The members each action takes besides "do" and "note".
const std::map<Action, std::set<std::string>> kMembers = {
    {Action::select, {"art"}},
    {Action::click, {"item", "keys"}},
    {Action::menuGo, {"menuItem"}},
    {Action::menuUpdate, {"menuItem"}},
    {Action::call, {"caller", "selector"}},
    {Action::notify, {"type", "notifier"}},
    {Action::notifyItem, {"item", "type"}},
    {Action::choose, {"entry", "keys"}},
    {Action::movePalette, {"by"}},
    {Action::fail, {"op", "code", "call", "always"}},
    {Action::expectAlerts, {"alerts", "includes"}},
    {Action::expectKnownAlerts, {"errors"}},
    {Action::expectDialog, {"title", "texts"}},
    {Action::expectResult, {"result"}},
    {Action::expectStyle, {"art", "field", "value", "tolerance"}},
    {Action::expectMatrix, {"art", "textPath", "value", "tolerance"}},
    {Action::expectPreference, {"prefix", "key", "value"}}};

const std::set<std::string> kSessionMembers = {"title",      "document",     "preferences", "autostart",
                                               "errorTexts", "layoutBounds", "steps"};

int readItem(const Node &item) {
  if (item.value().is_number_integer()) return static_cast<int>(item.integer(-32768, 32767));
  const int id = paletteItemByName(item.string());
  if (id == 0) {
    std::string names;
    for (const harness::PaletteButton &button : harness::kPaletteButtons)
      names += (names.empty() ? "" : ", ") + std::string(button.name);
    item.fail("unknown item \"" + item.string() + "\" (expected " + names + " or an item id)");
  }
  return id;
}

std::string oneOf(const Node &node, std::initializer_list<const char *> choices) {
  const std::string text = node.string();
  std::string names;
  for (const char *choice : choices) {
    if (text == choice) return text;
    names += (names.empty() ? "" : ", ") + std::string(choice);
  }
  node.fail("expected one of " + names);
}

int readKey(const Node &node) {
  if (node.value().is_number_integer()) return static_cast<int>(node.integer(1, 255));
  const std::string name = node.string();
  for (const KeyName &key : kKeys)
    if (name == key.name) return key.code;
  node.fail("unknown key \"" + name + "\" (expected shift, ctrl, alt, windows or a virtual-key number)");
}

std::vector<int> readKeys(const Node &step) {
  std::vector<int> keys;
  if (!step.has("keys")) return keys;
  Node list = step.member("keys");
  std::size_t n = list.array();
  if (n > kMaxKeys) list.fail("at most " + std::to_string(kMaxKeys) + " keys");
  for (std::size_t i = 0; i < n; ++i)
    keys.push_back(readKey(list.element(i)));
  return keys;
}

void readMatrixValue(const Node &node) {
  if (node.array() != 6) node.fail("expected a matrix [a, b, c, d, tx, ty]");
  for (std::size_t i = 0; i < 6; ++i)
    node.element(i).number();
}

std::string readFile(const std::filesystem::path &file) {
  // Only a regular file: a pipe would block the read, a device may never end it.
  std::error_code ec;
  if (std::filesystem::exists(file, ec) && !std::filesystem::is_regular_file(file, ec))
    throw SessionError(file.string() + ": not a regular file");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SessionError(file.string() + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What the steps are checked against: the document's art ids and the
// document as the host writes it.
struct DocumentFacts {
  std::set<std::string> ids;
  Json written;
};

Step readStep(const Node &node, const DocumentFacts &facts) {
  if (!node.value().is_object()) node.fail("expected an object with \"do\"");
  Step step;
  Node action = node.member("do");
  step.name = action.string();
  auto found = kActions.find(step.name);
  if (found == kActions.end()) action.fail("unknown step \"" + step.name + "\"");
  step.action = found->second;
  auto allowed = kMembers.count(step.action) ? kMembers.at(step.action) : std::set<std::string>{};
  for (auto it = node.value().begin(); it != node.value().end(); ++it)
    if (it.key() != "do" && it.key() != "note" && !allowed.count(it.key()))
      node.fail("\"" + it.key() + "\" is not a member of \"" + step.name + "\" steps");
  if (node.has("note")) step.note = node.member("note").string();

  auto knownArt = [&](const Node &id) {
    std::string text = id.string();
    if (!facts.ids.count(text)) id.fail("no art \"" + text + "\" in the document");
    return text;
  };
  auto tolerance = [&] {
    if (node.has("tolerance")) {
      step.tolerance = node.member("tolerance").number();
      if (step.tolerance < 0) node.member("tolerance").fail("expected a tolerance of 0 or more");
    }
  };

  switch (step.action) {
  case Action::select: {
    Node list = node.member("art");
    for (std::size_t i = 0, n = list.array(); i < n; ++i)
      step.art.push_back(knownArt(list.element(i)));
    break;
  }
  case Action::click:
    step.item = readItem(node.member("item"));
    step.keys = readKeys(node);
    break;
  case Action::notifyItem:
    step.item = readItem(node.member("item"));
    step.type = node.member("type").string();
    break;
  case Action::menuGo:
  case Action::menuUpdate:
    if (node.has("menuItem")) step.whose = oneOf(node.member("menuItem"), {"plugin", "other", "none"});
    break;
  case Action::call:
    step.caller = node.member("caller").string();
    step.selector = node.member("selector").string();
    break;
  case Action::notify:
    step.type = node.has("type") ? node.member("type").string() : "AI Application Started Notifier";
    if (node.has("notifier")) step.whose = oneOf(node.member("notifier"), {"plugin", "other"});
    break;
  case Action::choose: {
    Node entry = node.member("entry");
    if (entry.value().is_number_integer()) {
      step.entry = static_cast<int>(entry.integer(0, 255));
    } else {
      const std::string text = entry.string();
      if (const harness::OptionMenuEntry *named = harness::optionMenuEntryNamed(text)) {
        step.entry = named->index;
      } else if (text.empty()) {
        std::string names;
        for (const harness::OptionMenuEntry &known : harness::kOptionMenuEntries)
          names += std::string(known.name) + ", ";
        entry.fail("expected " + names + "an entry's text or its index");
      } else {
        step.entryText = text;
      }
    }
    step.keys = readKeys(node);
    break;
  }
  case Action::movePalette: {
    Node by = node.member("by");
    if (by.array() != 2) by.fail("expected [dx, dy]");
    step.dx = static_cast<int>(by.element(0).integer(-100000, 100000));
    step.dy = static_cast<int>(by.element(1).integer(-100000, 100000));
    break;
  }
  case Action::fail: {
    step.op = node.member("op").string();
    if (step.op.find("::") == std::string::npos)
      node.member("op").fail("expected an operation \"Suite::Function\", e.g. \"AIPathStyle::SetPathStyle\"");
    if (std::string why = unknownOperationMessage(step.op); !why.empty()) node.member("op").fail(why);
    std::string error;
    step.code = parseCode(node.member("code").value(), error);
    if (!error.empty()) node.member("code").fail(error);
    bool always = node.has("always") && node.member("always").boolean();
    if (always == node.has("call"))
      node.fail("expected either \"call\" (the k-th call from now) or \"always\": true");
    if (!always) step.call = static_cast<int>(node.member("call").integer(1, 1000000));
    break;
  }
  case Action::expectAlerts:
    step.includes = node.has("includes");
    if (step.includes == node.has("alerts"))
      node.fail("expected either \"alerts\" (exactly these) or \"includes\" (these among others)");
    step.alerts = node.member(step.includes ? "includes" : "alerts").strings();
    break;
  case Action::expectKnownAlerts:
    if (node.has("errors")) step.errors = node.member("errors").boolean();
    break;
  case Action::expectDialog:
    step.title = node.member("title").string();
    if (node.has("texts")) step.texts = node.member("texts").strings();
    break;
  case Action::expectResult: {
    std::string error;
    step.code = parseCode(node.member("result").value(), error);
    if (!error.empty()) node.member("result").fail(error);
    break;
  }
  case Action::expectStyle:
    step.target = knownArt(node.member("art"));
    step.field = node.member("field").string();
    if (std::string why = unknownStyleFieldMessage(facts.written, step.target, step.field); !why.empty())
      node.member("field").fail(why);
    step.value = node.member("value").value();
    tolerance();
    break;
  case Action::expectMatrix:
    step.target = knownArt(node.member("art"));
    if (node.has("textPath")) step.textPath = static_cast<int>(node.member("textPath").integer(0, 100000));
    readMatrixValue(node.member("value"));
    step.value = node.member("value").value();
    tolerance();
    break;
  case Action::expectPreference: {
    if (node.has("prefix")) step.prefix = node.member("prefix").string();
    step.key = node.member("key").string();
    Node value = node.member("value");
    const Json &v = value.value();
    bool point = v.is_array() && v.size() == 2 && v[0].is_number_integer() && v[1].is_number_integer();
    if (!(v.is_null() || v.is_string() || v.is_boolean() || v.is_number_integer() || point))
      value.fail("expected a string, an integer, true or false, a point [h, v] or null (absent)");
    step.value = v;
    break;
  }
  default:
    break;
  }
  return step;
}

DocumentFacts factsOf(const host::DocumentModel &model) {
  DocumentFacts facts;
  model.forEach([&](const host::ArtObject &o, int) { facts.ids.insert(o.id); });
  facts.written = host::writeDocument(model);
  return facts;
}

std::vector<std::string> readErrorTexts(const Node &list) {
  std::vector<std::string> texts = list.strings();
  if (texts.size() > 1000) list.fail("at most 1000 entries");
  return texts;
}

ASRect readBounds(const Node &node) {
  if (node.array() != 4) node.fail("expected [left, top, right, bottom]");
  const auto at = [&](std::size_t i) {
    return static_cast<ai_int32>(node.element(i).integer(-1000000, 1000000));
  };
  return ASRect{at(0), at(1), at(2), at(3)};
}

} // namespace

Session readSession(const Json &json, const std::filesystem::path &baseDir, const std::string &name,
                    const std::vector<std::pair<std::string, std::string>> &embeddedDocuments) {
  Node root(json, "session");
  if (!json.is_object()) root.fail("expected an object with \"document\" and \"steps\"");
  for (auto it = json.begin(); it != json.end(); ++it)
    if (!kSessionMembers.count(it.key()))
      root.fail("unknown member \"" + it.key() +
                "\" (expected title, document, preferences, autostart, errorTexts, layoutBounds, steps)");

  Session session;
  session.name = root.has("title") ? root.member("title").string() : name;
  Node document = root.member("document");
  if (document.value().is_object()) {
    session.documentText = document.value().dump();
    session.documentName = "the session's own document";
  } else {
    const std::string file = document.string();
    bool embedded = false;
    for (const auto &[docName, text] : embeddedDocuments)
      if (docName == file) {
        session.documentText = text;
        embedded = true;
      }
    if (!embedded) {
      try {
        session.documentText = readFile(baseDir / file);
      } catch (const SessionError &e) {
        document.fail(e.what());
      }
    }
    session.documentName = file;
  }
  DocumentFacts facts;
  try {
    facts = factsOf(host::parseDocument(session.documentText));
  } catch (const std::exception &e) {
    document.fail(std::string("the document is refused: ") + e.what());
  }

  if (root.has("preferences")) {
    // Refused now, as --prefs is: at the end of the run it would fail, or be lost without a word.
    Node preferences = root.member("preferences");
    session.preferences = baseDir / preferences.string();
    if (std::string why = preferencesFileProblem(session.preferences); !why.empty()) preferences.fail(why);
  }
  if (root.has("autostart")) session.autostart = root.member("autostart").boolean();
  if (root.has("errorTexts")) session.errorTexts = readErrorTexts(root.member("errorTexts"));
  if (root.has("layoutBounds")) session.layoutBounds = readBounds(root.member("layoutBounds"));
  Node steps = root.member("steps");
  for (std::size_t i = 0, n = steps.array(); i < n; ++i) {
    Node node(steps.value()[i], "steps[" + std::to_string(i) + "]");
    session.steps.push_back(readStep(node, facts));
  }
  return session;
}

Session loadSessionFile(const std::filesystem::path &file) {
  Json json;
  try {
    json = host::parseBoundedJson<Json>(readFile(file));
  } catch (const host::JsonNestingError &e) {
    throw SessionError(file.string() + ": " + e.what());
  } catch (const Json::out_of_range &e) {
    // A number no double holds (1e999).
    throw SessionError(file.string() + ": not JSON this host reads: " + e.what());
  } catch (const Json::exception &e) {
    throw SessionError(file.string() + ": not JSON: " + e.what());
  }
  std::filesystem::path base = file.parent_path();
  try {
    return readSession(json, base.empty() ? "." : base, file.filename().string());
  } catch (const SessionError &e) {
    throw SessionError(file.string() + ": " + e.what());
  }
}

} // namespace pello::cli
