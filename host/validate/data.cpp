// data: bad host data. Dash counts outside 0..6, matrices and offsets that
// are not finite, numbers too long for the display's buffers, dock group
// names that do not fit, damaged preferences, a dialog manager that makes no
// palette, text objects without text paths. No crash, no overrun, a defined
// result.
#include "pello/harness/ArtDocuments.h"
#include "pello/validate/HostSession.h"
#include "pello/host/Keyboard.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <regex>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// The matrix display's message, piece by piece; each number at most 15
// characters, as the display's buffers hold.
void expectMatrixMessage(CheckContext &context, const std::string &message) {
  static const std::regex shape(
      "Matrix: TX=(.*); TY=(.*); A=(.*); B=(.*); C=(.*); D=(.*); H scale=(.*)%; V scale=(.*)%; "
      "Skew=(.*) degrees; Rotation=(.*) degrees");
  std::smatch match;
  if (!context.expect(std::regex_match(message, match, shape),
                      "the matrix display shows \"" + message + "\""))
    return;
  for (std::size_t piece = 1; piece < match.size(); ++piece) {
    const std::string number = match[piece].str();
    context.expect(!number.empty() && number.size() <= 15, "a number of " + std::to_string(number.size()) +
                                                               " characters in the matrix display: \"" +
                                                               number + "\"");
    for (char c : number)
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
        context.fail("an unprintable character in the matrix display: \"" + message + "\"");
        return;
      }
  }
}

// Copies the matrix of the one selected object and shows it.
std::string copyAndShow(HostSession &session) {
  session.choose(kCopyEntry);
  session.dialogs.clearAlerts();
  session.choose(kShowEntry);
  const auto &alerts = session.dialogs.alerts();
  return alerts.empty() ? std::string() : alerts.back();
}

void checkDashLengths(CheckContext &context) {
  HostSession session(context);
  if (!session.bringUp()) return;
  const std::vector<float> six = {1, 2, 3, 4, 5, 6};
  for (int length : {-1, -32768, 7, 100, 32767}) {
    context.stage("dash count " + std::to_string(length));
    if (!session.open(documentOf({dashedPath("d", six, 0, length)}))) return;
    session.click(kDashRightButton); // -1
    const AIDashStyle &dash = session.document.style("d").stroke.dash;
    const float expected = length < 0 ? -1.0f : -1.0f + 2 * 21.0f;
    context.expect(dash.offset == expected, "after a dash shift of -1 the offset is " +
                                                std::to_string(dash.offset) + ", not " +
                                                std::to_string(expected) + " (the six entries, never more)");
    context.expect(dash.length == length, "the dash count was not written back as read");
    session.click(kUntransformButton);
    context.expect(session.document.style("d").stroke.dash.offset == 0.0f,
                   "untransform left the dash offset");
  }
  session.finish();
}

Json nonFiniteArt() {
  const ASRealMatrix nan{kNaN, 0, 0, kNaN, kNaN, 1};
  const ASRealMatrix inf{kInf, -kInf, kInf, 0, -kInf, kInf};
  return documentOf({patternPath("p", nan), placedArt("i", inf), rasterArt("r", {0, 0, 0, 0, kNaN, kInf}),
                     textArt("t", {nan, inf}), dashedPath("d", {kInf, kNaN, 1}, kNaN),
                     patternDashedPath("pd", inf, {-kInf, kInf}, -kInf)});
}

void checkNonFinite(CheckContext &context) {
  HostSession session(context);
  if (!session.bringUp()) return;
  if (!session.open(nonFiniteArt())) return;
  context.stage("buttons over art that is not finite");
  for (int item = kRightArrow; item <= kUntransformButton; ++item)
    session.click(item, {kVkShift, kVkControl});
  for (const char *id : {"p", "i", "r", "t", "d", "pd"}) {
    context.stage(std::string("copy and show from \"") + id + "\"");
    if (!session.open(nonFiniteArt())) return;
    session.document.model().select({id});
    expectMatrixMessage(context, copyAndShow(session));
  }
  context.stage("paste onto art that is not finite");
  session.open(nonFiniteArt());
  session.choose(kPasteEntry);
  for (const std::string &alert : session.dialogs.alerts())
    context.expect(alert.rfind("Matrix: ", 0) == 0 || alert == kMysteryAlert,
                   "unexpected alert \"" + alert + "\"");
  session.finish();
}

