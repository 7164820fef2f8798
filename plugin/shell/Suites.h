// The host suites the plug-in holds: one global pointer per suite, filled by
// acquireSuites from the `imports` table and null while not held.
#ifndef PELLO_PLUGIN_SHELL_SUITES_H
#define PELLO_PLUGIN_SHELL_SUITES_H

#include "ADMBasic.h"
#include "ADMDialog.h"
#include "ADMDialogGroup.h"
#include "ADMEntry.h"
#include "ADMIcon.h"
#include "ADMItem.h"
#include "ADMList.h"
#include "ADMNotifier.h"
#include "ADMTracker.h"
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
#include "SPAccess.h"
#include "SPBasic.h"
#include "SPBlocks.h"
#include "SPMessage.h"

extern SPBlocksSuite *sSPBlocks;
extern SPAccessSuite *sSPAccess;
extern AIFixedMathSuite *sAIMath;
extern AIArtSuite *sAIArt;
extern AIPathSuite *sPath;
extern AITextPathSuite *sTextPath;
extern AIPathStyleSuite *sPathStyle;
extern AIPatternSuite *sPattern;
extern AIPlacedSuite *sPlaced;
extern AIRasterSuite *sRaster;
extern AIUserSuite *sAIUser;
extern AIAppContextSuite *sAIAppContext;
extern AIPreferenceSuite *sAIPreference;
extern AIRuntimeSuite *sRuntime;
extern ASLibSuite *sASLib;
extern AIMatchingArtSuite *sAIMatchingArt;
extern AIDocumentSuite *sAIDocument;
extern AIRealMathSuite *sAIRealMath;
extern AITransformArtSuite *sAITransformArt;
extern AIMenuSuite *sAIMenu;
extern AINotifierSuite *sAINotifier;
extern ADMBasicSuite2 *sADMBasic;
extern ADMDialogSuite3 *sADMDialog;
extern ADMItemSuite4 *sADMItem;
extern ADMIconSuite1 *sADMIcon;
extern ADMListSuite1 *sADMList;
extern ADMDialogGroupSuite1 *sADMDialogGroup;
extern ADMNotifierSuite1 *sADMNotifier;
extern ADMEntrySuite2 *sADMEntry;
extern ADMTrackerSuite1 *sADMTracker;

// Acquires every suite of `imports` when no holder has them yet; always adds
// one holder. 0 when all are held.
ASErr acquireSuites(SPBasicSuite *sBasic);
// Drops one holder; the last one releases every suite. Returns the first
// failed release's code.
ASErr releaseSuites(SPBasicSuite *sBasic);

#endif
