/* AIPreference.h: "AI Preference Suite" version 2, values kept in the host's
 * preferences file under a prefix and a suffix. */
#ifndef PELLO_HOSTAPI_AIPREFERENCE_H
#define PELLO_HOSTAPI_AIPREFERENCE_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIPreferenceSuite "AI Preference Suite"
#define kAIPreferenceSuiteVersion 2

/* The getters leave the value untouched and fail with
 * kAIPreferenceNotFoundError when nothing of that type is stored under the
 * name. The putters replace whatever was stored under it; the host writes
 * the file when it quits. */
typedef struct AIPreferenceSuite {
  /* Copies the string, zero-terminated, into value, which holds `capacity`
   * bytes. A string that does not fit fails with kASBufferTooSmallError and
   * leaves value untouched. */
  ASErr(ASAPI *GetStringPreference)(const char *prefix, const char *suffix, char *value, ai_uint32 capacity);
  ASErr(ASAPI *GetIntegerPreference)(const char *prefix, const char *suffix, ai_int32 *value);
  ASErr(ASAPI *GetBooleanPreference)(const char *prefix, const char *suffix, ASBoolean *value);
  ASErr(ASAPI *GetPointPreference)(const char *prefix, const char *suffix, ASPoint *value);
  /* The host copies the string. */
  ASErr(ASAPI *PutStringPreference)(const char *prefix, const char *suffix, const char *value);
  ASErr(ASAPI *PutIntegerPreference)(const char *prefix, const char *suffix, ai_int32 value);
  ASErr(ASAPI *PutBooleanPreference)(const char *prefix, const char *suffix, ASBoolean value);
  ASErr(ASAPI *PutPointPreference)(const char *prefix, const char *suffix, const ASPoint *value);
} AIPreferenceSuite;

AS_END_C

#endif