void checkNumberFormatting(CheckContext &context) {
  HostSession session(context);
  if (!session.bringUp()) return;
  context.stage("the identity");
  session.open(documentOf({placedArt("i", {1, 0, 0, 1, 0, 0})}));
  const std::string identity = copyAndShow(session);
  context.expect(identity ==
                     "Matrix: TX=0; TY=0; A=1; B=0; C=0; D=1; H scale=100%; V scale=100%; Skew=0 degrees; "
                     "Rotation=0 degrees",
                 "the identity is shown as \"" + identity + "\"");
  const float big = std::numeric_limits<float>::max();
  const float tiny = std::numeric_limits<float>::denorm_min();
  const ASRealMatrix matrices[] = {
      {big, -big, big, big, -big, big},
      {1e30f, 1e-30f, -1e30f, 1e20f, 123456789012.0f, -987654321.5f},
      {tiny, -tiny, tiny, tiny, 1e-8f, -1e-7f},
      {1, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0},
      {-0.0f, 1, -1, -0.0f, 99999.99f, -99999.99f},
      {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN},
      {kInf, -kInf, 1, 1, kInf, -kInf},
      {1e15f, 1e-15f, 3.4e38f, 1.17e-38f, 16777217.0f, -16777217.0f},
  };
  for (const ASRealMatrix &m : matrices) {
    char label[160];
    std::snprintf(label, sizeof label, "matrix (%g, %g, %g, %g, %g, %g)", m.a, m.b, m.c, m.d, m.tx, m.ty);
    context.stage(label);
    session.open(documentOf({placedArt("i", m)}));
    expectMatrixMessage(context, copyAndShow(session));
  }
  session.finish();
}

void writeFile(const std::filesystem::path &file, const std::string &bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string storedGroup(const std::string &name) {
  nlohmann::json root;
  root["Pello"]["kADM_DPDockGroupStr"] = {{"type", "string"}, {"value", name}};
  return root.dump();
}

void checkDockGroup(CheckContext &context) {
  for (std::size_t length : {1u, 63u, 64u, 65u, 300u, 70000u}) {
    context.stage("a stored dock group of " + std::to_string(length) + " characters");
    const std::filesystem::path prefs = context.workDir / ("group" + std::to_string(length) + ".json");
    const std::string name(length, 'G');
    writeFile(prefs, storedGroup(name));
    HostSession session(context, prefs);
    if (!session.bringUp()) return;
    const auto info = session.dialogs.info(session.palette());
    const std::string expected = length < 64 ? name : std::string("VelmoraDialogs");
    context.expect(info->group == expected, "the palette docks in a group of " +
                                                std::to_string(info->group.size()) + " characters, not " +
                                                std::to_string(expected.size()));
    session.finish();
  }
}

void checkDamagedPreferences(CheckContext &context) {
  const std::string files[] = {
      std::string("\x00\xff{{\"Pello\":", 12),
      "[]",
      "{\"Pello\": 5}",
      "{\"Pello\": {\"kADM_DPDockCodeStr\": {\"type\": \"integer\", \"value\": 99999999999}}}",
      "{\"Pello\": {\"kADM_DPLocationStr\": {\"type\": \"string\", \"value\": \"left\"},"
      " \"kADM_DPDockGroupStr\": {\"type\": \"point\", \"value\": {\"h\": 1, \"v\": 2}},"
      " \"kADM_DPDockCodeStr\": {\"type\": \"boolean\", \"value\": true}}}",
      "{\"Pello\": {\"kADM_DPLocationStr\": {\"type\": \"point\", \"value\": {\"h\": -2147483648, \"v\": "
      "-2147483648}},"
      " \"kADM_DPDockCodeStr\": {\"type\": \"integer\", \"value\": -2147483648}}}",
      std::string(100000, '{'),
      "{\"Pello\": {\"kADM_DPLocationStr\": {\"type\": \"point\", \"value\": {\"h\": 2147483647, \"v\": "
      "2147483647}}}}",
  };
  int index = 0;
  for (const std::string &bytes : files) {
    ++index;
    context.stage("preferences file " + std::to_string(index));
    const std::filesystem::path prefs = context.workDir / ("damaged" + std::to_string(index) + ".json");
    writeFile(prefs, bytes);
    HostSession session(context, prefs);
    if (!session.bringUp()) return;
    const auto info = session.dialogs.info(session.palette());
    const ASRect &b = info->bounds;
    const std::int64_t width = std::int64_t{b.right} - b.left, height = std::int64_t{b.bottom} - b.top;
    if (index == 6 || index == 8)
      // A stored location at the limits of 32 bits: the palette's rectangle
      // still runs from left to right and from top to bottom.
      context.expect(width >= 0 && width <= 212 && height >= 0 && height <= 112,
                     "the palette's rectangle is turned inside out: " + std::to_string(width) + " x " +
                         std::to_string(height));
    else
      context.expect(width == 212 && height == 112, "the palette is not 212 x 112");
    if (index != 6)
      context.expect(info->group == "VelmoraDialogs" && info->positionCode == 0x1C00,
                     "a damaged or mistyped preference did not leave the default dock");
    session.finish();
  }
}

void checkNullDialog(CheckContext &context) {
  HostSession session(context);
  if (!session.load() || session.plugin.startup() != kASNoError) return;
  context.stage("application started while the dialog manager makes no dialog");
  session.host.faults().failAlways("ADMDialog::Create", kSPOutOfMemoryError);
  ASErr error = session.plugin.notifyApplicationStarted();
  context.expect(error == kASNoError, "the notification returned " + codeText(error));
  context.expect(session.dialogs.dialogs().empty(), "a dialog exists although Create made none");
  context.stage("menu item without a palette");
  AIMenuItemHandle item = session.menuItem();
  for (int toggle = 0; toggle < 2; ++toggle) {
    error = session.plugin.menuGo(item);
    context.expect(error == kASNoError, "\"AI Go\" without a palette returned " + codeText(error));
    error = session.plugin.menuUpdate(item);
    context.expect(error == kASNoError, "\"AI Update\" without a palette returned " + codeText(error));
    const MenuItem *menu = session.host.get<Menus>().item(item);
    context.expect(menu && !menu->checked, "the menu item is checked without a palette");
  }
  context.expect(session.host.get<AccessRefs>().acquired() == 0,
                 "the plug-in holds itself without a palette");
  context.stage("shutdown without a palette");
  session.finish();
}

// The host will not let the plug-in hold itself: no palette may exist that
// the host could unload the plug-in from under.
void checkRefusedSelfHold(CheckContext &context) {
  HostSession session(context);
  if (!session.load() || session.plugin.startup() != kASNoError) return;
  context.stage("application started while the host refuses AcquirePlugin");
  session.host.faults().failAlways("SPAccess::AcquirePlugin", kSPOutOfMemoryError);
  session.plugin.notifyApplicationStarted();
  const bool palette = session.palette() != nullptr;
  context.stage("unload and reload");
  const ASErr unload = session.plugin.unload();
  context.expect(unload != kASNoError || !palette,
                 "the host could unload the plug-in while its palette lives without a hold on it");
  if (unload == kASNoError) session.plugin.reload();
  context.stage("the palette's buttons and menu after the reload");
  for (int item = kRightArrow; item <= kUntransformButton; ++item)
    session.click(item);
  session.choose(kShowEntry);
  session.host.faults().clear();
  context.stage("application started once the host allows the hold");
  session.plugin.notifyApplicationStarted();
  context.expect(session.palette() != nullptr, "no palette once the host lets the plug-in hold itself");
  session.finish();
}

void checkTextWithoutPaths(CheckContext &context) {
  HostSession session(context);
  if (!session.bringUp()) return;
  context.stage("copy from a text object without text paths, then placed art");
  session.open(documentOf({textArt("t0", {}), textArt("t5", {}, 5), placedArt("i", {2, 0, 0, 2, 7, 8})}));
  const std::string shown = copyAndShow(session);
  context.expect(shown.rfind("Matrix: TX=7; TY=8; A=2;", 0) == 0,
                 "copy did not go on past text without text paths: \"" + shown + "\"");
  context.stage("paste and untransform onto text without text paths");
  session.open(documentOf({textArt("t0", {}), textArt("t5", {}, 5)}));
  session.dialogs.clearAlerts();
  session.choose(kPasteEntry);
  session.click(kUntransformButton);
  context.expect(session.dialogs.alerts().empty(), "an alert for text without text paths");
  session.finish();
}

void checkLargeSelection(CheckContext &context) {
  HostSession session(context);
  if (!session.bringUp()) return;
  std::vector<Json> art;
  for (int i = 0; i < 5000; ++i)
    art.push_back(i % 2 ? patternPath("p" + std::to_string(i))
                        : dashedPath("d" + std::to_string(i), {1, 2}, 0));
  session.open(documentOf(std::move(art)));
  session.host.log().setEnabled(false);
  context.stage("every button over 5000 selected objects");
  for (int item = kRightArrow; item <= kUntransformButton; ++item)
    session.click(item);
  context.expect(session.document.style("p1").fill.color.c.p.transform.tx == 0,
                 "the pattern is not back where it started after the eight arrows and untransform");
  context.expect(session.blocks.liveCount() == 1, "the selection lists were not given back");
  session.finish();
}

} // namespace

