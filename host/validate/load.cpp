// load: the module as the host finds it: its PiPL, its one export, its
// resources, and how long it takes to start.
#include "pello/validate/HostSession.h"
#include "pello/host/PluginModule.h"
#include "pello/host/ResourceTemplates.h"

#include <chrono>

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

namespace {

constexpr std::uint32_t kKindSPEA = 0x53504541;
constexpr std::size_t kPiPLSize = 78;
// Load, startup, palette, shutdown: well under this even in a sanitizer build.
constexpr double kStartupBudgetMs = 1000;

void checkPiPL(CheckContext &context) {
  HostSession session(context);
  if (!session.load()) return;
  const PiPLInfo &pipl = session.plugin.module()->pipl();
  context.expect(pipl.kind == kKindSPEA, "the PiPL's plug-in kind is not 'SPEA'");
  context.expect(pipl.interfaceVersion == 2,
                 "the PiPL's interface version is " + std::to_string(pipl.interfaceVersion) + ", not 2");
  context.expect(pipl.entryPoint == "PluginMain",
                 "the PiPL names the entry point \"" + pipl.entryPoint + "\"");
  const std::vector<std::uint8_t> *bytes =
      session.plugin.module()->resource(ResourceType::named("PIPL"), kPiPLId);
  if (context.expect(bytes != nullptr, "no PiPL resource " + std::to_string(kPiPLId)))
    context.expect(bytes->size() == kPiPLSize,
                   "the PiPL resource has " + std::to_string(bytes->size()) + " bytes, not 78");
}

void checkExports(CheckContext &context) {
  HostSession session(context);
  if (!session.load()) return;
  std::vector<std::string> names = session.plugin.module()->exportedNames();
  std::string listed;
  for (const std::string &name : names)
    listed += (listed.empty() ? "" : ", ") + name;
  context.expect(names.size() == 1 && names[0] == "PluginMain",
                 "the module exports " + (listed.empty() ? std::string("nothing") : listed) +
                     ", not PluginMain alone");
}

void checkDialog(CheckContext &context, const PluginModule &module, int id, std::size_t items) {
  const std::vector<std::uint8_t> *bytes = module.resource(ResourceType::id(kRtDialog), id);
  if (!context.expect(bytes != nullptr, "no dialog resource " + std::to_string(id))) return;
  DialogTemplate dialog;
  std::string error;
  if (!context.expect(parseDialogTemplate(*bytes, dialog, error),
                      "dialog " + std::to_string(id) + ": " + error))
    return;
  context.expect(dialog.items.size() == items, "dialog " + std::to_string(id) + " has " +
                                                   std::to_string(dialog.items.size()) + " items, not " +
                                                   std::to_string(items));
}

void checkBitmap(CheckContext &context, const PluginModule &module, int id, int width, int height, int bits) {
  const std::vector<std::uint8_t> *bytes = module.resource(ResourceType::id(kRtBitmap), id);
  if (!context.expect(bytes != nullptr, "no bitmap resource " + std::to_string(id))) return;
  Bitmap bitmap;
  std::string error;
  if (!context.expect(parseBitmap(*bytes, bitmap, error), "bitmap " + std::to_string(id) + ": " + error))
    return;
  context.expect(bitmap.width == width && bitmap.height == height && bitmap.bitCount == bits,
                 "bitmap " + std::to_string(id) + " is " + std::to_string(bitmap.width) + " x " +
                     std::to_string(bitmap.height) + " at " + std::to_string(bitmap.bitCount) + " bits");
}

void checkResources(CheckContext &context) {
  HostSession session(context);
  if (!session.load()) return;
  const PluginModule &module = *session.plugin.module();
  checkDialog(context, module, kPaletteDialogId, kPaletteDialogItems);
  checkDialog(context, module, kAboutDialogId, kAboutDialogItems);
  checkDialog(context, module, kErrorDialogId, kErrorDialogItems);
  const std::string menuId = std::to_string(kOptionMenuId);
  const std::vector<std::uint8_t> *menuBytes = module.resource(ResourceType::id(kRtMenu), kOptionMenuId);
  if (context.expect(menuBytes != nullptr, "no menu resource " + menuId)) {
    MenuTemplate menu;
    std::string error;
    if (context.expect(parseMenuTemplate(*menuBytes, menu, error), "menu " + menuId + ": " + error))
      context.expect(menuCommands(menu).size() == std::size(kOptionMenuEntries),
                     "menu " + menuId + " does not hold three commands");
  }
  for (int id = kFirstArrowBitmap; id <= kLastArrowBitmap; ++id)
    checkBitmap(context, module, id, 15, 15, 1);
  checkBitmap(context, module, kAboutLogoBitmap, 90, 39, 24);
  context.expect(module.resource(ResourceType::id(kRtVersion), kVersionResourceId) != nullptr,
                 "no version resource " + std::to_string(kVersionResourceId));
  // The error text list: pairs of a code and its message, from entry 1.
  int entries = 0;
  while (resourceString(module, kErrorTextListId + 1 + entries))
    ++entries;
  context.expect(entries >= 2 && entries % 2 == 0, "the error text list " + std::to_string(kErrorTextListId) +
                                                       " holds " + std::to_string(entries) +
                                                       " entries, not whole pairs");
}

void checkStartupTime(CheckContext &context) {
  const auto start = std::chrono::steady_clock::now();
  {
    HostSession session(context);
    context.stage("load, startup, application started");
    if (!session.bringUp()) return;
    context.stage("shutdown");
    session.finish();
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  context.expect(ms < kStartupBudgetMs,
                 "load, startup, palette and shutdown took " + std::to_string(ms) + " ms");
}

} // namespace

std::vector<Check> loadChecks() {
  return {
      {"load", "load.pipl",
       "PiPL 16000: kind 'SPEA', interface version 2, entry point \"PluginMain\", 78 bytes", checkPiPL},
      {"load", "load.exports", "the module's dynamic symbols: PluginMain and nothing else", checkExports},
      {"load", "load.resources",
       "dialogs 16000/16050/16051, menu 700, bitmaps 1-8 and 16502, version, error list", checkResources},
      {"load", "load.startup-time", "load, startup, palette and shutdown within a second", checkStartupTime},
  };
}

} // namespace pello::validate
