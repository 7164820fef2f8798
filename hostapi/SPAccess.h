/* SPAccess.h: "SP Access Suite" version 3, references that keep a plug-in
 * loaded. */
#ifndef PELLO_HOSTAPI_SPACCESS_H
#define PELLO_HOSTAPI_SPACCESS_H

#include "ASTypes.h"

AS_BEGIN_C

#define kSPAccessSuite "SP Access Suite"
#define kSPAccessSuiteVersion 3

/* One access reference; opaque. */
typedef struct SPAccess *SPAccessRef;

typedef struct SPAccessSuite {
  /* Takes a reference to `plugin` that keeps its library loaded until
   * ReleasePlugin. The caller owns *access. */
  ASErr(ASAPI *AcquirePlugin)(SPPluginRef plugin, SPAccessRef *access);
  /* Ends a reference from AcquirePlugin. A reference not handed out, or
   * already released, fails with kSPBadParameterError. */
  ASErr(ASAPI *ReleasePlugin)(SPAccessRef access);
} SPAccessSuite;

AS_END_C

#endif
