/* AIFixedMath.h: "AI Fixed Math Suite" version 2, 16.16 fixed-point maths. */
#ifndef PELLO_HOSTAPI_AIFIXEDMATH_H
#define PELLO_HOSTAPI_AIFIXEDMATH_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIFixedMathSuite "AI Fixed Math Suite"
#define kAIFixedMathSuiteVersion 2

/* 16.16 fixed-point number. */
typedef ai_int32 AIFixed;

typedef struct AIFixedMathSuite {
  /* a * b, saturated to the representable range. */
  AIFixed(ASAPI *FixedMul)(AIFixed a, AIFixed b);
  /* a / b, saturated; division by zero gives the largest value of a's sign. */
  AIFixed(ASAPI *FixedDiv)(AIFixed a, AIFixed b);
  /* The nearest fixed-point value of a real. */
  AIFixed(ASAPI *RealToFixed)(ASReal r);
  /* The real value of a fixed-point number. */
  ASReal(ASAPI *FixedToReal)(AIFixed f);
} AIFixedMathSuite;

AS_END_C

#endif
