// "ADM Basic Suite" 2: alerts, the plug-in's indexed string lists and the
// palette layout area.
#include "ADMBasic.h"
#include "adm/AdmState.h"
#include "pello/host/HostCall.h"
#include "pello/host/PluginModule.h"
#include "pello/host/Utf8.h"
#include "suites/AdmSuiteTables.h"

namespace pello::host {

namespace {

// The largest string-table id.
constexpr long long kMaxStringId = 0xFFFF;

void ASAPI MessageAlert(const char *message) {
  PELLO_HOST_CALL(call, "ADMBasic::MessageAlert");
  call.arg("message", message);
  if (ASErr e = call.injected()) {
    call.done(e);
    return;
  }
  AdmState &adm = admState();
  // The alert as the user reads it.
  adm.alerts.push_back(validUtf8(message ? message : ""));
  if (adm.alertListener) adm.alertListener(adm.alerts.back());
  if (adm.alertUser) {
    const std::string shown = adm.alerts.back();
    adm.alertUser(shown);
  }
  call.done(kASNoError);
}

// A list is the run of strings stringID + 1, stringID + 2, ... ending at
// the first id the plug-in lacks.
ASErr ASAPI GetIndexString(SPPluginRef plugin, ai_int32 stringID, ai_int32 stringIndex, char *string,
                           ai_int32 maxLen) {
  PELLO_HOST_CALL(call, "ADMBasic::GetIndexString");
  call.arg("plugin", static_cast<const void *>(plugin))
      .arg("stringID", stringID)
      .arg("stringIndex", stringIndex);
  call.arg("maxLen", maxLen);
  if (ASErr e = call.injected()) return call.done(e);
  if (!string || maxLen <= 0 || stringIndex <= 0) return call.done(kSPBadParameterError);
  const PluginModule *module = admState().moduleFor(plugin);
  if (!module) return call.done(kSPBadParameterError);
  const long long first = static_cast<long long>(stringID) + 1;
  auto stringAt = [&](long long id) -> std::optional<std::string> {
    if (id < 0 || id > kMaxStringId) return std::nullopt;
    return resourceString(*module, static_cast<int>(id));
  };
  if (!stringAt(first)) return call.done(kSPBadParameterError);
  std::string text;
  for (long long i = 1; i <= stringIndex; ++i) {
    std::optional<std::string> entry = stringAt(first + i - 1);
    if (!entry) {
      text.clear(); // past the end of the list
      break;
    }
    if (i == stringIndex) text = *entry;
  }
  copyCut(text, string, static_cast<std::size_t>(maxLen));
  if (call.logging()) call.arg("result", Label{string}); // the text as copied, without quotes
  return call.done(kASNoError);
}

ASErr ASAPI GetPaletteLayoutBounds(ASRect *dimensions) {
  PELLO_HOST_CALL(call, "ADMBasic::GetPaletteLayoutBounds");
  if (ASErr e = call.injected()) return call.done(e);
  if (!dimensions) return call.done(kSPBadParameterError);
  *dimensions = admState().layoutBounds;
  return call.done(kASNoError);
}

void ASAPI Beep() {
  PELLO_HOST_CALL(call, "ADMBasic::Beep");
  if (ASErr e = call.injected()) {
    call.done(e);
    return;
  }
  ++admState().beeps;
  call.done(kASNoError);
}

ADMBasicSuite2 gSuite = {MessageAlert, GetIndexString, GetPaletteLayoutBounds, Beep};

} // namespace

void registerAdmBasicSuite(SuiteRegistry &registry) {
  registry.add(kADMBasicSuite, kADMBasicSuiteVersion, &gSuite);
}

} // namespace pello::host
