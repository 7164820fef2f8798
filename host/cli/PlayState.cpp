#include "PlayState.h"

#include "SvgPalette.h"
#include "SvgText.h"
#include "pello/harness/PluginSurface.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Document.h"
#include "pello/host/Menus.h"
#include "pello/host/Plugin.h"
#include "pello/host/Preferences.h"

#include <regex>
#include <stdexcept>

namespace pello::cli {

namespace {

// A session's document for checking a step that names no art.
const Json kNoArt = Json{{"art", Json::array()}};

const char *const kPlacementKeys[] = {harness::kDockGroupKey, harness::kDockCodeKey, harness::kLocationKey,
                                      harness::kVisibleKey};

// A stored preference as an expectation states it (null when absent).
Json preferenceValue(const host::Preferences &prefs, const std::string &key) {
  const std::string prefix = harness::kPreferencePrefix;
  auto type = prefs.typeOf(prefix, key);
  if (!type) return nullptr;
  switch (*type) {
  case host::Preferences::Type::String:
    return *prefs.getString(prefix, key);
  case host::Preferences::Type::Integer:
    return *prefs.getInteger(prefix, key);
  case host::Preferences::Type::Boolean:
    return *prefs.getBoolean(prefix, key);
  case host::Preferences::Type::Point: {
    ASPoint p = *prefs.getPoint(prefix, key);
    return Json::array({p.h, p.v});
  }
  }
  return nullptr;
}

bool callsThePlugin(Action action) {
  return action != Action::select && action != Action::fail && action != Action::clearFaults;
}

// The parts as one picture: each object's elements in a <g data-art="ID">,
// the marks in a <g data-marks="">, which the page replaces one by one.
std::string assembled(const PictureParts &parts) {
  std::string out = parts.head + "<defs>\n";
  for (const auto &[id, pattern] : parts.patterns)
    out += pattern;
  out += "</defs>\n" + parts.frame;
  for (const auto &[id, elements] : parts.art)
    out += "<g data-art=\"" + svg::escape(id) + "\">" + elements + "</g>\n";
  return out + "<g data-marks=\"\">" + parts.marks + "</g>\n</svg>\n";
}

} // namespace

PlayState::PlayState(Settings settings, std::function<void(host::Host &)> prepare)
    : settings_(std::move(settings)), prepare_(std::move(prepare)) {
  transcriptFile_ = std::tmpfile();
  if (!transcriptFile_) throw std::runtime_error("no temporary file for the transcript");
  transcript_ = std::make_unique<Transcript>(transcriptFile_, Transcript::Format::text, true);
  session_.name = "play: " + settings_.documentName;
  session_.documentText = settings_.documentText;
  session_.documentName = settings_.documentName;
  session_.preferences = settings_.preferences;
  runner_ = std::make_unique<SessionRunner>(session_, settings_.plugin, *transcript_);
  runner_->setHostPreparation(prepare_);
}

PlayState::~PlayState() {
  end();
  runner_.reset();
  transcript_.reset();
  std::fclose(transcriptFile_);
}

bool PlayState::begin(std::string &why) {
  if (!runner_->begin()) {
    readTranscript();
    why = "the plug-in cannot be loaded: " + settings_.plugin.string();
    return false;
  }
  running_ = true;
  drawDocument();
  readTranscript();
  stepFirstEvent_ = transcript_->events().size();
  return true;
}

std::string PlayState::end() {
  if (!running_) return "";
  running_ = false;
  stepTranscriptStart_ = transcriptText_.size();
  const std::size_t seen = hosted().preferences().warnings().size();
  runner_->end();
  readTranscript();
  // What the shutdown's save added: the file could not be written.
  std::string problem;
  const std::vector<std::string> &warnings = hosted().preferences().warnings();
  for (std::size_t i = seen; i < warnings.size(); ++i)
    problem += (problem.empty() ? "" : "; ") + warnings[i];
  return problem;
}

Step PlayState::parseStep(const Json &request) {
  if (!request.is_object() || !request.contains("do") || !request["do"].is_string())
    throw SessionError("a step is an object with \"do\"");
  const std::string action = request["do"].get<std::string>();
  if (action.rfind("expect", 0) == 0) throw SessionError("the recording writes the expectations itself");
  if (action != "select")
    return readSession(Json{{"document", kNoArt}, {"steps", Json::array({request})}}, ".", "play")
        .steps.at(0);
  // The objects are checked against the document as it stands.
  for (auto member = request.begin(); member != request.end(); ++member)
    if (member.key() != "do" && member.key() != "art")
      throw SessionError("select: unknown member \"" + member.key() + "\"");
  Step step;
  step.action = Action::select;
  step.name = "select";
  const Json &art = request.value("art", Json::array());
  if (!art.is_array()) throw SessionError("select: \"art\" is a list of art ids");
  for (const Json &id : art) {
    if (!id.is_string()) throw SessionError("select: \"art\" is a list of art ids");
    if (!hosted().document().model().find(id.get<std::string>()))
      throw SessionError("select: the document has no art \"" + id.get<std::string>() + "\"");
    step.art.push_back(id.get<std::string>());
  }
  return step;
}

void PlayState::step(const Json &request) {
  if (!running_) throw SessionError("the plug-in is not running");
  Step step = parseStep(request);
  readTranscript();
  stepTranscriptStart_ = transcriptText_.size();
  stepFirstEvent_ = transcript_->events().size();
  const Json placementBefore = placement();
  session_.steps.push_back(std::move(step));
  const std::size_t index = session_.steps.size() - 1;
  const bool ran = runner_->runStep(index, session_.steps[index]);
  drawDocument();
  // A step that could not run would fail the replay; it did nothing here.
  if (!ran) {
    transcript_->note("(not recorded: the step could not run)");
    readTranscript();
    return;
  }
  readTranscript();
  recorded_.push_back(request);
  recordExpectations(session_.steps[index], stepFirstEvent_, placementBefore);
}

// What the transcript printed since it was last read.
void PlayState::readTranscript() {
  std::fflush(transcriptFile_);
  std::fseek(transcriptFile_, static_cast<long>(transcriptText_.size()), SEEK_SET);
  char buffer[8192];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, transcriptFile_)) > 0)
    transcriptText_.append(buffer, got);
  std::fseek(transcriptFile_, 0, SEEK_END);
}

