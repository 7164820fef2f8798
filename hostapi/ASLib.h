/* ASLib.h: "AS Lib Suite" version 1, the host's copies of C library string
 * functions. */
#ifndef PELLO_HOSTAPI_ASLIB_H
#define PELLO_HOSTAPI_ASLIB_H

#include "ASTypes.h"

AS_BEGIN_C

#define kASLibSuite "AS Lib Suite"
#define kASLibSuiteVersion 1

typedef struct ASLibSuite {
  /* Copies the zero-terminated src, terminator included, to dest, which the
   * caller makes large enough; returns dest. */
  char *(ASAPI *strcpy)(char *dest, const char *src);
  /* The number of bytes before src's terminator. */
  size_t(ASAPI *strlen)(const char *src);
} ASLibSuite;

AS_END_C

#endif
