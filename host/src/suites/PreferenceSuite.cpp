// "AI Preference Suite" version 2 over the host's preferences store.
#include "AIPreference.h"
#include "pello/host/HostCall.h"
#include "pello/host/Preferences.h"
#include "suites/ShellSuiteTables.h"

#include <cstring>

namespace pello::host {

namespace {

Preferences &prefs() {
  return Host::current().get<Preferences>();
}

// Frames one preference call: logs the key and fails injected faults and
// null arguments. Returns 0 when the call may go on.
ASErr begin(HostCall &call, const char *prefix, const char *suffix, const void *value) {
  call.arg("prefix", prefix).arg("suffix", suffix);
  if (ASErr e = call.injected()) return e;
  if (!prefix || !suffix || !value) return kSPBadParameterError;
  return kASNoError;
}

ASErr ASAPI GetStringPreference(const char *prefix, const char *suffix, char *value, ai_uint32 capacity) {
  PELLO_HOST_CALL(call, "AIPreference::GetStringPreference");
  if (ASErr e = begin(call, prefix, suffix, value)) return call.done(e);
  auto stored = prefs().getString(prefix, suffix);
  if (!stored) return call.done(kAIPreferenceNotFoundError);
  call.arg("value", stored->c_str());
  if (stored->size() + 1 > capacity) return call.done(kASBufferTooSmallError);
  std::memcpy(value, stored->c_str(), stored->size() + 1);
  return call.done(kASNoError);
}

ASErr ASAPI GetIntegerPreference(const char *prefix, const char *suffix, ai_int32 *value) {
  PELLO_HOST_CALL(call, "AIPreference::GetIntegerPreference");
  if (ASErr e = begin(call, prefix, suffix, value)) return call.done(e);
  auto stored = prefs().getInteger(prefix, suffix);
  if (!stored) return call.done(kAIPreferenceNotFoundError);
  *value = *stored;
  call.arg("value", *value);
  return call.done(kASNoError);
}

ASErr ASAPI GetBooleanPreference(const char *prefix, const char *suffix, ASBoolean *value) {
  PELLO_HOST_CALL(call, "AIPreference::GetBooleanPreference");
  if (ASErr e = begin(call, prefix, suffix, value)) return call.done(e);
  auto stored = prefs().getBoolean(prefix, suffix);
  if (!stored) return call.done(kAIPreferenceNotFoundError);
  *value = *stored ? 1 : 0;
  call.arg("value", *value);
  return call.done(kASNoError);
}

ASErr ASAPI GetPointPreference(const char *prefix, const char *suffix, ASPoint *value) {
  PELLO_HOST_CALL(call, "AIPreference::GetPointPreference");
  if (ASErr e = begin(call, prefix, suffix, value)) return call.done(e);
  auto stored = prefs().getPoint(prefix, suffix);
  if (!stored) return call.done(kAIPreferenceNotFoundError);
  *value = *stored;
  call.arg("h", value->h).arg("v", value->v);
  return call.done(kASNoError);
}

ASErr ASAPI PutStringPreference(const char *prefix, const char *suffix, const char *value) {
  PELLO_HOST_CALL(call, "AIPreference::PutStringPreference");
  call.arg("value", value);
  if (ASErr e = begin(call, prefix, suffix, value)) return call.done(e);
  prefs().putString(prefix, suffix, value);
  return call.done(kASNoError);
}

ASErr ASAPI PutIntegerPreference(const char *prefix, const char *suffix, ai_int32 value) {
  PELLO_HOST_CALL(call, "AIPreference::PutIntegerPreference");
  call.arg("value", value);
  if (ASErr e = begin(call, prefix, suffix, &value)) return call.done(e);
  prefs().putInteger(prefix, suffix, value);
  return call.done(kASNoError);
}

ASErr ASAPI PutBooleanPreference(const char *prefix, const char *suffix, ASBoolean value) {
  PELLO_HOST_CALL(call, "AIPreference::PutBooleanPreference");
  call.arg("value", value);
  if (ASErr e = begin(call, prefix, suffix, &value)) return call.done(e);
  prefs().putBoolean(prefix, suffix, value != 0);
  return call.done(kASNoError);
}

ASErr ASAPI PutPointPreference(const char *prefix, const char *suffix, const ASPoint *value) {
  PELLO_HOST_CALL(call, "AIPreference::PutPointPreference");
  if (value) call.arg("h", value->h).arg("v", value->v);
  if (ASErr e = begin(call, prefix, suffix, value)) return call.done(e);
  prefs().putPoint(prefix, suffix, *value);
  return call.done(kASNoError);
}

AIPreferenceSuite gSuite = {GetStringPreference,  GetIntegerPreference, GetBooleanPreference,
                            GetPointPreference,   PutStringPreference,  PutIntegerPreference,
                            PutBooleanPreference, PutPointPreference};

} // namespace

void registerPreferenceSuite(SuiteRegistry &registry) {
  registry.add(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &gSuite);
}

} // namespace pello::host
