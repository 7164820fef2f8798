#include "SessionDriver.h"

#include "Documents.h"
#include "HostSession.h"
#include "pello/host/Keyboard.h"

#include <bit>
#include <cmath>
#include <limits>
#include <regex>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

std::uint32_t RandomChooser::below(std::uint32_t bound) {
  return static_cast<std::uint32_t>(engine_() % bound);
}

std::uint32_t RandomChooser::word() {
  return static_cast<std::uint32_t>(engine_());
}

std::uint8_t ByteChooser::byte() {
  return at_ < size_ ? data_[at_++] : 0;
}

std::uint32_t ByteChooser::below(std::uint32_t bound) {
  std::uint32_t value = byte();
  if (bound > 256) value = (value << 8) | byte();
  if (bound > 65536) value = (value << 16) | (static_cast<std::uint32_t>(byte()) << 8) | byte();
  return value % bound;
}

std::uint32_t ByteChooser::word() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value = (value << 8) | byte();
  return value;
}

namespace {

// Host operations the plug-in calls, for faults.
const char *const kFaultOps[] = {
    "SPBasic::AcquireSuite",
    "SPBasic::ReleaseSuite",
    "SPBasic::IsEqual",
    "SPBlocks::AllocateBlock",
    "SPBlocks::FreeBlock",
    "SPAccess::AcquirePlugin",
    "SPAccess::ReleasePlugin",
    "AIMenu::AddMenuItem",
    "AIMenu::CheckItem",
    "AINotifier::AddNotifier",
    "AIPreference::GetStringPreference",
    "AIPreference::GetIntegerPreference",
    "AIPreference::GetPointPreference",
    "AIPreference::PutIntegerPreference",
    "AIPreference::PutStringPreference",
    "AIPreference::PutPointPreference",
    "AIPreference::PutBooleanPreference",
    "AIAppContext::PushAppContext",
    "AIAppContext::PopAppContext",
    "ASLib::strcpy",
    "AIMatchingArt::GetSelectedArt",
    "AIArt::GetArtType",
    "AIPathStyle::GetPathStyle",
    "AIPathStyle::SetPathStyle",
    "AITextPath::GetFirstTextPath",
    "AITextPath::GetNextTextPath",
    "AITextPath::GetTextPathMatrix",
    "AITextPath::SetTextPathMatrix",
    "AIPlaced::GetPlacedMatrix",
    "AIPlaced::SetPlacedMatrix",
    "AIRaster::GetRasterMatrix",
    "AIRaster::SetRasterMatrix",
    "AIRealMath::AIRealMatrixSetIdentity",
    "AIRealMath::AIRealMatrixConcatTranslate",
    "AIRealMath::AIRealSqrt",
    "AIRealMath::AIRealATan",
    "AIRealMath::RadianToDegree",
    "AIUser::AIRealToString",
    "AIUser::StringToAIReal",
    "ADMBasic::MessageAlert",
    "ADMBasic::GetIndexString",
    "ADMBasic::GetPaletteLayoutBounds",
    "ADMDialog::Create",
    "ADMDialog::Modal",
    "ADMDialog::Destroy",
    "ADMDialog::Show",
    "ADMDialog::IsVisible",
    "ADMDialog::GetItem",
    "ADMDialog::GetPluginRef",
    "ADMDialog::GetUserData",
    "ADMDialog::SetDestroyProc",
    "ADMDialog::GetBoundsRect",
    "ADMDialog::SetBoundsRect",
    "ADMDialogGroup::GetDialogGroupInfo",
    "ADMDialogGroup::SetDialogGroupInfo",
    "ADMItem::SetNotifyProc",
    "ADMItem::SetTrackProc",
    "ADMItem::DefaultNotify",
    "ADMItem::DefaultTrack",
    "ADMItem::GetList",
    "ADMItem::GetDialog",
    "ADMItem::SetItemStyle",
    "ADMItem::SetPictureID",
    "ADMItem::SetText",
    "ADMList::SetMenuID",
    "ADMList::GetActiveEntry",
    "ADMEntry::GetIndex",
    "ADMNotifier::GetNotifierType",
    "ADMNotifier::IsNotifierType",
    "Win32::GetKeyboardState",
};

const ASErr kCodes[] = {kSPOutOfMemoryError,
                        kSPBadParameterError,
                        kSPSuiteNotFoundError,
                        kASStopError,
                        -1,
                        40000,
                        kASNotANumberError,
                        static_cast<ASErr>(0x80000000),
                        12,
                        kSPUnimplementedError};

class Driver {
public:
  Driver(CheckContext &context, Chooser &chooser, const DriverOptions &options)
      : context_(context), chooser_(chooser), options_(options), session_(context) {}

