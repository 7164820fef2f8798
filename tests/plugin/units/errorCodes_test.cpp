// Host error codes as text: four-character codes as length-prefixed strings,
// numeric codes as decimal text, and decimal code entries parsed back.
#include "fakeHost.h"
#include "reportError.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

class ErrorCodes : public FakeHostTest {};

// CStringToAIErr of `text`, from a buffer as large as the error list's.
ASErr parsed(const std::string &text) {
  char buffer[255] = {};
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  ASErr code = 12345;
  CStringToAIErr(buffer, &code);
  return code;
}

} // namespace

TEST(FourCharacterCodes, SpellTheCodeMostSignificantFirst) {
  unsigned char text[5];
  AIErr2PString(AS_FOURCC('A', 'B', 'C', 'D'), text);
  EXPECT_EQ(text[0], 4);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(text + 1), 4), "ABCD");
  EXPECT_EQ(PString2AIErr(text), AS_FOURCC('A', 'B', 'C', 'D'));

  AIErr2PString(kASStopError, text);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(text + 1), 4), "STOP");
}

TEST(FourCharacterCodes, HighBytesAndTheLengthByte) {
  // Bytes above 0x7F must not smear into the higher bytes.
  const unsigned char high[] = {4, 0xC1, 0x80, 0xFF, 0x7F};
  EXPECT_EQ(static_cast<ai_uint32>(PString2AIErr(high)), 0xC180FF7Fu);

  unsigned char text[5];
  AIErr2PString(static_cast<ASErr>(0xC180FF7Fu), text);
  EXPECT_EQ(std::memcmp(text, high, 5), 0);

  // The length byte is not looked at.
  const unsigned char oddLength[] = {9, 'P', 'a', 'r', 'm'};
  EXPECT_EQ(PString2AIErr(oddLength), kSPBadParameterError);
}

TEST_F(ErrorCodes, NumericCodeTextIsDecimal) {
  char text[kErrorCodeTextSize];
  AIErrToCString(-108, text);
  EXPECT_STREQ(text, "-108");
  AIErrToCString(-65536, text);
  EXPECT_STREQ(text, "-65536");
  AIErrToCString(65535, text);
  EXPECT_STREQ(text, "65535");
}

TEST_F(ErrorCodes, UnformattableCodeGivesEmptyText) {
  fakeHost.realToStringFails = true;
  char text[kErrorCodeTextSize];
  std::memset(text, 'q', sizeof text);
  text[0] = static_cast<char>(200); // a stale length byte must not be used
  AIErrToCString(-1, text);
  EXPECT_STREQ(text, "");
}

TEST_F(ErrorCodes, DecimalEntriesTruncateAndWrapTo16Bits) {
  EXPECT_EQ(parsed("-108"), -108);
  EXPECT_EQ(parsed("12.7"), 12);
  EXPECT_EQ(parsed("-3.9"), -3);
  EXPECT_EQ(parsed("40000"), 40000 - 65536);
  EXPECT_EQ(parsed("-40000"), -40000 + 65536);
  EXPECT_EQ(parsed("65535"), -1);
  EXPECT_EQ(parsed("0.5"), 0);
}

TEST_F(ErrorCodes, EntriesThatAreNoUsableNumberGiveZero) {
  EXPECT_EQ(parsed("-"), 0);
  EXPECT_EQ(parsed("12abc"), 0);
  EXPECT_EQ(parsed("1e10"), 0);
  EXPECT_EQ(parsed("-3e9"), 0);
  EXPECT_EQ(parsed("1e39"), 0); // infinite in single precision
  EXPECT_EQ(parsed("nan"), 0);
}

TEST_F(ErrorCodes, ParsedEntryIsLeftLengthPrefixed) {
  char buffer[16] = "-108";
  ASErr code = 0;
  CStringToAIErr(buffer, &code);
  EXPECT_EQ(buffer[0], 4);
  EXPECT_EQ(std::string(buffer + 1, 4), "-108");
}
