// In-place conversions between zero-terminated and length-prefixed strings:
// lengths at the 255-character limit, and no byte touched beyond the string.
#include "stringUtils.h"

#include <array>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr char kGuard = '\x5A';

// A buffer holding `text` zero-terminated, followed by guard bytes.
std::array<char, 300> bufferWith(const std::string &text) {
  std::array<char, 300> buffer;
  buffer.fill(kGuard);
  std::memcpy(buffer.data(), text.c_str(), text.size() + 1);
  return buffer;
}

bool guardsIntact(const std::array<char, 300> &buffer, std::size_t from) {
  for (std::size_t i = from; i < buffer.size(); ++i)
    if (buffer[i] != kGuard) return false;
  return true;
}

} // namespace

TEST(StringUtils, StrlenAndOverlappingMove) {
  EXPECT_EQ(SUstrlen(""), 0u);
  EXPECT_EQ(SUstrlen("Pello"), 5u);

  char text[] = "abcdef";
  SUmemmove(text + 1, text, 4); // forward overlap
  EXPECT_STREQ(text, "aabcdf");
  SUmemmove(text, text + 2, 3); // backward overlap
  EXPECT_STREQ(text, "bcdcdf");
}

TEST(StringUtils, EmptyStringConvertsBothWays) {
  auto buffer = bufferWith("");
  unsigned char *p = SUctopstr(buffer.data());
  ASSERT_EQ(p, reinterpret_cast<unsigned char *>(buffer.data()));
  EXPECT_EQ(p[0], 0);
  EXPECT_TRUE(guardsIntact(buffer, 1));

  char *c = SUptocstr(p);
  EXPECT_EQ(c, buffer.data());
  EXPECT_STREQ(c, "");
  EXPECT_TRUE(guardsIntact(buffer, 1));
}

TEST(StringUtils, MenuTextBecomesLengthPrefixed) {
  auto buffer = bufferWith("Pello Palette");
  unsigned char *p = SUctopstr(buffer.data());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[0], 13);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(p + 1), 13), "Pello Palette");
  EXPECT_TRUE(guardsIntact(buffer, 14));
}

TEST(StringUtils, LongestStringConvertsAndRoundTrips) {
  std::string text(255, 'x');
  text[0] = 'A';
  text[254] = 'Z';
  auto buffer = bufferWith(text);
  unsigned char *p = SUctopstr(buffer.data());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[0], 255);
  EXPECT_EQ(p[1], 'A');
  EXPECT_EQ(p[255], 'Z');
  EXPECT_TRUE(guardsIntact(buffer, 256));

  char *c = SUptocstr(p);
  EXPECT_EQ(std::string(c), text);
  EXPECT_TRUE(guardsIntact(buffer, 256));
}

TEST(StringUtils, StringTooLongIsRefusedAndLeftAlone) {
  std::string text(256, 'y');
  auto buffer = bufferWith(text);
  auto before = buffer;
  EXPECT_EQ(SUctopstr(buffer.data()), nullptr);
  EXPECT_EQ(buffer, before);
}

TEST(StringUtils, RoundTripGivesBackTheSameBytes) {
  for (const std::string &text : {std::string("a"), std::string("-108"), std::string("Tool Palettes"),
                                  std::string("\x7F\x80\xFF odd bytes")}) {
    auto buffer = bufferWith(text);
    auto before = buffer;
    ASSERT_NE(SUctopstr(buffer.data()), nullptr) << text;
    SUptocstr(reinterpret_cast<unsigned char *>(buffer.data()));
    EXPECT_EQ(buffer, before) << text;
  }
}