std::vector<Check> dataChecks() {
  return {
      {"data", "data.dash-lengths", "dash counts -1, -32768, 7, 100, 32767: never more than the six entries",
       checkDashLengths},
      {"data", "data.non-finite",
       "NaN and infinite matrices, offsets and dash lengths through every operation", checkNonFinite},
      {"data", "data.number-formatting",
       "huge, tiny and odd numbers in the matrix display: 15 characters at most", checkNumberFormatting},
      {"data", "data.dock-group",
       "stored dock groups of 1 to 70000 characters: the buffer of 64 never overflows", checkDockGroup},
      {"data", "data.damaged-preferences", "garbage, wrong types and extreme values in the preferences file",
       checkDamagedPreferences},
      {"data", "data.null-dialog",
       "Create makes no dialog: the menu item does nothing, shutdown destroys nothing", checkNullDialog},
      {"data", "data.refused-self-hold",
       "the host refuses AcquirePlugin: no palette the plug-in could be unloaded from under",
       checkRefusedSelfHold},
      {"data", "data.text-without-paths", "text objects without text paths in copy, paste and untransform",
       checkTextWithoutPaths},
      {"data", "data.large-selection", "every button over 5000 selected objects; the lists given back",
       checkLargeSelection},
  };
}

} // namespace pello::validate