void PlayState::drawDocument() {
  // Versions count on across documents: a page never takes an update meant
  // for a picture of another one.
  static std::uint64_t pictures = 0;
  picture_.draw(hosted().document().model(), settings_.documentName);
  pictureUpdate_ = picture_.update();
  if (!pictureUpdate_.is_null()) pictureUpdate_["base"] = pictureVersion_;
  pictureVersion_ = ++pictures;
}

std::string PlayState::previousPicture() const {
  return assembled(picture_.previous());
}

// The palette's placement as the preferences hold it now.
Json PlayState::placement() {
  Json values = Json::object();
  for (const char *key : kPlacementKeys)
    values[key] = preferenceValue(hosted().preferences(), key);
  return values;
}

void PlayState::recordExpectations(const Step &step, std::size_t firstEvent, const Json &placementBefore) {
  if (callsThePlugin(step.action))
    recorded_.push_back(Json{{"do", "expectAlerts"}, {"alerts", transcript_->lastAlerts()}});
  static const std::regex textPathMatrix(R"(textPaths\[(\d+)\]\.matrix)");
  const Json &events = transcript_->events();
  for (std::size_t i = firstEvent; i < events.size(); ++i) {
    const Json &event = events[i];
    if (event.value("event", "") != "change" || event["after"].is_null()) continue;
    const std::string art = event["art"].get<std::string>();
    const std::string field = event["field"].get<std::string>();
    if (art.empty() || art.front() == '(') continue;
    std::smatch match;
    if (field.rfind("style.", 0) == 0)
      recorded_.push_back(
          Json{{"do", "expectStyle"}, {"art", art}, {"field", field.substr(6)}, {"value", event["after"]}});
    else if (field == "matrix")
      recorded_.push_back(Json{{"do", "expectMatrix"}, {"art", art}, {"value", event["after"]}});
    else if (std::regex_match(field, match, textPathMatrix))
      recorded_.push_back(Json{{"do", "expectMatrix"},
                               {"art", art},
                               {"textPath", std::stoi(match[1].str())},
                               {"value", event["after"]}});
  }
  const Json after = placement();
  for (auto value = after.begin(); value != after.end(); ++value)
    if (value.value() != placementBefore[value.key()])
      recorded_.push_back(Json{{"do", "expectPreference"}, {"key", value.key()}, {"value", value.value()}});
}

