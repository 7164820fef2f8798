// The plug-in as the host keeps it: its module, its identity, the globals
// slot it keeps across an unload, and the host's actions, each of which
// builds the message record the caller expects and calls PluginMain.
#pragma once

#include "AIMenu.h"
#include "AINotifier.h"
#include "SPAccess.h"
#include "SPMessage.h"
#include "pello/host/Host.h"
#include "pello/host/PluginModule.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pello::host {

// Host-side codes of the plug-in actions (never handed to the plug-in).
// 'LOAD': the module could not be loaded (see Plugin::lastError()).
inline constexpr ASErr kHostLoadError = AS_FOURCC('L', 'O', 'A', 'D');
// 'NONE': no plug-in is loaded to call.
inline constexpr ASErr kHostNotLoadedError = AS_FOURCC('N', 'O', 'N', 'E');
// 'BUSY': the library cannot be unloaded while an access reference holds it.
inline constexpr ASErr kHostPluginInUseError = AS_FOURCC('B', 'U', 'S', 'Y');

// Any message record the host sends: every one begins with SPMessageData.
union AnyMessage {
  SPMessageData d;
  SPAccessMessage access;
  SPInterfaceMessage iface;
  AIMenuMessage menu;
  AINotifierMessage notifier;
};

class Plugin : public Component {
public:
  explicit Plugin(Host &host);
  ~Plugin() override;

  // Loads the module at `path` (after unloading any module loaded before).
  // 0, or kHostLoadError with the reason in lastError().
  ASErr load(const std::filesystem::path &path);
  const std::string &lastError() const { return lastError_; }

  // The loaded module; null before load() and while unloaded.
  PluginModule *module() { return module_.get(); }
  const PluginModule *module() const { return module_.get(); }
  // The module of the plug-in `ref` (this one's while it is loaded), or null.
  const PluginModule *moduleFor(SPPluginRef ref) const;
  const std::filesystem::path &path() const { return path_; }
  bool loaded() const { return module_ != nullptr; }

  // The host's opaque identity of the plug-in (d.self); stable for the
  // host's life, across unload and reload.
  SPPluginRef ref() const;
  // d.globals as the host keeps it between calls.
  void *globalsSlot() const { return globals_; }

  // The host's basic suite, as handed in every message.
  SPBasicSuite *basic() const;

  // "SP Interface" actions. shutdown() also writes the preferences file.
  ASErr startup();
  ASErr about();
  ASErr shutdown();
  // "SP Access"/"Unload", then the library really leaves memory (the
  // dialogs it left open closed first, see closeLeftDialogs()); d.globals
  // is kept. Refused with kHostPluginInUseError while an access reference
  // is held (nothing is sent then).
  ASErr unload();
  // Loads the library again and sends "SP Access"/"Reload" with the kept
  // d.globals.
  ASErr reload();
  // "AI Menu" with the item the call concerns.
  ASErr menuGo(AIMenuItemHandle item);
  ASErr menuUpdate(AIMenuItemHandle item);
  // "AI Notifier"/"AI Notify" for one notifier.
  ASErr notify(AINotifierHandle notifier, const char *type);
  // Sends "AI Application Started Notifier" to every notifier of that type
  // (active ones), in the order they were added; the first non-zero code.
  ASErr notifyApplicationStarted();

  // Any caller/selector pair. `message` must begin with SPMessageData (the
  // host fills d.self, d.globals and d.basic) or be null (the host sends a
  // zeroed record large enough for any caller). d.globals is kept from the
  // message afterwards, as after every action.
  ASErr call(const char *caller, const char *selector, void *message = nullptr);

  // Closes the dialogs of the plug-in still open without calling into it
  // (no destroy proc), as a host does with the windows of a plug-in that
  // has shut down or whose library goes: nothing may call into code that
  // has let go. The number closed; dialogsClosedByHost() counts them all.
  std::size_t closeLeftDialogs();
  std::size_t dialogsClosedByHost() const { return dialogsClosedByHost_; }

  // Calls of PluginMain now running (nested calls count each).
  int callDepth() const { return depth_; }
  // Whether the system kept the library mapped after the last unload (it
  // should not: nothing of the plug-in's own statics survives an unload).
  bool residentAfterUnload() const { return residentAfterUnload_; }

private:
  Host &host_;
  std::unique_ptr<PluginModule> module_;
  std::filesystem::path path_;
  std::string lastError_;
  void *globals_ = nullptr;
  int depth_ = 0;
  std::size_t dialogsClosedByHost_ = 0;
  bool residentAfterUnload_ = false;
  char identity_ = 0; // its address is the plug-in's SPPluginRef
};

// Access references (SP Access Suite): each keeps its plug-in's library
// loaded until released.
class AccessRefs : public Component {
public:
  explicit AccessRefs(Host &) {}
  SPAccessRef acquire(SPPluginRef plugin);
  // False for a reference not handed out or already released.
  bool release(SPAccessRef access);
  // References held on `plugin`, and on every plug-in.
  int held(SPPluginRef plugin) const;
  int held() const;
  int acquired() const { return acquired_; }

private:
  struct Ref {
    SPPluginRef plugin;
    bool live;
  };
  std::vector<std::unique_ptr<Ref>> refs_;
  int acquired_ = 0;
};

} // namespace pello::host
