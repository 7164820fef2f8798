/* AIPathStyle.h: "AI Path Style Suite" version 5 and the path style record,
 * read and written whole. */
#ifndef PELLO_HOSTAPI_AIPATHSTYLE_H
#define PELLO_HOSTAPI_AIPATHSTYLE_H

#include "AIArt.h"
#include "AIPattern.h"

AS_BEGIN_C

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 5

/* Colour kinds, stored in 8 bits. */
typedef ai_uint8 AIColorTag;
enum {
  kGrayColor = 0,
  kFourColor = 1,
  kPattern = 2,
  kCustomColor = 3,
  kGradient = 4,
  kThreeColor = 5,
  kNoneColor = 6
};

#define kMaxDashComponents 6

typedef struct AIGrayColorStyle {
  ASReal gray;
} AIGrayColorStyle;

typedef struct AIFourColorStyle {
  ASReal cyan, magenta, yellow, black;
} AIFourColorStyle;

typedef struct AIThreeColorStyle {
  ASReal red, green, blue;
} AIThreeColorStyle;

/* A pattern used as a colour, with the transformation that places its tile. */
typedef struct AIPatternStyle {
  AIPatternHandle pattern;
  ASReal shiftDist;
  ASReal shiftAngle;
  ASRealPoint scale; /* percent, (100, 100) untransformed */
  ASReal rotate;
  ASBoolean reflect;
  ASReal reflectAngle;
  ASReal shearAngle;
  ASReal shearAxis;
  ASRealMatrix transform;
} AIPatternStyle;

typedef union AIColorUnion {
  AIGrayColorStyle g;
  AIFourColorStyle f;
  AIThreeColorStyle rgb;
  AIPatternStyle p;
} AIColorUnion;

typedef struct AIColor {
  AIColorTag kind;
  AIColorUnion c;
} AIColor;

typedef struct AIDashStyle {
  ai_int16 length; /* entries of `array` in use, 0 (solid) to 6 */
  ASReal offset;   /* distance into the pattern at which the stroke starts */
  ASReal array[kMaxDashComponents];
} AIDashStyle;

typedef struct AIFillStyle {
  AIColor color;
  ASBoolean overprint;
} AIFillStyle;

enum { kAIButtCap = 0, kAIRoundCap = 1, kAIProjectingCap = 2 };
enum { kAIMiterJoin = 0, kAIRoundJoin = 1, kAIBevelJoin = 2 };

typedef struct AIStrokeStyle {
  AIColor color;
  ASBoolean overprint;
  ASReal width;
  AIDashStyle dash;
  ai_int16 cap;
  ai_int16 join;
  ASReal miterLimit;
} AIStrokeStyle;

typedef struct AIPathStyle {
  ASBoolean fillPaint;
  ASBoolean strokePaint;
  AIFillStyle fill;
  AIStrokeStyle stroke;
  ASBoolean clip;
  ASBoolean lockClip;
  ASBoolean evenodd;
  ASReal resolution;
} AIPathStyle;

typedef struct AIPathStyleSuite {
  /* Copies the whole style of a path (kPathArt) into *style. Other art fails
   * with kAIWrongArtTypeError, an unknown handle with kSPBadParameterError;
   * *style is then untouched. */
  ASErr(ASAPI *GetPathStyle)(AIArtHandle path, AIPathStyle *style);
  /* Gives the path the whole style; the host copies it. On failure the path
   * keeps its old style. */
  ASErr(ASAPI *SetPathStyle)(AIArtHandle path, const AIPathStyle *style);
} AIPathStyleSuite;

AS_END_C

#endif
