#include "pello/harness/HostedPlugin.h"

#include "pello/harness/PluginSurface.h"
#include "pello/host/Keyboard.h"
#include "pello/host/Menus.h"

namespace pello::harness {

using namespace pello::host;

HostedPlugin::HostedPlugin(HostedPluginOptions options) : options_(std::move(options)) {
  startHost();
}

HostedPlugin::~HostedPlugin() = default;

void HostedPlugin::startHost() {
  host_ = std::make_unique<Host>();
  if (!options_.preferences.empty()) preferences().setFile(options_.preferences);
  if (options_.errorTexts) {
    if (!errorTexts_)
      errorTexts_ = std::make_unique<ErrorTextListModule>(
          [this]() -> const host::PluginModule * { return plugin().module(); },
          ErrorTextListModule::entriesFromUtf8(*options_.errorTexts));
    dialogs().setModuleLookup([this](SPPluginRef ref) -> const host::PluginModule * {
      return ref == plugin().ref() && plugin().module() ? errorTexts_.get() : nullptr;
    });
  }
  if (options_.prepare) options_.prepare(*host_);
}

Outcome HostedPlugin::load() {
  if (plugin().load(options_.module) == kASNoError) return Outcome::ok();
  return Outcome::failed(plugin().lastError());
}

Outcome HostedPlugin::start() {
  ASErr error = startup();
  if (error != kASNoError) return Outcome::failed("startup returned " + errorCodeText(error));
  error = plugin().notifyApplicationStarted();
  if (error != kASNoError)
    return Outcome::failed("the application-started notification returned " + errorCodeText(error));
  if (palette() == nullptr) return Outcome::failed("no palette after the application-started notification");
  return Outcome::ok();
}

ASErr HostedPlugin::startup() {
  const ASErr error = plugin().startup();
  if (error == kASNoError) started_ = true;
  return error;
}

Outcome HostedPlugin::bringUp() {
  Outcome loaded = load();
  return loaded ? start() : loaded;
}

ASErr HostedPlugin::shutdown() {
  started_ = false;
  const ASErr error = plugin().shutdown();
  if (plugin().callDepth() == 0 && !holdsRecord()) plugin().closeLeftDialogs();
  return error;
}

bool HostedPlugin::holdsRecord() const {
  for (const host::Blocks::Block &block : host_->get<host::Blocks>().live())
    if (block.name == kGlobalsBlockName) return true;
  return false;
}

Outcome HostedPlugin::restart(bool keepDocument) {
  const ASErr shut = started_ ? shutdown() : kASNoError;
  Json kept;
  if (keepDocument) kept = documentJson();
  host_.reset(); // the old host writes its preferences file as it goes
  startHost();
  if (!kept.is_null()) document().open(readDocument(kept));
  Outcome loaded = load();
  if (loaded && shut != kASNoError) return Outcome::failed("shutdown returned " + errorCodeText(shut));
  return loaded;
}

bool HostedPlugin::holdsAnything() {
  return dialogs().palette() != nullptr || blocks().liveCount() != 0 || host_->suites().totalHolds() != 0;
}

ASErr HostedPlugin::settleAndShutDown(int *shutdownsSent) {
  if (shutdownsSent) *shutdownsSent = 0;
  faults().clear();
  for (const std::string &name : host_->suites().names())
    host_->suites().restore(name);
  host_->get<Keyboard>().failReads(0);
  // The library may be out of memory with its record kept by the host.
  if (!plugin().loaded() && plugin().globalsSlot() != nullptr && plugin().reload() != kASNoError)
    return kHostLoadError;
  ASErr first = kASNoError;
  if (!plugin().loaded()) return first;
  for (int attempt = 0; attempt < 2 && holdsAnything(); ++attempt) {
    const ASErr error = shutdown();
    if (shutdownsSent) ++*shutdownsSent;
    if (attempt == 0) first = error;
  }
  return first;
}

Outcome HostedPlugin::paletteThere() const {
  if (palette() != nullptr) return Outcome::ok();
  return Outcome::failed("there is no palette: the plug-in has not created it, or it is destroyed");
}

AIMenuItemHandle HostedPlugin::menuItem() {
  MenuItem *item = host_->get<Menus>().find(kMenuItemKey);
  return item ? item->handle() : nullptr;
}

Outcome HostedPlugin::click(int item, std::span<const int> keys) {
  ADMDialogRef dialog = palette();
  if (Outcome there = paletteThere(); !there) return there;
  if (!dialogs().click(dialog, item, keys))
    return Outcome::failed("the palette has no shown, enabled item " + std::to_string(item) + " to click");
  return Outcome::ok();
}

Outcome HostedPlugin::click(std::string_view name, std::span<const int> keys) {
  const PaletteButton *button = paletteButtonNamed(name);
  if (button == nullptr) return Outcome::failed("the palette has no button \"" + std::string(name) + "\"");
  return click(button->id, keys);
}

Outcome HostedPlugin::choose(int entry, std::span<const int> keys) {
  ADMDialogRef dialog = palette();
  if (Outcome there = paletteThere(); !there) return there;
  if (entry < 0 || !dialogs().chooseMenuEntry(dialog, entry, keys))
    return Outcome::failed("the palette's option menu has no such entry");
  return Outcome::ok();
}

Outcome HostedPlugin::choose(std::string_view text, std::span<const int> keys) {
  ADMDialogRef dialog = palette();
  if (dialog != nullptr)
    if (std::optional<ItemInfo> button = dialogs().item(dialog, kOptionMenuButton))
      for (const EntryInfo &entry : button->entries)
        if (entry.text == text) return choose(entry.index, keys);
  return choose(-1, keys);
}

void HostedPlugin::answerNextModal(int item) {
  dialogs().queueModalScript(DialogManager::pressItem(item));
}

Outcome HostedPlugin::open(const Json &json) {
  try {
    document().open(readDocument(json));
    return Outcome::ok();
  } catch (const std::exception &e) {
    return Outcome::failed(e.what());
  }
}

Json HostedPlugin::documentJson() const {
  return document().isOpen() ? writeDocument(document().model()) : Json();
}

std::string HostedPlugin::documentText() const {
  return document().isOpen() ? formatDocument(document().model()) : std::string();
}

std::vector<ModalRecord> HostedPlugin::errorDialogs() const {
  std::vector<ModalRecord> out;
  for (const ModalRecord &record : dialogs().modalHistory())
    if (record.resourceId == kErrorDialogId) out.push_back(record);
  return out;
}

std::vector<CallRecord> HostedPlugin::recordsSince(std::string_view op, std::size_t from) const {
  std::vector<CallRecord> out;
  const std::vector<CallRecord> &records = host_->log().records();
  for (std::size_t i = from; i < records.size(); ++i)
    if (records[i].op == op) out.push_back(records[i]);
  return out;
}

std::vector<std::string> HostedPlugin::opsSince(std::size_t from) const {
  std::vector<std::string> out;
  for (const std::string &op : host_->log().ops(from))
    if (op.rfind("Host::", 0) != 0 && op != "SPBasic::IsEqual") out.push_back(op);
  return out;
}

} // namespace pello::harness
