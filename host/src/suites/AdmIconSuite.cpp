// "ADM Icon Suite" 1: icons from the plug-in's bitmap resources.
#include "ADMIcon.h"
#include "adm/AdmState.h"
#include "pello/host/HostCall.h"
#include "pello/host/PluginModule.h"
#include "suites/AdmSuiteTables.h"

namespace pello::host {

namespace {

ADMIconRef ASAPI GetFromResource(SPPluginRef plugin, ai_int32 iconID) {
  PELLO_HOST_CALL(call, "ADMIcon::GetFromResource");
  call.arg("plugin", static_cast<const void *>(plugin)).arg("iconID", iconID);
  if (call.faulted()) return nullptr;
  AdmState &adm = admState();
  const PluginModule *module = adm.moduleFor(plugin);
  const std::vector<std::uint8_t> *bytes =
      module ? module->resource(ResourceType::id(kRtBitmap), iconID) : nullptr;
  Bitmap bitmap;
  std::string error;
  if (!bytes || !parseBitmap(*bytes, bitmap, error)) {
    if (!error.empty()) call.arg("error", error.c_str());
    call.done(kSPBadParameterError);
    return nullptr;
  }
  auto icon = std::make_unique<AdmIcon>();
  icon->token = adm.newToken(kIconTag);
  icon->resourceId = iconID;
  icon->width = bitmap.width;
  icon->height = bitmap.height;
  const Token token = icon->token;
  adm.icons[token] = std::move(icon);
  call.done(kASNoError);
  return refOf<ADMIconRef>(token);
}

void ASAPI Destroy(ADMIconRef icon) {
  PELLO_HOST_CALL(call, "ADMIcon::Destroy");
  call.arg("icon", static_cast<const void *>(icon));
  if (call.faulted()) return;
  if (!icon) {
    call.done(kASNoError);
    return;
  }
  const bool erased = admState().icons.erase(tokenOf(icon)) != 0;
  call.done(erased ? kASNoError : kSPBadParameterError);
}

ai_int32 ASAPI GetWidth(ADMIconRef icon) {
  PELLO_HOST_CALL(call, "ADMIcon::GetWidth");
  call.arg("icon", static_cast<const void *>(icon));
  if (call.faulted()) return 0;
  AdmIcon *found = admState().icon(icon);
  call.done(found ? kASNoError : kSPBadParameterError);
  return found ? found->width : 0;
}

ai_int32 ASAPI GetHeight(ADMIconRef icon) {
  PELLO_HOST_CALL(call, "ADMIcon::GetHeight");
  call.arg("icon", static_cast<const void *>(icon));
  if (call.faulted()) return 0;
  AdmIcon *found = admState().icon(icon);
  call.done(found ? kASNoError : kSPBadParameterError);
  return found ? found->height : 0;
}

ADMIconSuite1 gSuite = {GetFromResource, Destroy, GetWidth, GetHeight};

} // namespace

void registerAdmIconSuite(SuiteRegistry &registry) {
  registry.add(kADMIconSuite, kADMIconSuiteVersion, &gSuite);
}

} // namespace pello::host
