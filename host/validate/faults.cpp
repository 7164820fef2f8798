// faults: a systematic sweep. For every scenario (a lifecycle call or a
// palette operation), every host operation the plug-in calls in it and every
// k it reaches, a fresh host fails the k-th call of that operation. The
// plug-in must not crash, must give the code and the alerts its rules give,
// must write nothing after the failure and keep what it wrote before, and
// must leave nothing behind once shut down.
#include "pello/harness/ArtDocuments.h"
#include "FaultSweep.h"

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;
using namespace pello::validate::faultsweep;

namespace {

bool loaded(HostSession &session, RunState &) {
  return session.load();
}
bool started(HostSession &session, RunState &) {
  return session.load() && session.plugin.startup() == kASNoError;
}
bool paletteUp(HostSession &session, RunState &) {
  return session.bringUp();
}

std::vector<ASErr> doStartup(HostSession &session) {
  return {session.plugin.startup()};
}
std::vector<ASErr> doAppStarted(HostSession &session) {
  return {session.plugin.notifyApplicationStarted()};
}
std::vector<ASErr> doMenu(HostSession &session) {
  AIMenuItemHandle item = session.menuItem();
  return {session.plugin.menuUpdate(item), session.plugin.menuGo(item), session.plugin.menuUpdate(item),
          session.plugin.menuGo(item)};
}
std::vector<ASErr> doAbout(HostSession &session) {
  return {session.plugin.about()};
}
std::vector<ASErr> doShutdown(HostSession &session) {
  return {session.plugin.shutdown()};
}

// A startup whose menu item the host refuses with `code`: the error dialog
// looks the code up in the plug-in's error text list.
template <ASErr code> bool refusingMenuItem(HostSession &session, RunState &state) {
  if (!session.load()) return false;
  session.host.faults().failAlways("AIMenu::AddMenuItem", code);
  state.allowedCodes.push_back(code);
  return true;
}

constexpr ASErr kCodeMissingFromList = -50;

bool withDocument(HostSession &session, const Json &document) {
  return session.bringUp() && session.open(document);
}

bool patternDocument(HostSession &session, RunState &) {
  return withDocument(session,
                      documentOf({solidPath("s1"), patternPath("p1", {1, 0, 0, 1, 2, 3}), mysteryPath("m1"),
                                  placedArt("i1", {2, 0, 0, 2, 0, 0}), patternPath("p2", {2, 0, 0, 2, 5, 5}),
                                  groupArt("g1", {patternPath("g1p")}), patternPath("p3")}));
}
bool dashDocument(HostSession &session, RunState &) {
  return withDocument(session, documentOf({dashedPath("d1", {3, 2}, 0.5f), mysteryPath("m1"), solidPath("s1"),
                                           dashedPath("d2", {4}, 0), dashedPath("d3", {1, 1}, 5)}));
}
bool untransformDocument(HostSession &session, RunState &) {
  return withDocument(
      session,
      documentOf({patternDashedPath("pd1", {2, 0, 0, 2, 1, 1}, {3, 2}, 4),
                  placedArt("i1", {2, 0.5f, 0, 3, 40, 25}),
                  textArt("t1", {{2, 0, 0, 2, 1, 2}, {1, 1, 0, 1, 3, 4}, {3, 0, 1, 3, 5, 6}}),
                  rasterArt("r1", {0.5f, 0, 0, 0.5f, 7, 8}), mysteryPath("m1"), dashedPath("d1", {1, 2}, 3),
                  patternPath("p1", {1, 0, 0, 1, 9, 9}), textArt("t0", {})}));
}
bool pasteDocument(HostSession &session, RunState &) {
  if (!withDocument(session, documentOf({placedArt("src", {1.5f, 0, 0.25f, 2, 30, 40})}))) return false;
  if (!session.choose(kCopyEntry)) return false;
  return session.open(documentOf({patternPath("p1", {2, 0, 0, 2, 1, 1}),
                                  textArt("t1", {{2, 0, 0, 2, 1, 2}, {1, 1, 0, 1, 3, 4}, {3, 0, 1, 3, 5, 6}}),
                                  placedArt("i1", {2, 0.5f, 0, 3, 40, 25}), mysteryPath("m1"),
                                  rasterArt("r1", {0.5f, 0, 0, 0.5f, 7, 8}), solidPath("s1"),
                                  textArt("t0", {}), patternPath("p2")}));
}

// Copy: a distinctive held matrix first, shown, then the document to copy
// from.
bool copyFrom(HostSession &session, RunState &state, const Json &document) {
  if (!withDocument(session, documentOf({placedArt("old", {3, 0, 0, 3, 11, 12})}))) return false;
  if (!session.choose(kCopyEntry) || !session.choose(kShowEntry) || session.dialogs.alerts().empty())
    return false;
  state.oldShow = session.dialogs.alerts().back();
  return session.open(document);
}
bool copyTextDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state,
                  documentOf({solidPath("s1"), groupArt("g1", {patternPath("g1p")}), textArt("t0", {}),
                              textArt("t1", {{2, 0, 0, 2, 1, 2}, {1, 1, 0, 1, 3, 4}})}));
}
bool copyPlacedDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state, documentOf({solidPath("s1"), placedArt("i1", {2, 0.5f, 0, 3, 40, 25})}));
}
bool copyRasterDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state, documentOf({rasterArt("r1", {0.5f, 0, 0, 0.5f, 7, 8})}));
}
bool copyPatternDocument(HostSession &session, RunState &state) {
  return copyFrom(session, state, documentOf({solidPath("s1"), patternPath("p1", {1, 0, 1, 1, 4, 5})}));
}
bool showDocument(HostSession &session, RunState &) {
  return withDocument(session, documentOf({placedArt("i1", {1, 1, 0, 1, 4, 5})})) &&
         session.choose(kCopyEntry);
}

