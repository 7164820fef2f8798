// lifecycle: startup, application started, use, shutdown, over and over;
// unload and reload between calls; the placement kept across restarts.
// After every cycle nothing may be left: suites, blocks, access references,
// dialogs, and the preferences file must read back.
#include "pello/harness/ArtDocuments.h"
#include "pello/validate/HostSession.h"

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

namespace {

// A host starts a plug-in once per run of the host: a cycle is a run.
constexpr int kHostRuns = 3;

Json everyKindOfArt() {
  return documentOf({patternPath("p1", {1, 0, 0, 1, 3, 4}), dashedPath("d1", {3, 2}, 0.5f),
                     patternDashedPath("pd1", {2, 0, 0, 2, 1, 1}, {4}, 1), solidPath("s1"),
                     textArt("t1", {{2, 0, 0, 2, 10, 20}, {1, 0.5f, 0, 1, 30, 40}}),
                     placedArt("i1", {2, 0.5f, 0, 3, 40, 25}), rasterArt("r1", {1, 0, 0, 1, 5, 5}),
                     mysteryPath("m1"), groupArt("g1", {patternPath("g1p")})});
}

// Every button with a few modifier combinations, every option-menu entry,
// the menu item both ways, the About box.
void useEverything(HostSession &session) {
  CheckContext &context = session.context;
  context.stage("clicks on every palette button");
  for (int item = kRightArrow; item <= kUntransformButton; ++item) {
    context.expect(session.click(item), "palette item " + std::to_string(item) + " cannot be clicked");
    session.click(item, {kVkShift, kVkControl});
    session.click(item, {kVkAlt, kVkLeftWindows});
  }
  context.stage("option-menu entries");
  for (int entry : {kCopyEntry, kShowEntry, kPasteEntry, kShowEntry})
    context.expect(session.choose(entry), "option-menu entry " + std::to_string(entry) + " cannot be chosen");
  context.stage("menu item and About box");
  AIMenuItemHandle item = session.menuItem();
  if (!context.expect(item != nullptr, "no \"Pello Palette\" menu item")) return;
  for (int toggle = 0; toggle < 2; ++toggle) {
    ASErr error = session.plugin.menuGo(item);
    context.expect(error == kASNoError, "\"AI Go\" returned " + codeText(error));
    error = session.plugin.menuUpdate(item);
    context.expect(error == kASNoError, "\"AI Update\" returned " + codeText(error));
    const auto info = session.dialogs.info(session.palette());
    const MenuItem *menu = session.host.get<Menus>().item(item);
    if (info && menu)
      context.expect(menu->checked == info->visible,
                     "the menu item's check mark does not follow the palette");
  }
  const ASErr about = session.plugin.about();
  context.expect(about == kASNoError, "\"About\" returned " + codeText(about));
}

void checkCycles(CheckContext &context) {
  const std::filesystem::path prefs = context.workDir / "cycles.json";
  for (int run = 0; run < kHostRuns; ++run) {
    HostSession session(context, prefs);
    if (!session.load()) return;
    {
      const std::string where = "host run " + std::to_string(run + 1);
      context.stage(where + ": startup and application started");
      ASErr error = session.plugin.startup();
      if (!context.expect(error == kASNoError, "startup returned " + codeText(error))) return;
      error = session.plugin.notifyApplicationStarted();
      context.expect(error == kASNoError, "application started returned " + codeText(error));
      if (!context.expect(session.palette() != nullptr, "no palette")) return;
      session.open(everyKindOfArt());
      useEverything(session);
      context.stage(where + ": shutdown");
      error = session.plugin.shutdown();
      context.expect(error == kASNoError, "shutdown returned " + codeText(error));
      session.checkClean();
      if (context.failed()) return;
    }
  }
}

// The host's calls of a session, in order; unload and reload are tried
// after each of them.
enum class Step { Startup, About, MenuUpdate, MenuGo, AppStarted, Click, Copy, Shutdown };
constexpr Step kSteps[] = {Step::Startup,    Step::About, Step::MenuUpdate, Step::MenuGo, Step::AppStarted,
                           Step::MenuUpdate, Step::Click, Step::Copy,       Step::MenuGo, Step::Shutdown};

const char *stepName(Step step) {
  switch (step) {
  case Step::Startup:
    return "startup";
  case Step::About:
    return "About";
  case Step::MenuUpdate:
    return "AI Update";
  case Step::MenuGo:
    return "AI Go";
  case Step::AppStarted:
    return "application started";
  case Step::Click:
    return "click";
  case Step::Copy:
    return "copy";
  case Step::Shutdown:
    return "shutdown";
  }
  return "?";
}

ASErr perform(HostSession &session, Step step) {
  switch (step) {
  case Step::Startup:
    return session.plugin.startup();
  case Step::About:
    return session.plugin.about();
  case Step::MenuUpdate:
    return session.plugin.menuUpdate(session.menuItem());
  case Step::MenuGo:
    return session.plugin.menuGo(session.menuItem());
  case Step::AppStarted:
    return session.plugin.notifyApplicationStarted();
  case Step::Click:
    return session.click(3) ? kASNoError : kHostNotLoadedError;
  case Step::Copy:
    return session.choose(kCopyEntry) ? kASNoError : kHostNotLoadedError;
  case Step::Shutdown:
    return session.plugin.shutdown();
  }
  return kASNoError;
}

void checkUnloadReload(CheckContext &context) {
  const std::size_t count = std::size(kSteps);
  for (std::size_t after = 0; after + 1 < count; ++after) {
    HostSession session(context);
    if (!session.load()) return;
    session.open(documentOf({patternPath("p1"), placedArt("i1", {2, 0, 0, 2, 7, 8})}));
    for (std::size_t index = 0; index < count; ++index) {
      const Step step = kSteps[index];
      context.stage(std::string("unload and reload after ") + stepName(kSteps[after]) + ": " +
                    stepName(step));
      const ASErr error = perform(session, step);
      if (step == Step::Click || step == Step::Copy) {
        // The palette holds the plug-in: there is always a palette here.
        context.expect(error == kASNoError,
                       std::string("the palette could not be used for ") + stepName(step));
      } else {
        context.expect(error == kASNoError, std::string(stepName(step)) + " returned " + codeText(error));
      }
      if (index != after) continue;
      void *record = nullptr;
      for (const Blocks::Block &block : session.blocks.live())
        if (block.name == kGlobalsBlockName) record = block.address;
      const bool paletteUp = session.palette() != nullptr;
      const ASErr unload = session.plugin.unload();
      if (paletteUp) {
        // The palette's access reference keeps the library in memory.
        context.expect(unload == kHostPluginInUseError,
                       "the host unloaded the plug-in while its palette held it (" + codeText(unload) + ")");
        continue;
      }
      if (!context.expect(unload == kASNoError, "unload returned " + codeText(unload))) return;
      context.expect(session.plugin.globalsSlot() == record,
                     "the unload did not hand the record to the host");
      const ASErr reload = session.plugin.reload();
      if (!context.expect(reload == kASNoError,
                          "reload returned " + codeText(reload) + " " + session.plugin.lastError()))
        return;
      context.expect(session.plugin.globalsSlot() == record,
                     "the record handed over at the unload did not come back");
    }
    session.finish();
    if (context.failed()) return;
  }
}

void checkPlacementKept(CheckContext &context) {
  const std::filesystem::path prefs = context.workDir / "placement.json";
  ASRect left{};
  {
    HostSession session(context, prefs);
    context.stage("first run: move, dock and hide the palette");
    if (!session.bringUp()) return;
    session.dialogs.move(session.palette(), 37, -12);
    session.dialogs.dock(session.palette(), "Other Dialogs", 5);
    session.dialogs.setVisible(session.palette(), false);
    left = session.dialogs.info(session.palette())->bounds;
    session.finish();
    auto location = session.preferences.getPoint(kPreferencePrefix, kLocationKey);
    context.expect(location && location->h == left.left && location->v == left.top,
                   "the location written at shutdown is not the palette's left and top");
    context.expect(session.preferences.getBoolean(kPreferencePrefix, kVisibleKey) ==
                       std::optional<bool>(false),
                   "a hidden palette is not saved as hidden");
  }
  {
    HostSession session(context, prefs);
    context.stage("second run: the palette where the first left it");
    if (!session.bringUp()) return;
    const auto info = session.dialogs.info(session.palette());
    const ASRect expected{left.left, left.top - 6, left.left + 212, left.top + 106};
    context.expect(info->bounds.left == expected.left && info->bounds.top == expected.top &&
                       info->bounds.right == expected.right && info->bounds.bottom == expected.bottom,
                   "the palette's bounds after a restart are not the stored location's");
    context.expect(info->group == "Other Dialogs" && info->positionCode == 5,
                   "the palette does not dock where it was left: \"" + info->group + "\" " +
                       std::to_string(info->positionCode));
    session.finish();
  }
}

} // namespace

std::vector<Check> lifecycleChecks() {
  return {
      {"lifecycle", "lifecycle.cycles",
       "startup, palette, every button, menu and About, shutdown, repeated over host restarts: nothing left",
       checkCycles},
      {"lifecycle", "lifecycle.unload-reload",
       "unload and reload after each call of a session: the record comes back", checkUnloadReload},
      {"lifecycle", "lifecycle.placement", "the palette's place, dock and visibility survive a host restart",
       checkPlacementKept},
  };
}

} // namespace pello::validate
