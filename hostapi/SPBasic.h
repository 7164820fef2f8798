/* SPBasic.h: the basic suite, handed to the plug-in in every message.
 * It is not acquired: it is the means of acquiring all the others. */
#ifndef PELLO_HOSTAPI_SPBASIC_H
#define PELLO_HOSTAPI_SPBASIC_H

#include "ASTypes.h"

AS_BEGIN_C

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
  /* Hands out the suite `name` at `version` into *suite and counts one more
   * holder. Fails with kSPSuiteNotFoundError (leaving *suite untouched) when
   * the host does not offer that name at that version. Every success must be
   * matched by one ReleaseSuite. */
  ASErr(ASAPI *AcquireSuite)(const char *name, ai_int32 version, const void **suite);
  /* Ends one hold of `name` at `version`. The suite's functions stay valid for
   * as long as any other hold remains. Fails if no hold is left to end. */
  ASErr(ASAPI *ReleaseSuite)(const char *name, ai_int32 version);
  /* The host's string comparison for callers, selectors and notifier types:
   * true when the two zero-terminated strings are equal. */
  ASBoolean(ASAPI *IsEqual)(const char *token1, const char *token2);
} SPBasicSuite;

AS_END_C

#endif
