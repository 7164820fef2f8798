// Modal dialogs: built, initialised, shown to the scripted user, recorded,
// closed and destroyed, all inside the plug-in's Modal call.
#include "adm/AdmState.h"
#include "pello/host/Utf8.h"

namespace pello::host {

namespace {
constexpr int kOkItem = 1;
}

ai_int32 AdmState::runModal(SPPluginRef plugin, const std::string &name, int resourceId, ADMDialogStyle style,
                            ADMDialogInitProc initProc, ADMUserData data) {
  std::string error;
  AdmDialog *dlg = build(plugin, name, resourceId, style, true, data, error);
  if (!dlg) return -1;
  const Token token = dlg->token;
  const ADMDialogRef ref = refOf<ADMDialogRef>(token);
  auto run = std::make_shared<ModalRun>();
  dlg->run = run;

  if (initProc && initProc(ref) != kASNoError) {
    destroy(token);
    return -1;
  }
  auto live = dialogs.find(token);
  if (live == dialogs.end()) return run->closed ? run->closedBy : -1;

  ModalRecord record;
  record.name = validUtf8(live->second->name);
  record.resourceId = resourceId;
  record.title = validUtf8(live->second->title);
  for (const auto &item : live->second->items)
    record.items.push_back(describe(*item));

  DialogManager::ModalScript script = modalUser ? modalUser : DialogManager::pressItem(kOkItem);
  if (!modalScripts.empty()) {
    script = std::move(modalScripts.front());
    modalScripts.pop_front();
  }
  if (script) script(host.get<DialogManager>(), ref);

  if (!run->closed && dialogs.count(token)) {
    // Nothing the user did closed it: the host closes it with OK.
    run->closed = true;
    run->closedBy = kOkItem;
    record.forcedClose = true;
  }
  destroy(token);
  record.result = run->closed ? run->closedBy : -1;
  modalHistory.push_back(record);
  if (modalListener) modalListener(modalHistory.back());
  return record.result;
}

} // namespace pello::host
