// Numbers to text and back as the host does it for the plug-in, and the
// host's matrix maths the plug-in relies on.
#include "AIRealMath.h"
#include "AIUser.h"
#include "pello/host/Host.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

using namespace pello::host;

namespace {

class UserSuiteTest : public ::testing::Test {
protected:
  UserSuiteTest() {
    const void *table = nullptr;
    EXPECT_EQ(host.suites().acquire("AI User Suite", 5, &table), 0);
    user = static_cast<const AIUserSuite *>(table);
    EXPECT_EQ(host.suites().acquire("AI Real Math Suite", 1, &table), 0);
    math = static_cast<const AIRealMathSuite *>(table);
  }

  // The text, or the error code as "error N".
  std::string text(float value, int precision, ai_uint32 capacity = 256) {
    unsigned char buffer[256];
    std::memset(buffer, 0xAB, sizeof buffer);
    ASErr err = user->AIRealToString(value, static_cast<ai_int16>(precision), buffer, capacity);
    if (err != 0) {
      for (unsigned char byte : buffer)
        EXPECT_EQ(byte, 0xAB) << "a failure writes nothing";
      return "error " + std::to_string(err);
    }
    return std::string(reinterpret_cast<char *>(buffer + 1), buffer[0]);
  }

  ASErr parse(const std::string &text, float &value) {
    unsigned char buffer[256];
    buffer[0] = static_cast<unsigned char>(text.size());
    std::memcpy(buffer + 1, text.data(), text.size());
    return user->StringToAIReal(buffer, &value);
  }

  Host host;
  const AIUserSuite *user = nullptr;
  const AIRealMathSuite *math = nullptr;
};

const std::string kTooSmall = "error " + std::to_string(kASBufferTooSmallError);

} // namespace

TEST_F(UserSuiteTest, RealToStringDropsTrailingZerosAndKeepsAtMostPrecisionDecimals) {
  EXPECT_EQ(text(1.5f, 4), "1.5");
  EXPECT_EQ(text(2.0f, 4), "2");
  EXPECT_EQ(text(0.1f, 4), "0.1") << "the float's exact value, rounded once";
  EXPECT_EQ(text(123.45678f, 2), "123.46");
  EXPECT_EQ(text(-0.25f, 4), "-0.25");
  EXPECT_EQ(text(1.99999f, 4), "2");
  EXPECT_EQ(text(-108.0f, 0), "-108");
  EXPECT_EQ(text(65535.0f, 0), "65535");
  EXPECT_EQ(text(100.0f, 0), "100") << "zeros before the point stay";
  EXPECT_EQ(text(1.5f, -3), "2") << "a negative precision counts as 0";
}

TEST_F(UserSuiteTest, RealToStringSpecialValues) {
  EXPECT_EQ(text(-0.0f, 4), "0");
  EXPECT_EQ(text(-0.00001f, 4), "0") << "a negative value rounding to zero";
  EXPECT_EQ(text(std::numeric_limits<float>::quiet_NaN(), 4), "NaN");
  EXPECT_EQ(text(std::numeric_limits<float>::infinity(), 4), "Infinity");
  EXPECT_EQ(text(-std::numeric_limits<float>::infinity(), 4), "-Infinity");
}

TEST_F(UserSuiteTest, RealToStringNeedsRoomForTheTextAndItsLengthByte) {
  // "-1234.5625" is 10 characters.
  EXPECT_EQ(text(-1234.5625f, 4, 11), "-1234.5625");
  EXPECT_EQ(text(-1234.5625f, 4, 10), kTooSmall);
  EXPECT_EQ(text(1e20f, 4, 16), kTooSmall);
  EXPECT_EQ(text(1.0f, 0, 1), kTooSmall);
  EXPECT_EQ(text(1.0f, 0, 0), kTooSmall);
}

