#include "pello/host/DialogManager.h"

#include "adm/AdmState.h"

namespace pello::host {

const char *itemKindName(ItemKind kind) {
  switch (kind) {
  case ItemKind::PushButton:
    return "push button";
  case ItemKind::CheckBox:
    return "check box";
  case ItemKind::RadioButton:
    return "radio button";
  case ItemKind::GroupBox:
    return "group box";
  case ItemKind::TextStatic:
    return "text static";
  case ItemKind::PictureStatic:
    return "picture static";
  case ItemKind::Frame:
    return "frame";
  case ItemKind::TextEdit:
    return "text edit";
  case ItemKind::ListBox:
    return "list box";
  case ItemKind::ScrollBar:
    return "scroll bar";
  case ItemKind::PopupList:
    return "popup list";
  case ItemKind::PicturePushButton:
    return "picture push button";
  case ItemKind::OptionMenuButton:
    return "option menu button";
  case ItemKind::Custom:
    break;
  }
  return "custom";
}

DialogManager::DialogManager(Host &host) : host_(host), state_(std::make_unique<AdmState>(host)) {}

// Dialogs still up when the host goes are freed without their destroy
// procedures: the plug-in may already be gone.
DialogManager::~DialogManager() = default;

void DialogManager::setModuleLookup(ModuleLookup lookup) {
  state_->moduleLookup = std::move(lookup);
}
const PluginModule *DialogManager::moduleFor(SPPluginRef plugin) const {
  return state_->moduleFor(plugin);
}

std::vector<ADMDialogRef> DialogManager::dialogs() const {
  std::vector<ADMDialogRef> out;
  for (const auto &[token, dialog] : state_->dialogs)
    out.push_back(refOf<ADMDialogRef>(token));
  return out;
}

std::vector<ADMDialogRef> DialogManager::floatingDialogs() const {
  std::vector<ADMDialogRef> out;
  for (const auto &[token, dialog] : state_->dialogs)
    if (!dialog->modal) out.push_back(refOf<ADMDialogRef>(token));
  return out;
}

ADMDialogRef DialogManager::find(std::string_view name) const {
  for (auto it = state_->dialogs.rbegin(); it != state_->dialogs.rend(); ++it)
    if (it->second->name == name) return refOf<ADMDialogRef>(it->first);
  return nullptr;
}

ADMDialogRef DialogManager::palette() const {
  for (auto it = state_->dialogs.rbegin(); it != state_->dialogs.rend(); ++it)
    if (!it->second->modal) return refOf<ADMDialogRef>(it->first);
  return nullptr;
}

bool DialogManager::isLive(ADMDialogRef dialog) const {
  return state_->dialog(dialog) != nullptr;
}

std::size_t DialogManager::closeDialogsOf(SPPluginRef plugin) {
  std::vector<Token> left;
  for (const auto &[token, dialog] : state_->dialogs)
    if (dialog->plugin == plugin && !dialog->destroying) left.push_back(token);
  for (Token token : left) {
    state_->dialogs.at(token)->destroyProc = nullptr;
    state_->destroy(token);
  }
  return left.size();
}

std::optional<DialogInfo> DialogManager::info(ADMDialogRef dialog) const {
  const AdmDialog *dlg = state_->dialog(dialog);
  if (!dlg) return std::nullopt;
  return state_->describe(*dlg);
}

std::optional<ItemInfo> DialogManager::item(ADMDialogRef dialog, int itemId) const {
  const AdmDialog *dlg = state_->dialog(dialog);
  const AdmItem *found = dlg ? state_->itemById(*dlg, itemId) : nullptr;
  if (!found) return std::nullopt;
  return state_->describe(*found);
}

bool DialogManager::click(ADMDialogRef dialog, int itemId, std::span<const int> keys) {
  return state_->userClick(dialog, itemId, keys, -1);
}

bool DialogManager::chooseMenuEntry(ADMDialogRef dialog, int index, std::span<const int> keys) {
  if (index < 0) return false;
  return state_->userClick(dialog, kADMMenuItemID, keys, index);
}

bool DialogManager::notify(ADMDialogRef dialog, int itemId, const char *type) {
  const AdmDialog *dlg = state_->dialog(dialog);
  const AdmItem *found = dlg ? state_->itemById(*dlg, itemId) : nullptr;
  if (!found) return false;
  state_->notify(found->token, type);
  return true;
}

bool DialogManager::setVisible(ADMDialogRef dialog, bool visible) {
  AdmDialog *dlg = state_->dialog(dialog);
  if (!dlg) return false;
  dlg->visible = visible;
  return true;
}

bool DialogManager::move(ADMDialogRef dialog, int dx, int dy) {
  AdmDialog *dlg = state_->dialog(dialog);
  if (!dlg) return false;
  dlg->bounds =
      ASRect{dlg->bounds.left + dx, dlg->bounds.top + dy, dlg->bounds.right + dx, dlg->bounds.bottom + dy};
  return true;
}

bool DialogManager::setBounds(ADMDialogRef dialog, const ASRect &bounds) {
  AdmDialog *dlg = state_->dialog(dialog);
  if (!dlg) return false;
  dlg->bounds = bounds;
  return true;
}

bool DialogManager::dock(ADMDialogRef dialog, const std::string &group, ai_int32 positionCode) {
  AdmDialog *dlg = state_->dialog(dialog);
  if (!dlg || dlg->modal) return false;
  dlg->group = group;
  dlg->positionCode = positionCode;
  return true;
}

void DialogManager::queueModalScript(ModalScript script) {
  state_->modalScripts.push_back(std::move(script));
}
void DialogManager::clearModalScripts() {
  state_->modalScripts.clear();
}

DialogManager::ModalScript DialogManager::pressItem(int itemId) {
  return [itemId](DialogManager &manager, ADMDialogRef dialog) { manager.click(dialog, itemId); };
}

void DialogManager::setModalUser(ModalScript user) {
  state_->modalUser = std::move(user);
}

const std::vector<ModalRecord> &DialogManager::modalHistory() const {
  return state_->modalHistory;
}
void DialogManager::clearModalHistory() {
  state_->modalHistory.clear();
}
void DialogManager::setModalListener(std::function<void(const ModalRecord &)> listener) {
  state_->modalListener = std::move(listener);
}

void DialogManager::setNotificationListener(std::function<void(const NotificationRecord &)> listener) {
  state_->notificationListener = std::move(listener);
}

const std::vector<std::string> &DialogManager::alerts() const {
  return state_->alerts;
}
void DialogManager::clearAlerts() {
  state_->alerts.clear();
}
void DialogManager::setAlertListener(std::function<void(const std::string &)> listener) {
  state_->alertListener = std::move(listener);
}
void DialogManager::setAlertUser(std::function<void(const std::string &)> user) {
  state_->alertUser = std::move(user);
}
int DialogManager::beeps() const {
  return state_->beeps;
}
ASRect DialogManager::paletteLayoutBounds() const {
  return state_->layoutBounds;
}
void DialogManager::setPaletteLayoutBounds(const ASRect &bounds) {
  state_->layoutBounds = bounds;
}

namespace {
// n * num / den rounded half away from zero, as the platform's MulDiv.
int mulDiv(int n, int num, int den) {
  const long long product = static_cast<long long>(n) * num;
  const long long half = den / 2;
  return static_cast<int>(product >= 0 ? (product + half) / den : -((-product + half) / den));
}
} // namespace

DialogManager::LiveObjects DialogManager::liveObjects() const {
  const AdmState &s = *state_;
  return {s.dialogs.size(),   s.items.size(),    s.lists.size(), s.entries.size(),
          s.notifiers.size(), s.trackers.size(), s.icons.size()};
}

int DialogManager::dialogUnitsToPixelsX(int x) {
  return mulDiv(x, 6, 4);
}
int DialogManager::dialogUnitsToPixelsY(int y) {
  return mulDiv(y, 13, 8);
}

AdmState &admState() {
  return Host::current().get<DialogManager>().state();
}

} // namespace pello::host
