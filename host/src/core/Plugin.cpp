#include "pello/host/Plugin.h"

#include "pello/host/DialogManager.h"

#include "pello/host/Notifiers.h"
#include "pello/host/Preferences.h"
#include "platform/Platform.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

Plugin::Plugin(Host &host) : host_(host) {}

Plugin::~Plugin() {
  module_.reset();
}

ASErr Plugin::load(const std::filesystem::path &path) {
  module_.reset();
  globals_ = nullptr;
  path_ = path;
  lastError_.clear();
  module_ = PluginModule::open(path, lastError_);
  return module_ ? kASNoError : kHostLoadError;
}

const PluginModule *Plugin::moduleFor(SPPluginRef plugin) const {
  return plugin != nullptr && plugin == ref() ? module_.get() : nullptr;
}

SPPluginRef Plugin::ref() const {
  return reinterpret_cast<SPPluginRef>(const_cast<char *>(&identity_));
}

SPBasicSuite *Plugin::basic() const {
  return basicSuite();
}

ASErr Plugin::call(const char *caller, const char *selector, void *message) {
  if (!module_) return kHostNotLoadedError;
  AnyMessage any{};
  SPMessageData *d = message ? static_cast<SPMessageData *>(message) : &any.d;
  d->self = ref();
  d->globals = globals_;
  d->basic = basic();
  CallLog &log = host_.log();
  auto names = [&] {
    return std::vector<CallArg>{{"caller", CallValue::of(caller ? caller : "")},
                                {"selector", CallValue::of(selector ? selector : "")}};
  };
  if (log.enabled()) log.add(CallRecord{"Host::PluginMain", names(), 0, false});
  ++depth_;
  ASErr result = module_->entry()(caller, selector, d);
  --depth_;
  globals_ = d->globals;
  if (log.enabled()) log.add(CallRecord{"Host::PluginMainReturned", names(), result, false});
  return result;
}

ASErr Plugin::startup() {
  SPInterfaceMessage message{};
  return call(kSPInterfaceCaller, kSPInterfaceStartupSelector, &message);
}

ASErr Plugin::about() {
  SPInterfaceMessage message{};
  return call(kSPInterfaceCaller, kSPInterfaceAboutSelector, &message);
}

ASErr Plugin::shutdown() {
  SPInterfaceMessage message{};
  ASErr result = call(kSPInterfaceCaller, kSPInterfaceShutdownSelector, &message);
  host_.get<Preferences>().save();
  return result;
}

ASErr Plugin::unload() {
  if (!module_) return kHostNotLoadedError;
  // An access reference keeps the library in memory; so does its own code
  // still running.
  if (host_.get<AccessRefs>().held(ref()) > 0 || depth_ > 0) return kHostPluginInUseError;
  SPAccessMessage message{};
  ASErr result = call(kSPAccessCaller, kSPAccessUnloadSelector, &message);
  closeLeftDialogs();
  module_.reset();
  residentAfterUnload_ = libraryResident(path_);
  return result;
}

std::size_t Plugin::closeLeftDialogs() {
  const std::size_t closed = host_.get<DialogManager>().closeDialogsOf(ref());
  dialogsClosedByHost_ += closed;
  return closed;
}

ASErr Plugin::reload() {
  if (module_) {
    lastError_ = "the plug-in is loaded already";
    return kHostLoadError;
  }
  if (path_.empty()) return kHostNotLoadedError;
  lastError_.clear();
  module_ = PluginModule::open(path_, lastError_);
  if (!module_) return kHostLoadError;
  SPAccessMessage message{};
  return call(kSPAccessCaller, kSPAccessReloadSelector, &message);
}

ASErr Plugin::menuGo(AIMenuItemHandle item) {
  AIMenuMessage message{};
  message.menuItem = item;
  return call(kAIMenuCaller, kAIMenuGoSelector, &message);
}

ASErr Plugin::menuUpdate(AIMenuItemHandle item) {
  AIMenuMessage message{};
  message.menuItem = item;
  return call(kAIMenuCaller, kAIMenuUpdateSelector, &message);
}

ASErr Plugin::notify(AINotifierHandle notifier, const char *type) {
  AINotifierMessage message{};
  message.notifier = notifier;
  message.type = type;
  message.notifyData = nullptr;
  return call(kAINotifierCaller, kAINotifierNotifySelector, &message);
}

ASErr Plugin::notifyApplicationStarted() {
  ASErr first = kASNoError;
  // Collected first: a handler may add notifiers while it runs.
  for (Notifier *notifier : host_.get<Notifiers>().ofType(kAIApplicationStartedNotifier)) {
    if (notifier->owner != ref()) continue;
    ASErr result = notify(notifier->handle(), kAIApplicationStartedNotifier);
    if (first == kASNoError) first = result;
  }
  return first;
}

SPAccessRef AccessRefs::acquire(SPPluginRef plugin) {
  refs_.push_back(std::make_unique<Ref>(Ref{plugin, true}));
  ++acquired_;
  return reinterpret_cast<SPAccessRef>(refs_.back().get());
}

bool AccessRefs::release(SPAccessRef access) {
  for (auto &ref : refs_) {
    if (reinterpret_cast<SPAccessRef>(ref.get()) == access && ref->live) {
      ref->live = false;
      return true;
    }
  }
  return false;
}

int AccessRefs::held(SPPluginRef plugin) const {
  int n = 0;
  for (const auto &ref : refs_)
    n += ref->live && ref->plugin == plugin;
  return n;
}

int AccessRefs::held() const {
  int n = 0;
  for (const auto &ref : refs_)
    n += ref->live;
  return n;
}

} // namespace pello::host
