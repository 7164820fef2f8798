// "AI Fixed Math Suite" version 2 and "AI Real Math Suite" version 1.
#include "AIFixedMath.h"
#include "AIRealMath.h"
#include "pello/host/HostCall.h"
#include "suites/ShellSuiteTables.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace pello::host {

namespace {

constexpr std::int64_t kFixedMax = std::numeric_limits<AIFixed>::max();
constexpr std::int64_t kFixedMin = std::numeric_limits<AIFixed>::min();

AIFixed saturate(std::int64_t value) {
  return static_cast<AIFixed>(value > kFixedMax ? kFixedMax : value < kFixedMin ? kFixedMin : value);
}

// Each maths function treats an injected fault as "no result": 0, or the
// matrix left as it was.

AIFixed ASAPI FixedMul(AIFixed a, AIFixed b) {
  PELLO_HOST_CALL(call, "AIFixedMath::FixedMul");
  call.arg("a", a).arg("b", b);
  if (call.injected()) return 0;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  // Rounded to nearest; the shift of a negative value floors, as intended.
  return saturate((product + 0x8000) >> 16);
}

AIFixed ASAPI FixedDiv(AIFixed a, AIFixed b) {
  PELLO_HOST_CALL(call, "AIFixedMath::FixedDiv");
  call.arg("a", a).arg("b", b);
  if (call.injected()) return 0;
  if (b == 0) return a >= 0 ? static_cast<AIFixed>(kFixedMax) : static_cast<AIFixed>(kFixedMin);
  return saturate(static_cast<std::int64_t>(a) * 65536 / b);
}

AIFixed ASAPI RealToFixed(ASReal r) {
  PELLO_HOST_CALL(call, "AIFixedMath::RealToFixed");
  call.arg("r", r);
  if (call.injected() || std::isnan(r)) return 0;
  double scaled = std::nearbyint(static_cast<double>(r) * 65536.0);
  if (scaled >= static_cast<double>(kFixedMax)) return static_cast<AIFixed>(kFixedMax);
  if (scaled <= static_cast<double>(kFixedMin)) return static_cast<AIFixed>(kFixedMin);
  return static_cast<AIFixed>(scaled);
}

ASReal ASAPI FixedToReal(AIFixed f) {
  PELLO_HOST_CALL(call, "AIFixedMath::FixedToReal");
  call.arg("f", f);
  if (call.injected()) return 0;
  return static_cast<ASReal>(f / 65536.0);
}

AIFixedMathSuite gFixed = {FixedMul, FixedDiv, RealToFixed, FixedToReal};

void ASAPI AIRealMatrixSetIdentity(ASRealMatrix *matrix) {
  PELLO_HOST_CALL(call, "AIRealMath::AIRealMatrixSetIdentity");
  call.arg("matrix", static_cast<const void *>(matrix));
  if (call.injected() || !matrix) return;
  *matrix = ASRealMatrix{1, 0, 0, 1, 0, 0};
}

void ASAPI AIRealMatrixConcatTranslate(ASRealMatrix *matrix, ASReal tx, ASReal ty) {
  PELLO_HOST_CALL(call, "AIRealMath::AIRealMatrixConcatTranslate");
  call.arg("matrix", static_cast<const void *>(matrix)).arg("tx", tx).arg("ty", ty);
  if (call.injected() || !matrix) return;
  // Post-multiplied: the translation applies after the matrix.
  matrix->tx += tx;
  matrix->ty += ty;
}

ASReal ASAPI AIRealSqrt(ASReal a) {
  PELLO_HOST_CALL(call, "AIRealMath::AIRealSqrt");
  call.arg("a", a);
  if (call.injected()) return 0;
  return std::sqrt(a);
}

ASReal ASAPI AIRealATan(ASReal a, ASReal b) {
  PELLO_HOST_CALL(call, "AIRealMath::AIRealATan");
  call.arg("a", a).arg("b", b);
  if (call.injected()) return 0;
  // In double precision, rounded once: the float functions of the C
  // libraries differ in their last place from system to system.
  return static_cast<ASReal>(std::atan2(static_cast<double>(b), static_cast<double>(a)));
}

ASReal ASAPI RadianToDegree(ASReal rad) {
  PELLO_HOST_CALL(call, "AIRealMath::RadianToDegree");
  call.arg("rad", rad);
  if (call.injected()) return 0;
  return static_cast<ASReal>(static_cast<double>(rad) * (180.0 / std::numbers::pi));
}

ASReal ASAPI DegreeToRadian(ASReal deg) {
  PELLO_HOST_CALL(call, "AIRealMath::DegreeToRadian");
  call.arg("deg", deg);
  if (call.injected()) return 0;
  return static_cast<ASReal>(static_cast<double>(deg) * (std::numbers::pi / 180.0));
}

AIRealMathSuite gReal = {
    AIRealMatrixSetIdentity, AIRealMatrixConcatTranslate, AIRealSqrt, AIRealATan, RadianToDegree,
    DegreeToRadian};

} // namespace

void registerMathSuites(SuiteRegistry &registry) {
  registry.add(kAIFixedMathSuite, kAIFixedMathSuiteVersion, &gFixed);
  registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &gReal);
}

} // namespace pello::host
