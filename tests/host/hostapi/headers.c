#include "ADMBasic.h"
#include "ADMDialog.h"
#include "ADMDialogGroup.h"
#include "ADMEntry.h"
#include "ADMIcon.h"
#include "ADMItem.h"
#include "ADMList.h"
#include "ADMNotifier.h"
#include "ADMTracker.h"
#include "ADMTypes.h"
#include "AIArt.h"
#include "AIContext.h"
#include "AIDocument.h"
#include "AIFixedMath.h"
#include "AIMatchingArt.h"
#include "AIMenu.h"
#include "AINotifier.h"
#include "AIPath.h"
#include "AIPathStyle.h"
#include "AIPattern.h"
#include "AIPlaced.h"
#include "AIPreference.h"
#include "AIRaster.h"
#include "AIRealMath.h"
#include "AIRuntime.h"
#include "AITextPath.h"
#include "AITransformArt.h"
#include "AIUser.h"
#include "ASLib.h"
#include "ASTypes.h"
#include "SPAccess.h"
#include "SPBasic.h"
#include "SPBlocks.h"
#include "SPMessage.h"

#ifndef LANGUAGE_NAME
#define LANGUAGE_NAME "C"
#endif

/* Every host interface header, compiled as C (this file) and as C++
 * (headers.cpp): both must accept them unchanged, and agree on the layouts
 * the plug-in and the host share. */
#include <stdio.h>

static int failures = 0;
#define EXPECT(cond)                                                                                         \
  do {                                                                                                       \
    if (!(cond)) {                                                                                           \
      printf("failed: %s\n", #cond);                                                                         \
      ++failures;                                                                                            \
    }                                                                                                        \
  } while (0)

int main(void) {
  EXPECT(sizeof(ASRealMatrix) == 6 * sizeof(float));
  EXPECT(sizeof(ASRect) == 16 && sizeof(ASPoint) == 8);
  EXPECT(sizeof(ASBoolean) == 4 && sizeof(ASErr) == 4);
  EXPECT(sizeof(AIColorTag) == 1);
  EXPECT(sizeof(((AIDashStyle *)0)->length) == 2);
  EXPECT(kSPSuiteNotFoundError == AS_FOURCC('S', '!', 'F', 'd'));
  EXPECT(kASStopError == AS_FOURCC('S', 'T', 'O', 'P'));
  EXPECT(offsetof(SPMessageData, self) == 0);
  printf("%s: %d failed\n", LANGUAGE_NAME, failures);
  return failures != 0;
}
