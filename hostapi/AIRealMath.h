/* AIRealMath.h: "AI Real Math Suite" version 1, single-precision maths and
 * matrices. None of these can fail. */
#ifndef PELLO_HOSTAPI_AIREALMATH_H
#define PELLO_HOSTAPI_AIREALMATH_H

#include "ASTypes.h"

AS_BEGIN_C

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1

typedef struct AIRealMathSuite {
  /* Sets *matrix to (1, 0, 0, 1, 0, 0). */
  void(ASAPI *AIRealMatrixSetIdentity)(ASRealMatrix *matrix);
  /* Concatenates a translation after *matrix: the result maps p to
   * matrix(p) + (tx, ty), so only matrix->tx and matrix->ty change, by tx
   * and ty. */
  void(ASAPI *AIRealMatrixConcatTranslate)(ASRealMatrix *matrix, ASReal tx, ASReal ty);
  /* The square root; NaN for a negative argument. */
  ASReal(ASAPI *AIRealSqrt)(ASReal a);
  /* The angle in radians of the vector (a, b): atan2(b, a), in -pi .. pi. */
  ASReal(ASAPI *AIRealATan)(ASReal a, ASReal b);
  /* Radians to degrees. */
  ASReal(ASAPI *RadianToDegree)(ASReal rad);
  /* Degrees to radians. */
  ASReal(ASAPI *DegreeToRadian)(ASReal deg);
} AIRealMathSuite;

AS_END_C

#endif
