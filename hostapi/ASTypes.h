/* ASTypes.h: the scalar types, geometry records, error codes and the calling
 * convention shared by every host interface header.
 *
 * C-compatible. Every function pointer in every suite is declared with ASAPI,
 * which is cdecl on 32-bit Windows and the platform default elsewhere, so the
 * same headers serve the i686 and x86_64 DLLs and the native module. */
#ifndef PELLO_HOSTAPI_ASTYPES_H
#define PELLO_HOSTAPI_ASTYPES_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define ASAPI __cdecl
#else
#define ASAPI
#endif

#ifdef __cplusplus
#define AS_EXTERN_C extern "C"
#define AS_BEGIN_C extern "C" {
#define AS_END_C }
#else
#define AS_EXTERN_C
#define AS_BEGIN_C
#define AS_END_C
#endif

AS_BEGIN_C

typedef int8_t ai_int8;
typedef uint8_t ai_uint8;
typedef int16_t ai_int16;
typedef uint16_t ai_uint16;
typedef int32_t ai_int32;
typedef uint32_t ai_uint32;

/* Host error code: 0 is success. A code whose upper 16 bits are all zero or
 * all ones is a number; any other is a four-character code, first character
 * in the most significant byte. */
typedef ai_int32 ASErr;
/* 32-bit boolean: 0 false, anything else true. */
typedef ai_int32 ASBoolean;
/* Document-space real number: single precision. */
typedef float ASReal;

#define AS_FOURCC(a, b, c, d)                                                  \
  ((ASErr)(((ai_uint32)(ai_uint8)(a) << 24) | ((ai_uint32)(ai_uint8)(b) << 16) | \
           ((ai_uint32)(ai_uint8)(c) << 8) | (ai_uint32)(ai_uint8)(d)))

/* Error codes. */
#define kASNoError 0
/* 'S!Fd': the suite (at that version) is not offered by the host. */
#define kSPSuiteNotFoundError ((ASErr)0x53214664)
/* 'STOP': an operation abandoned without a report (no selection to work on). */
#define kASStopError ((ASErr)0x53544F50)
/* -108: the host could not allocate memory. */
#define kSPOutOfMemoryError ((ASErr)-108)
/* 'Parm': a parameter the host cannot use (null pointer, unknown handle). */
#define kSPBadParameterError ((ASErr)0x5061726D)
/* '!IMP': the host does not implement the operation. */
#define kSPUnimplementedError ((ASErr)0x21494D50)
/* 'ART?': the art object is not of the kind the operation needs. */
#define kAIWrongArtTypeError ((ASErr)0x4152543F)
/* 'DOC?': there is no current document. */
#define kAINoDocumentError ((ASErr)0x444F433F)
/* 'PRF?': the preference does not exist or has another type. */
#define kAIPreferenceNotFoundError ((ASErr)0x5052463F)
/* 'BUF<': the result does not fit the buffer the caller gave; the buffer is
 * left unchanged. */
#define kASBufferTooSmallError ((ASErr)0x4255463C)
/* 'NaN!': text that is not a number. */
#define kASNotANumberError ((ASErr)0x4E614E21)

typedef struct ASPoint {
  ai_int32 h;
  ai_int32 v;
} ASPoint;

typedef struct ASRect {
  ai_int32 left;
  ai_int32 top;
  ai_int32 right;
  ai_int32 bottom;
} ASRect;

typedef struct ASRealPoint {
  ASReal h;
  ASReal v;
} ASRealPoint;

/* Affine transform: a point (x, y) maps to
 * (a x + c y + tx, b x + d y + ty). */
typedef struct ASRealMatrix {
  ASReal a, b, c, d, tx, ty;
} ASRealMatrix;

/* The host's reference to a loaded plug-in; opaque. */
typedef struct _t_SPPlugin *SPPluginRef;

AS_END_C

#endif
