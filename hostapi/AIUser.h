/* AIUser.h: "AI User Suite" version 5, numbers to text and back, as the host
 * shows them to the user. Locale-independent: the decimal mark is ".". */
#ifndef PELLO_HOSTAPI_AIUSER_H
#define PELLO_HOSTAPI_AIUSER_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIUserSuite "AI User Suite"
#define kAIUserSuiteVersion 5

typedef struct AIUserSuite {
  /* Writes `value` as a length-prefixed string into str, which holds
   * `capacity` bytes, length byte included. At most `precision` decimals;
   * trailing zeros and a trailing point are dropped, "-0" is shown as "0",
   * NaN as "NaN" and infinities as "Infinity" / "-Infinity". A text longer
   * than capacity - 1 fails with kASBufferTooSmallError and writes nothing. */
  ASErr(ASAPI *AIRealToString)(ASReal value, ai_int16 precision, unsigned char *str, ai_uint32 capacity);
  /* Reads a length-prefixed decimal number (optional sign, digits, optional
   * point and digits, optional exponent, nothing else) into *value. Other
   * text fails with kASNotANumberError and leaves *value untouched. */
  ASErr(ASAPI *StringToAIReal)(const unsigned char *str, ASReal *value);
} AIUserSuite;

AS_END_C

#endif