std::vector<ASErr> clickUp(HostSession &session) {
  session.click(3);
  return {};
}
std::vector<ASErr> clickDashRight(HostSession &session) {
  session.click(kDashRightButton);
  return {};
}
std::vector<ASErr> clickUntransform(HostSession &session) {
  session.click(kUntransformButton);
  return {};
}
std::vector<ASErr> choosePaste(HostSession &session) {
  session.choose(kPasteEntry);
  return {};
}
std::vector<ASErr> copyThenShow(HostSession &session) {
  session.choose(kCopyEntry);
  session.choose(kShowEntry);
  return {};
}
std::vector<ASErr> chooseShow(HostSession &session) {
  session.choose(kShowEntry);
  return {};
}

const Scenario kScenarios[] = {
    {"startup", Kind::Call, loaded, doStartup},
    {"app-started", Kind::Call, started, doAppStarted},
    {"menu", Kind::Call, paletteUp, doMenu},
    {"about", Kind::Call, started, doAbout},
    {"shutdown-palette", Kind::Call, paletteUp, doShutdown},
    {"shutdown", Kind::Call, started, doShutdown},
    {"error-dialog-number", Kind::Call, refusingMenuItem<kCodeMissingFromList>, doStartup},
    {"error-dialog-code", Kind::Call, refusingMenuItem<kASNotANumberError>, doStartup},
    {"pattern-shift", Kind::Operation, patternDocument, clickUp},
    {"dash-shift", Kind::Operation, dashDocument, clickDashRight},
    {"untransform", Kind::Operation, untransformDocument, clickUntransform},
    {"paste", Kind::Operation, pasteDocument, choosePaste},
    {"copy-text", Kind::Copy, copyTextDocument, copyThenShow},
    {"copy-placed", Kind::Copy, copyPlacedDocument, copyThenShow},
    {"copy-raster", Kind::Copy, copyRasterDocument, copyThenShow},
    {"copy-pattern", Kind::Copy, copyPatternDocument, copyThenShow},
    {"show", Kind::Operation, showDocument, chooseShow},
};

template <std::size_t N> void sweepScenario(CheckContext &context) {
  sweep(context, kScenarios[N]);
}

} // namespace

std::vector<Check> faultsChecks() {
  return {
      {"faults", "faults.startup", "every host call of startup failed in turn", sweepScenario<0>},
      {"faults", "faults.app-started", "every host call of the palette's creation failed in turn",
       sweepScenario<1>},
      {"faults", "faults.menu", "every host call of \"AI Update\" and \"AI Go\" failed in turn",
       sweepScenario<2>},
      {"faults", "faults.about", "every host call of the About box failed in turn", sweepScenario<3>},
      {"faults", "faults.shutdown-palette",
       "every host call of a shutdown with the palette up failed in turn", sweepScenario<4>},
      {"faults", "faults.shutdown", "every host call of a shutdown without a palette failed in turn",
       sweepScenario<5>},
      {"faults", "faults.error-dialog-number",
       "every host call of the error dialog for a number not in the list", sweepScenario<6>},
      {"faults", "faults.error-dialog-code", "every host call of the error dialog for a four-character code",
       sweepScenario<7>},
      {"faults", "faults.pattern-shift", "every host call of a pattern shift failed in turn",
       sweepScenario<8>},
      {"faults", "faults.dash-shift", "every host call of a dash shift failed in turn", sweepScenario<9>},
      {"faults", "faults.untransform", "every host call of an untransform failed in turn", sweepScenario<10>},
      {"faults", "faults.paste", "every host call of a matrix paste failed in turn", sweepScenario<11>},
      {"faults", "faults.copy-text", "every host call of a copy from text failed in turn", sweepScenario<12>},
      {"faults", "faults.copy-placed", "every host call of a copy from placed art failed in turn",
       sweepScenario<13>},
      {"faults", "faults.copy-raster", "every host call of a copy from raster art failed in turn",
       sweepScenario<14>},
      {"faults", "faults.copy-pattern", "every host call of a copy from a pattern failed in turn",
       sweepScenario<15>},
      {"faults", "faults.show", "every host call of the matrix display failed in turn", sweepScenario<16>},
  };
}

} // namespace pello::validate