  void run();

private:
  std::uint32_t pick(std::uint32_t n) { return chooser_.below(n); }
  bool chance(std::uint32_t percent) { return pick(100) < percent; }
  float number();
  ASRealMatrix matrix();
  Json randomArt(int &serial, int depth);
  void newDocument();
  void newSelection();
  void act(std::uint32_t action);
  void click();
  void armFault();
  void lackSuite();
  void oddPreference();
  void checkAlerts();
  void note(const std::string &what);
  bool started() const;

  CheckContext &context_;
  Chooser &chooser_;
  DriverOptions options_;
  HostSession session_;
  std::string history_;
  int step_ = 0;
  std::size_t alertsSeen_ = 0;
  bool restrictionArmed_ = false;
};

float Driver::number() {
  static const float kValues[] = {0,
                                  1,
                                  -1,
                                  0.5f,
                                  2,
                                  -0.0f,
                                  100,
                                  1e-7f,
                                  1e7f,
                                  3.4e38f,
                                  -3.4e38f,
                                  1e-45f,
                                  16777217.0f,
                                  0.1f,
                                  12345.678f,
                                  -99999.99f,
                                  std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(),
                                  std::numeric_limits<float>::quiet_NaN()};
  if (chance(10)) return std::bit_cast<float>(chooser_.word());
  return kValues[pick(std::size(kValues))];
}

ASRealMatrix Driver::matrix() {
  if (chance(30)) return {1, 0, 0, 1, number(), number()};
  return {number(), number(), number(), number(), number(), number()};
}

Json Driver::randomArt(int &serial, int depth) {
  const std::string id = "a" + std::to_string(serial++);
  switch (pick(depth < 2 ? 10 : 9)) {
  case 0:
    return patternPath(id, matrix());
  case 1: {
    std::vector<float> dashes(pick(7));
    for (float &d : dashes)
      d = number();
    std::optional<int> length;
    if (chance(20)) length = static_cast<int>(pick(65536)) - 32768;
    return dashedPath(id, dashes, number(), length);
  }
  case 2:
    return patternDashedPath(id, matrix(), {number(), number()}, number());
  case 3:
    return solidPath(id);
  case 4: {
    std::vector<ASRealMatrix> paths(pick(4));
    for (ASRealMatrix &m : paths)
      m = matrix();
    return textArt(id, paths, chance(50) ? 4 : 5);
  }
  case 5:
    return placedArt(id, matrix());
  case 6:
    return rasterArt(id, matrix());
  case 7:
    return mysteryPath(id);
  case 8:
    return Json{{"id", id}, {"type", static_cast<int>(pick(40)) - 10}};
  default: {
    std::vector<Json> children;
    for (std::uint32_t i = pick(3); i > 0; --i)
      children.push_back(randomArt(serial, depth + 1));
    return groupArt(id, std::move(children));
  }
  }
}

void Driver::newDocument() {
  std::vector<Json> art;
  int serial = 0;
  for (std::uint32_t i = pick(9); i > 0; --i) {
    Json object = randomArt(serial, 0);
    // Groups of "other" codes cannot hold children; keep them flat.
    if (object["type"].is_number() && object.contains("children")) object.erase("children");
    art.push_back(std::move(object));
  }
  std::vector<std::string> ids;
  for (const Json &object : art)
    if (chance(80)) ids.push_back(object["id"].get<std::string>());
  Json document = documentOf(std::move(art), {});
  document["selection"] = ids;
  session_.open(document);
}

void Driver::newSelection() {
  if (!session_.document.isOpen()) return;
  std::vector<std::string> ids;
  session_.document.model().forEach([&](const ArtObject &object, int depth) {
    if (depth == 0 && chance(60)) ids.push_back(object.id);
  });
  for (std::size_t i = ids.size(); i > 1; --i)
    std::swap(ids[i - 1], ids[pick(static_cast<std::uint32_t>(i))]);
  session_.document.model().select(ids);
}

void Driver::click() {
  const int item = static_cast<int>(pick(kPaletteButtonCount + 1)) + 1; // the last: no such item
  std::vector<int> keys;
  for (int key : kModifierKeys)
    if (chance(25)) keys.push_back(key);
  note("click " + std::to_string(item));
  ADMDialogRef palette = session_.palette();
  if (!palette) return;
  switch (keys.size()) {
  case 0:
    session_.dialogs.click(palette, item);
    break;
  case 1:
    session_.dialogs.click(palette, item, {keys[0]});
    break;
  case 2:
    session_.dialogs.click(palette, item, {keys[0], keys[1]});
    break;
  default:
    session_.dialogs.click(palette, item, {keys[0], keys[1], keys[2]});
    break;
  }
}

void Driver::armFault() {
  const std::string op = kFaultOps[pick(std::size(kFaultOps))];
  const ASErr code = kCodes[pick(std::size(kCodes))];
  if (chance(15)) {
    note("every call of " + op + " fails");
    session_.host.faults().failAlways(op, code);
  } else {
    const int k = static_cast<int>(pick(40)) + 1;
    note(op + " call " + std::to_string(k) + " fails");
    session_.host.faults().failOnCall(op, k, code);
  }
  restrictionArmed_ = true;
}

void Driver::lackSuite() {
  const SuiteRow &row = kSuiteTable[pick(kSuiteRows)];
  if (chance(50)) {
    note(std::string("withdraw ") + row.name);
    session_.host.suites().withdraw(row.name);
  } else {
    note(std::string("offer ") + row.name + " at another version");
    session_.host.suites().offerAt(row.name, row.version + 1 + static_cast<ai_int32>(pick(3)));
  }
  restrictionArmed_ = true;
}

void Driver::oddPreference() {
  Preferences &prefs = session_.preferences;
  switch (pick(6)) {
  case 0:
    prefs.putString("Pello", "kADM_DPDockGroupStr",
                    std::string(pick(300), static_cast<char>('A' + pick(26))));
    break;
  case 1:
    prefs.putInteger("Pello", "kADM_DPDockCodeStr", static_cast<std::int32_t>(chooser_.word()));
    break;
  case 2:
    prefs.putPoint("Pello", "kADM_DPLocationStr",
                   ASPoint{static_cast<ai_int32>(chooser_.word()), static_cast<ai_int32>(chooser_.word())});
    break;
  case 3:
    prefs.putBoolean("Pello", "kADM_DPLocationStr", true);
    break;
  case 4:
    prefs.putString("Pello", "kADM_DPDockCodeStr", "x");
    break;
  default:
    prefs.clear();
    break;
  }
  note("odd preference");
}

void Driver::note(const std::string &what) {
  history_ += (history_.empty() ? "" : "; ") + what;
  if (history_.size() > 300) history_.erase(0, history_.size() - 300);
  context_.stage(options_.label + (options_.label.empty() ? "" : ", ") + "step " + std::to_string(step_) +
                 ", the last actions: ..." + history_);
}

bool Driver::started() const {
  for (const Blocks::Block &block : session_.blocks.live())
    if (block.name == "globals") return true;
  return false;
}

// Every alert is one the plug-in can show.
void Driver::checkAlerts() {
  static const std::regex acquisition("Error: -?[0-9]+, suite: [A-Za-z ]+, version: -?[0-9]+!");
  static const std::regex display(
      "Matrix: TX=.{1,15}; TY=.{1,15}; A=.{1,15}; B=.{1,15}; C=.{1,15}; D=.{1,15}; "
      "H scale=.{1,15}%; V scale=.{1,15}%; Skew=.{1,15} degrees; Rotation=.{1,15} degrees");
  const auto &alerts = session_.dialogs.alerts();
  for (std::size_t i = alertsSeen_; i < alerts.size(); ++i) {
    const std::string &text = alerts[i];
    const bool known = text == kCancelAlert || text == kWriteAlert || text == kMysteryAlert ||
                       text == kTextMatrixAlert || text == kPatternMatrixAlert ||
                       std::regex_match(text, acquisition) || std::regex_match(text, display);
    context_.expect(known, "an alert the plug-in has no reason to show: \"" + text + "\"");
    if (!options_.faults)
      context_.expect(text == kMysteryAlert || text.rfind("Matrix: ", 0) == 0,
                      "an error alert in a session without host faults: \"" + text + "\"");
  }
  alertsSeen_ = alerts.size();
}

void Driver::act(std::uint32_t action) {
  Plugin &plugin = session_.plugin;
  switch (action) {
  case 0:
    // A host starts a plug-in once until it shuts it down.
    if (started()) break;
    note("startup");
    plugin.startup();
    break;
  case 1:
    note("application started");
    plugin.notifyApplicationStarted();
    break;
  case 2:
    note("shutdown");
    plugin.shutdown();
    break;
  case 3:
  case 4:
  case 5:
  case 6:
    click();
    break;
  case 7:
  case 8: {
    const int entry = static_cast<int>(pick(kOptionMenuEntryCount + 1)); // the last: no such entry
    note("option-menu entry " + std::to_string(entry));
    session_.choose(entry);
    break;
  }
  case 9:
    note("AI Go");
    plugin.menuGo(chance(90) ? session_.menuItem() : nullptr);
    break;
  case 10:
    note("AI Update");
    plugin.menuUpdate(chance(90) ? session_.menuItem() : nullptr);
    break;
  case 11:
    note("About");
    plugin.about();
    break;
  case 12:
    note("unload and reload");
    if (plugin.unload() == kASNoError) plugin.reload();
    break;
  case 13:
  case 14:
    note("new document");
    newDocument();
    break;
  case 15:
    note("new selection");
    newSelection();
    break;
  case 16: {
    ADMDialogRef palette = session_.palette();
    if (!palette) break;
    note("palette controls");
    switch (pick(4)) {
    case 0:
      session_.dialogs.setVisible(palette, chance(50));
      break;
    case 1:
      session_.dialogs.move(palette, static_cast<int>(pick(2001)) - 1000,
                            static_cast<int>(pick(2001)) - 1000);
      break;
    case 2:
      session_.dialogs.dock(palette, std::string(pick(100), 'D'), static_cast<ai_int32>(chooser_.word()));
      break;
    default:
      session_.dialogs.setBounds(palette, ASRect{static_cast<ai_int32>(chooser_.word()), 0, 5, 5});
      break;
    }
    break;
  }
  case 17: {
    static const char *const kCallers[] = {"SP Access",   "SP Interface", "AI Menu",
                                           "AI Notifier", "Bogus",        ""};
    static const char *const kSelectors[] = {"Startup ",  "Unload",    "Reload", "AI Go",
                                             "AI Notify", "Shutdownx", ""};
    const char *caller = kCallers[pick(std::size(kCallers))];
    const char *selector = kSelectors[pick(std::size(kSelectors))];
    note(std::string("call \"") + caller + "\" / \"" + selector + "\"");
    // "SP Access" / "Unload" and "Reload" are the host's to send with the
    // library really leaving memory: not sent bare.
    if (std::string(caller) == "SP Access" &&
        (std::string(selector) == "Unload" || std::string(selector) == "Reload"))
      break;
    plugin.call(caller, selector);
    break;
  }
  default:
    if (!options_.faults) break;
    switch (pick(4)) {
    case 0:
    case 1:
      armFault();
      break;
    case 2:
      lackSuite();
      break;
    default:
      oddPreference();
      break;
    }
    return; // the restriction applies to the next action
  }
  context_.expect(plugin.callDepth() == 0, "a PluginMain call never returned");
  context_.expect(session_.dialogs.floatingDialogs().size() <= 1, "more than one palette");
  checkAlerts();
  if (restrictionArmed_) {
    session_.host.faults().clear();
    for (const std::string &name : session_.host.suites().names())
      session_.host.suites().restore(name);
    restrictionArmed_ = false;
  }
}

void Driver::run() {
  if (!session_.load()) return;
  if (options_.afterLoad) options_.afterLoad(session_.plugin);
  session_.host.log().setEnabled(false);
  for (step_ = 1; step_ <= options_.steps && !chooser_.exhausted(); ++step_) {
    act(pick(options_.faults ? 21 : 18));
    if (context_.failureCount() > 10) break;
  }
  note("final shutdown");
  session_.finish(session_.allowancesFromFaults());
}

} // namespace

void runDrivenSession(CheckContext &context, Chooser &chooser, const DriverOptions &options) {
  Driver driver(context, chooser, options);
  driver.run();
}

} // namespace pello::validate
