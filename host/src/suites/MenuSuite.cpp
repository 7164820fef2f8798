// "AI Menu Suite" version 7 over the host's menus.
#include "AIMenu.h"
#include "pello/host/HostCall.h"
#include "pello/host/Menus.h"
#include "pello/host/Utf8.h"
#include "suites/ShellSuiteTables.h"

namespace pello::host {

namespace {

ASErr ASAPI AddMenuItem(SPPluginRef self, const char *name, AIPlatformAddMenuItemData *data, ai_int32 options,
                        AIMenuItemHandle *menuItem) {
  PELLO_HOST_CALL(call, "AIMenu::AddMenuItem");
  call.arg("name", name).arg("options", options);
  if (data) {
    call.arg("group", data->groupName);
    if (data->itemText)
      call.arg("text",
               std::string(reinterpret_cast<const char *>(data->itemText + 1), data->itemText[0]).c_str());
  }
  if (ASErr e = call.injected()) return call.done(e);
  if (!name || !data || !data->groupName || !data->itemText || !menuItem)
    return call.done(kSPBadParameterError);
  // The item as the menu shows it.
  std::string text =
      validUtf8(std::string_view(reinterpret_cast<const char *>(data->itemText + 1), data->itemText[0]));
  MenuItem *item = Host::current().get<Menus>().add(self, name, data->groupName, std::move(text), options);
  if (!item) return call.done(kSPBadParameterError);
  *menuItem = item->handle();
  call.arg("item", static_cast<const void *>(*menuItem));
  return call.done(kASNoError);
}

ASErr ASAPI CheckItem(AIMenuItemHandle menuItem, ASBoolean check) {
  PELLO_HOST_CALL(call, "AIMenu::CheckItem");
  call.arg("item", static_cast<const void *>(menuItem)).arg("check", check);
  if (ASErr e = call.injected()) return call.done(e);
  MenuItem *item = Host::current().get<Menus>().item(menuItem);
  if (!item) return call.done(kSPBadParameterError);
  item->checked = check != 0;
  return call.done(kASNoError);
}

ASErr ASAPI IsItemChecked(AIMenuItemHandle menuItem, ASBoolean *checked) {
  PELLO_HOST_CALL(call, "AIMenu::IsItemChecked");
  call.arg("item", static_cast<const void *>(menuItem));
  if (ASErr e = call.injected()) return call.done(e);
  MenuItem *item = Host::current().get<Menus>().item(menuItem);
  if (!item || !checked) return call.done(kSPBadParameterError);
  *checked = item->checked ? 1 : 0;
  return call.done(kASNoError);
}

AIMenuSuite gSuite = {AddMenuItem, CheckItem, IsItemChecked};

} // namespace

void registerMenuSuite(SuiteRegistry &registry) {
  registry.add(kAIMenuSuite, kAIMenuSuiteVersion, &gSuite);
}

} // namespace pello::host
