// The expectations of a session: each compares what the step expects with
// what the host, the document or the preferences hold now, and counts it
// met or failed.
#include "SessionRunner.h"

#include "pello/harness/PluginSurface.h"
#include "pello/host/AppContext.h"
#include "pello/host/Blocks.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/DocumentDiff.h"
#include "pello/host/Preferences.h"

#include <cmath>
#include <cstring>

namespace pello::cli {

namespace {

// The plug-in stores single-precision floats: tolerance 0 asks for the very
// float, bit for bit (so 0 and -0 differ).
bool sameFloat(double expected, double actual) {
  const float e = static_cast<float>(expected), a = static_cast<float>(actual);
  return std::memcmp(&e, &a, sizeof e) == 0;
}

bool sameValue(const Json &expected, const Json &actual, double tolerance) {
  if (expected.is_number() && actual.is_number()) {
    if (tolerance == 0) return sameFloat(expected.get<double>(), actual.get<double>());
    return std::fabs(expected.get<double>() - actual.get<double>()) <= tolerance;
  }
  if (expected.is_array() && actual.is_array()) {
    if (expected.size() != actual.size()) return false;
    for (std::size_t i = 0; i < expected.size(); ++i)
      if (!sameValue(expected[i], actual[i], tolerance)) return false;
    return true;
  }
  if (expected.is_object() && actual.is_object()) {
    if (expected.size() != actual.size()) return false;
    for (auto it = expected.begin(); it != expected.end(); ++it)
      if (!actual.contains(it.key()) || !sameValue(it.value(), actual[it.key()], tolerance)) return false;
    return true;
  }
  return expected == actual;
}

// Each of `expected` in `actual`, in this order, others between.
bool inOrderAmong(const Json &expected, const Json &actual) {
  std::size_t at = 0;
  for (const Json &text : actual)
    if (at < expected.size() && text == expected[at]) ++at;
  return at == expected.size();
}

Json matrixJson(const ASRealMatrix &m) {
  return Json::array({m.a, m.b, m.c, m.d, m.tx, m.ty});
}

// A host error code as the user reads it: 0, -108, 'S!Fd'.
std::string codeName(ASErr code) {
  return harness::errorCodeText(code, harness::CodeStyle::quoted);
}

} // namespace

void SessionRunner::expectation(const std::string &what, bool passed, const Json &expected,
                                const Json &actual) {
  passed ? ++met_ : ++failed_;
  transcript_.add(Json{{"event", "expectation"},
                       {"index", currentStep_},
                       {"what", what},
                       {"passed", passed},
                       {"expected", expected},
                       {"actual", actual}});
}

void SessionRunner::expect(const Step &step) {
  switch (step.action) {
  case Action::expectAlerts: {
    Json expected = step.alerts, actual = transcript_.lastAlerts();
    if (step.includes) {
      expectation("alerts including " + Transcript::valueText(expected), inOrderAmong(expected, actual),
                  expected, actual);
      break;
    }
    expectation(step.alerts.empty() ? "no alerts" : "alerts " + Transcript::valueText(expected),
                expected == actual, expected, actual);
    break;
  }
  case Action::expectKnownAlerts: {
    // Every alert of this host so far, judged as validate judges them.
    bool numberRefused = false;
    for (const auto &fired : hosted_->faults().fired())
      numberRefused = numberRefused || fired.op == "AIUser::AIRealToString";
    Json unknown = Json::array();
    for (const std::string &text : hosted_->dialogs().alerts())
      if (!harness::isAlertThePluginShows(text, numberRefused) ||
          (!step.errors && harness::isFailureAlert(text)))
        unknown.push_back(text);
    expectation(step.errors ? "every alert one the plug-in can show"
                            : "every alert one the plug-in can show, and none an error",
                unknown.empty(), Json::array(), unknown);
    break;
  }
  case Action::expectSteadyLoads: {
    // A thread-local storage slot or a handle (descriptor) more each time
    // the library leaves memory is one the module keeps per load.
    Json held = Json::array();
    bool steady = true;
    for (const validate::ProcessCounters &counters : outOfMemory_) {
      held.push_back(Json{{"tlsSlots", counters.tlsSlots}, {"handles", counters.handles}});
      steady = steady && counters.tlsSlots <= outOfMemory_.front().tlsSlots &&
               counters.handles <= outOfMemory_.front().handles;
    }
    expectation(
        "no thread-local storage slot or handle more each time the library left memory than the first",
        steady, Json::array(), held);
    break;
  }
  case Action::expectDialog: {
    bool found = false;
    Json shown = Json::array();
    for (const Json &dialog : transcript_.lastDialogs()) {
      Json texts = Json::array();
      for (const Json &item : dialog["items"])
        texts.push_back(item["text"]);
      shown.push_back(Json{{"title", dialog["title"]}, {"texts", texts}});
      bool all = dialog["title"] == step.title;
      for (const std::string &text : step.texts) {
        bool has = false;
        for (const Json &t : texts)
          has = has || t == text;
        all = all && has;
      }
      found = found || all;
    }
    Json expected{{"title", step.title}, {"texts", step.texts}};
    expectation("a dialog \"" + step.title + "\"" +
                    (step.texts.empty() ? "" : " showing " + Transcript::valueText(Json(step.texts))),
                found, expected, shown);
    break;
  }
  case Action::expectNoDialog: {
    Json shown = Json::array();
    for (const Json &dialog : transcript_.lastDialogs())
      shown.push_back(dialog["title"]);
    expectation("no dialog", shown.empty(), Json::array(), shown);
    break;
  }
  case Action::expectResult: {
    const Json &result = transcript_.lastResult();
    Json actual = result.is_null() ? Json() : Json(codeName(result.get<ASErr>()));
    expectation("the plug-in returned " + codeName(step.code),
                !result.is_null() && result.get<ASErr>() == step.code, codeName(step.code), actual);
    break;
  }
  case Action::expectStyle: {
    Json doc = documentNow();
    const Json *art = host::findArt(doc, step.target);
    const Json *value = art && art->contains("style") ? host::fieldAt((*art)["style"], step.field) : nullptr;
    Json actual = value ? *value : Json();
    expectation(step.target + " style." + step.field + " = " + Transcript::valueText(step.value, false),
                value && sameValue(step.value, actual, step.tolerance), step.value, actual);
    break;
  }
  case Action::expectMatrix: {
    const host::DocumentModel &model = hosted_->document().model();
    const host::ArtObject *o = model.find(step.target);
    Json actual;
    std::string which = step.target;
    if (o && o->hasStyle()) {
      which += " pattern matrix";
      if (o->style.fill.color.kind == kPattern) actual = matrixJson(o->style.fill.color.c.p.transform);
    } else if (o && o->hasTextPaths()) {
      std::size_t index = step.textPath < 0 ? 0 : static_cast<std::size_t>(step.textPath);
      which += " text path " + std::to_string(index) + " matrix";
      if (index < o->textPaths.size()) actual = matrixJson(o->textPaths[index].matrix);
    } else if (o && o->hasMatrix()) {
      which += " matrix";
    }
    if (o && o->hasMatrix()) actual = matrixJson(o->matrix);
    expectation(which + " = " + Transcript::valueText(step.value),
                !actual.is_null() && sameValue(step.value, actual, step.tolerance), step.value, actual);
    break;
  }
  case Action::expectPreference: {
    auto &prefs = hosted_->preferences();
    Json actual;
    if (auto type = prefs.typeOf(step.prefix, step.key)) {
      switch (*type) {
      case host::Preferences::Type::String:
        actual = *prefs.getString(step.prefix, step.key);
        break;
      case host::Preferences::Type::Integer:
        actual = *prefs.getInteger(step.prefix, step.key);
        break;
      case host::Preferences::Type::Boolean:
        actual = *prefs.getBoolean(step.prefix, step.key);
        break;
      case host::Preferences::Type::Point: {
        ASPoint p = *prefs.getPoint(step.prefix, step.key);
        actual = Json::array({p.h, p.v});
        break;
      }
      }
    }
    expectation("preference " + step.prefix + "/" + step.key + " = " +
                    Transcript::valueText(step.value, false),
                actual == step.value, step.value, actual);
    break;
  }
  case Action::expectClean: {
    // What the plug-in still holds in the host: nothing, once it has shut
    // down (what validate checks after its final shutdown).
    Json held = Json::object();
    host::Host &now = host();
    if (const int holds = now.suites().totalHolds(); holds != 0) {
      Json suites = Json::object();
      for (const std::string &name : now.suites().names())
        if (const int n = now.suites().holds(name); n != 0) suites[name] = n;
      held["suites"] = suites;
    }
    if (hosted_->blocks().liveCount() != 0) {
      Json blocks = Json::object();
      for (const host::Blocks::Block &block : hosted_->blocks().live())
        blocks[block.name] = blocks.value(block.name, 0) + 1;
      held["blocks"] = blocks;
    }
    if (const int refs = now.get<host::AccessRefs>().held(); refs != 0) held["accessRefs"] = refs;
    const std::size_t open = hosted_->plugin().dialogsClosedByHost() + hosted_->dialogs().dialogs().size();
    if (open != 0) held["dialogs"] = open;
    if (const int depth = now.get<host::AppContexts>().depth(); depth != 0) held["appContexts"] = depth;
    expectation("the plug-in holds nothing in the host (suites, memory blocks, access references, dialogs, "
                "application contexts)",
                held.empty(), Json::object(), held);
    break;
  }
  default:
    break;
  }
}

} // namespace pello::cli