TEST_F(UserSuiteTest, RealToStringIgnoresTheLocale) {
  const char *before = std::setlocale(LC_ALL, nullptr);
  std::string saved = before ? before : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(text(1.5f, 4), "1.5");
  float value = 0;
  EXPECT_EQ(parse("2.25", value), 0);
  EXPECT_EQ(value, 2.25f);
  std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(UserSuiteTest, StringToRealAcceptsPlainDecimalNumbersOnly) {
  float value = 0;
  EXPECT_EQ(parse("12.7", value), 0);
  EXPECT_EQ(value, 12.7f);
  EXPECT_EQ(parse("-3.9", value), 0);
  EXPECT_EQ(value, -3.9f);
  EXPECT_EQ(parse("+5", value), 0);
  EXPECT_EQ(value, 5.0f);
  EXPECT_EQ(parse("40000", value), 0);
  EXPECT_EQ(value, 40000.0f);
  EXPECT_EQ(parse(".5", value), 0);
  EXPECT_EQ(value, 0.5f);
  EXPECT_EQ(parse("1e3", value), 0);
  EXPECT_EQ(value, 1000.0f);

  for (const char *bad :
       {"", "abc", "1.5x", " 1", "1,5", "inf", "nan", "Infinity", "--1", "1e", ".", "+", "0x10", "1e99"}) {
    value = 42;
    EXPECT_EQ(parse(bad, value), kASNotANumberError) << '"' << bad << '"';
    EXPECT_EQ(value, 42) << "a failure leaves the value untouched";
  }
}

TEST_F(UserSuiteTest, NumbersSurviveTheRoundTrip) {
  for (float v : {0.0f, 1.0f, -1.0f, 0.5f, 1234.5f, -65536.0f, 0.0625f}) {
    float back = 0;
    ASSERT_EQ(parse(text(v, 4), back), 0) << v;
    EXPECT_EQ(back, v);
  }
}

TEST_F(UserSuiteTest, RealMathAsTheHeaderDocuments) {
  ASRealMatrix m{2, 0, 0, 3, 1, 1};
  math->AIRealMatrixConcatTranslate(&m, 5, -2);
  EXPECT_EQ(m.a, 2);
  EXPECT_EQ(m.d, 3);
  EXPECT_EQ(m.tx, 6) << "the translation applies after the matrix";
  EXPECT_EQ(m.ty, -1);
  math->AIRealMatrixSetIdentity(&m);
  EXPECT_EQ(m.a, 1);
  EXPECT_EQ(m.b, 0);
  EXPECT_EQ(m.c, 0);
  EXPECT_EQ(m.d, 1);
  EXPECT_EQ(m.tx, 0);
  EXPECT_EQ(m.ty, 0);
  EXPECT_FLOAT_EQ(math->AIRealATan(0, 1), static_cast<float>(M_PI / 2)) << "atan2(b, a)";
  EXPECT_FLOAT_EQ(math->AIRealATan(-1, 0), static_cast<float>(M_PI));
  EXPECT_FLOAT_EQ(math->RadianToDegree(static_cast<float>(M_PI)), 180.0f);
  EXPECT_FLOAT_EQ(math->AIRealSqrt(2.25f), 1.5f);
  EXPECT_TRUE(std::isnan(math->AIRealSqrt(-1)));
}

TEST_F(UserSuiteTest, InjectedFaultsReachTheCaller) {
  host.faults().failOnCall("AIUser::AIRealToString", 1, kSPOutOfMemoryError);
  EXPECT_EQ(text(1.0f, 0), "error -108");
  EXPECT_EQ(text(1.0f, 0), "1");
  // Functions without a code give no result.
  host.faults().failOnCall("AIRealMath::AIRealMatrixSetIdentity", 1, kSPOutOfMemoryError);
  ASRealMatrix m{2, 2, 2, 2, 2, 2};
  math->AIRealMatrixSetIdentity(&m);
  EXPECT_EQ(m.a, 2);
}
