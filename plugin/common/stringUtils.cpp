// In-place conversions between zero-terminated and length-prefixed strings.
// Each conversion uses exactly the bytes of the string it is given.
#include "stringUtils.h"

#include <cstring>

namespace {

constexpr ai_uint32 kMaxLengthPrefixed = 255;

} // namespace

ai_uint32 SUstrlen(const char *s) {
  ai_uint32 len = 0;
  while (s[len] != '\0')
    ++len;
  return len;
}

void SUmemmove(void *d, const void *s, ai_uint32 len) {
  std::memmove(d, s, len);
}

unsigned char *SUctopstr(char *s) {
  ai_uint32 len = SUstrlen(s);
  if (len > kMaxLengthPrefixed) return nullptr;
  SUmemmove(s + 1, s, len);
  auto *p = reinterpret_cast<unsigned char *>(s);
  p[0] = static_cast<unsigned char>(len);
  return p;
}

char *SUptocstr(unsigned char *p) {
  ai_uint32 len = p[0];
  SUmemmove(p, p + 1, len);
  p[len] = '\0';
  return reinterpret_cast<char *>(p);
}
