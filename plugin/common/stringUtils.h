// In-place conversions between zero-terminated strings and the
// length-prefixed strings of the host's menu and number calls.
#ifndef PELLO_PLUGIN_COMMON_STRINGUTILS_H
#define PELLO_PLUGIN_COMMON_STRINGUTILS_H

#include "ASTypes.h"

// The number of bytes before the first zero byte of `s`.
ai_uint32 SUstrlen(const char *s);
// Copies `len` bytes from `s` to `d`; the two ranges may overlap.
void SUmemmove(void *d, const void *s, ai_uint32 len);
// Turns the zero-terminated string at `s` into a length-prefixed string in
// the same bytes and returns it; null (string unchanged) when it is longer
// than 255 characters.
unsigned char *SUctopstr(char *s);
// Turns the length-prefixed string at `p` into a zero-terminated string in
// the same bytes and returns it.
char *SUptocstr(unsigned char *p);

#endif
