// The option menu's "Show transformation matrix": the held matrix's six
// terms, its scales, skew and rotation, in one message alert.
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

#include "Globals.h"
#include "artOperations.h"
#include "stringUtils.h"

namespace {

constexpr ai_int16 kPrecision = 4;
// A length byte and at most 15 characters; as a zero-terminated string, at
// most 15 characters and the terminator.
constexpr ai_uint32 kNumberTextSize = 16;
constexpr std::size_t kMessageSize = 255;
constexpr const char *kTooLongText = "overflow";
constexpr const char *kUndefinedText = "undefined";

struct NumberText {
  unsigned char bytes[kNumberTextSize];
};

// The host's text for `value`, or "overflow" when it does not fit the
// buffer. Returns the text, zero-terminated in `text`.
const char *formatNumber(ASReal value, NumberText &text) {
  text.bytes[0] = 0;
  ASErr error = sAIUser->AIRealToString(value, kPrecision, text.bytes, kNumberTextSize);
  if (error == kASBufferTooSmallError || text.bytes[0] >= kNumberTextSize) {
    std::memcpy(text.bytes, kTooLongText, std::strlen(kTooLongText) + 1);
    return reinterpret_cast<const char *>(text.bytes);
  }
  return SUptocstr(text.bytes);
}

// The zero-terminated message, cut short rather than overrun.
class Message {
public:
  void append(const char *piece) {
    while (*piece != '\0' && length_ + 1 < kMessageSize)
      text_[length_++] = *piece++;
    text_[length_] = '\0';
  }
  const char *text() const { return text_; }

private:
  char text_[kMessageSize] = {};
  std::size_t length_ = 0;
};

// The skew, in double precision, rounded once when stored. Without a
// vertical scale (c and d both 0) there is no skew to show: not a number.
ASReal skewOf(const ASRealMatrix &m, ASReal h, ASReal v) {
  const double a = m.a, b = m.b, c = m.c, d = m.d;
  const double scaleRatio = v != 0 ? double(h) / double(v) : std::numeric_limits<double>::quiet_NaN();
  ASReal k = 0.0f;
  if (m.a != 0) k = static_cast<ASReal>(-(scaleRatio * (c / a) + b / a));
  if (m.b != 0) k = static_cast<ASReal>(-(scaleRatio * (d / b) - a / b));
  return k;
}

} // namespace

void showMatrix() {
  const ASRealMatrix m = g->scrapMatrix;
  NumberText tx, ty, a, b, c, d;
  const char *txText = formatNumber(m.tx, tx);
  const char *tyText = formatNumber(m.ty, ty);
  const char *aText = formatNumber(m.a, a);
  const char *bText = formatNumber(m.b, b);
  const char *cText = formatNumber(m.c, c);
  const char *dText = formatNumber(m.d, d);

  const double da = m.a, db = m.b, dc = m.c, dd = m.d;
  const ASReal h = sAIRealMath->AIRealSqrt(static_cast<ASReal>(da * da + db * db));
  const ASReal v = sAIRealMath->AIRealSqrt(static_cast<ASReal>(dc * dc + dd * dd));
  const ASReal k = skewOf(m, h, v);
  const ASReal theta = m.a != 0 ? -sAIRealMath->AIRealATan(m.a, m.b) : 0.0f;

  Message message;
  message.append("Matrix: TX=");
  message.append(txText);
  message.append("; TY=");
  message.append(tyText);
  message.append("; A=");
  message.append(aText);
  message.append("; B=");
  message.append(bText);
  message.append("; C=");
  message.append(cText);
  message.append("; D=");
  message.append(dText);

  NumberText hScale, vScale, skew, rotation;
  message.append("; H scale=");
  message.append(formatNumber(static_cast<ASReal>(double(h) * 100.0), hScale));
  message.append("%; V scale=");
  message.append(formatNumber(static_cast<ASReal>(double(v) * 100.0), vScale));
  message.append("%; Skew=");
  const ASReal skewDegrees = sAIRealMath->RadianToDegree(k);
  message.append(std::isnan(skewDegrees) ? kUndefinedText : formatNumber(skewDegrees, skew));
  message.append(" degrees; Rotation=");
  message.append(formatNumber(sAIRealMath->RadianToDegree(theta), rotation));
  message.append(" degrees");

  sADMBasic->MessageAlert(message.text());
}