Json PlayState::recording() const {
  return Json{{"title", "Recorded in pello-host play on " + settings_.documentName},
              {"document", Json::parse(settings_.documentText)},
              {"steps", recorded_}};
}

Json PlayState::snapshot(bool wholeTranscript) {
  Json state{{"plugin", settings_.plugin.string()},
             {"document", settings_.documentName},
             {"running", running_},
             {"steps", recorded_.size()}};
  readTranscript();
  const std::size_t from = wholeTranscript ? 0 : stepTranscriptStart_;
  state["transcript"] = Json{{"from", from}, {"text", transcriptText_.substr(from)}};
  if (!running_) return state;
  state["palette"] = nullptr;
  state["menuItem"] = nullptr;
  auto &dm = hosted().dialogs();
  if (ADMDialogRef palette = dm.palette()) {
    std::optional<host::DialogInfo> info = dm.info(palette);
    const host::PluginModule *module = info ? dm.moduleFor(info->plugin) : nullptr;
    if (info && module) {
      Json targets = Json::array();
      for (const PaletteTarget &t : paletteTargets(*info, *module)) {
        Json target{{"item", static_cast<std::int16_t>(t.item)},
                    {"entry", t.entry},
                    {"label", paletteItemLabel(t.item)},
                    {"box", {t.left, t.top, t.width, t.height}}};
        if (const harness::PaletteButton *button = harness::paletteButton(t.item))
          target["name"] = button->name;
        for (const host::ItemInfo &item : info->items)
          if (item.id == t.item && t.entry >= 0 && t.entry < static_cast<int>(item.entries.size()))
            target["label"] = item.entries[t.entry].text;
        targets.push_back(std::move(target));
      }
      const ASRect &b = info->bounds;
      state["palette"] = Json{{"visible", info->visible},
                              {"bounds", {b.left, b.top, b.right, b.bottom}},
                              {"svg", paletteSvg(*info, *module)},
                              {"targets", targets}};
    }
  }
  if (host::MenuItem *item = hosted().host().get<host::Menus>().find(harness::kMenuItemKey))
    state["menuItem"] = Json{{"text", item->text}, {"checked", item->checked}};
  Json changes = Json::array(), changed = Json::array();
  const Json &events = transcript_->events();
  for (std::size_t i = stepFirstEvent_; i < events.size(); ++i)
    if (events[i].value("event", "") == "change") {
      changes.push_back(events[i]);
      if (changed.empty() || changed.back() != events[i]["art"]) changed.push_back(events[i]["art"]);
    }
  state["changes"] = changes;
  state["changed"] = changed;
  state["alerts"] = transcript_->lastAlerts();
  const host::DocumentModel &model = hosted().document().model();
  if (wholeTranscript || pictureUpdate_.is_null()) {
    state["art"] = assembled(picture_.parts());
    // An update leaves the objects and their order as they were.
    Json topLevel = Json::array();
    for (host::Serial serial : model.topLevel())
      if (const host::ArtObject *object = model.object(serial)) topLevel.push_back(object->id);
    state["topLevel"] = std::move(topLevel);
  } else {
    state["artUpdate"] = pictureUpdate_;
  }
  state["artVersion"] = pictureVersion_;
  Json selection = Json::array();
  for (host::Serial serial : model.selection())
    if (const host::ArtObject *object = model.object(serial)) selection.push_back(object->id);
  state["selection"] = selection;
  return state;
}

} // namespace pello::cli
