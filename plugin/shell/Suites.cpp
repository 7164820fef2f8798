// The suite table: one global pointer per host suite, acquired in one walk
// by the outermost holder and released in one walk by the last.
#include "SuiteTable.h"

#include <cstdio>

SPBlocksSuite *sSPBlocks = nullptr;
SPAccessSuite *sSPAccess = nullptr;
AIFixedMathSuite *sAIMath = nullptr;
AIArtSuite *sAIArt = nullptr;
AIPathSuite *sPath = nullptr;
AITextPathSuite *sTextPath = nullptr;
AIPathStyleSuite *sPathStyle = nullptr;
AIPatternSuite *sPattern = nullptr;
AIPlacedSuite *sPlaced = nullptr;
AIRasterSuite *sRaster = nullptr;
AIUserSuite *sAIUser = nullptr;
AIAppContextSuite *sAIAppContext = nullptr;
AIPreferenceSuite *sAIPreference = nullptr;
AIRuntimeSuite *sRuntime = nullptr;
ASLibSuite *sASLib = nullptr;
AIMatchingArtSuite *sAIMatchingArt = nullptr;
AIDocumentSuite *sAIDocument = nullptr;
AIRealMathSuite *sAIRealMath = nullptr;
AITransformArtSuite *sAITransformArt = nullptr;
AIMenuSuite *sAIMenu = nullptr;
AINotifierSuite *sAINotifier = nullptr;
ADMBasicSuite2 *sADMBasic = nullptr;
ADMDialogSuite3 *sADMDialog = nullptr;
ADMItemSuite4 *sADMItem = nullptr;
ADMIconSuite1 *sADMIcon = nullptr;
ADMListSuite1 *sADMList = nullptr;
ADMDialogGroupSuite1 *sADMDialogGroup = nullptr;
ADMNotifierSuite1 *sADMNotifier = nullptr;
ADMEntrySuite2 *sADMEntry = nullptr;
ADMTrackerSuite1 *sADMTracker = nullptr;

ai_int16 gAcquireCount = 0;

// Rows 14 and 20 repeat rows 1 and 11: those suites are held twice, through
// the same pointer.
const ImportBunch imports[kImportCount] = {
    {"SP Blocks Suite", 2, suiteSlot(&sSPBlocks)},
    {"SP Access Suite", 3, suiteSlot(&sSPAccess)},
    {"AI Fixed Math Suite", 2, suiteSlot(&sAIMath)},
    {"AI Art Suite", 9, suiteSlot(&sAIArt)},
    {"AI Path Suite", 4, suiteSlot(&sPath)},
    {"AI Text Path Suite", 4, suiteSlot(&sTextPath)},
    {"AI Path Style Suite", 5, suiteSlot(&sPathStyle)},
    {"AI Pattern Suite", 7, suiteSlot(&sPattern)},
    {"AI Placed Suite", 5, suiteSlot(&sPlaced)},
    {"AI Raster Suite", 5, suiteSlot(&sRaster)},
    {"AI User Suite", 5, suiteSlot(&sAIUser)},
    {"AI Context Suite", 3, suiteSlot(&sAIAppContext)},
    {"AI Preference Suite", 2, suiteSlot(&sAIPreference)},
    {"AI Runtime Suite", 7, suiteSlot(&sRuntime)},
    {"SP Access Suite", 3, suiteSlot(&sSPAccess)},
    {"AS Lib Suite", 1, suiteSlot(&sASLib)},
    {"AI Matching Art Suite", 4, suiteSlot(&sAIMatchingArt)},
    {"AI Document Suite", 7, suiteSlot(&sAIDocument)},
    {"AI Real Math Suite", 1, suiteSlot(&sAIRealMath)},
    {"AI Transform Art Suite", 1, suiteSlot(&sAITransformArt)},
    {"AI Context Suite", 3, suiteSlot(&sAIAppContext)},
    {"AI Menu Suite", 7, suiteSlot(&sAIMenu)},
    {"AI Notifier Suite", 2, suiteSlot(&sAINotifier)},
    {"ADM Basic Suite", 2, suiteSlot(&sADMBasic)},
    {"ADM Dialog Suite", 3, suiteSlot(&sADMDialog)},
    {"ADM Item Suite", 4, suiteSlot(&sADMItem)},
    {"ADM Icon Suite", 1, suiteSlot(&sADMIcon)},
    {"ADM List Suite", 1, suiteSlot(&sADMList)},
    {"ADM Dialog Group Suite", 1, suiteSlot(&sADMDialogGroup)},
    {"ADM Notifier Suite", 1, suiteSlot(&sADMNotifier)},
    {"ADM Entry Suite", 2, suiteSlot(&sADMEntry)},
    {"ADM Tracker Suite", 1, suiteSlot(&sADMTracker)},
};

const std::array<ExportBunch, 0> exports{};

namespace {

void alertFailedAcquisition(ASErr error, const ImportBunch &row) {
  char text[256];
  std::snprintf(text, sizeof text, "Error: %d, suite: %s, version: %d!", static_cast<int>(error), row.name,
                static_cast<int>(row.version));
  sADMBasic->MessageAlert(text);
}

} // namespace

// The walk ends at the first row that fails, whether or not the failure can
// be shown: the rows before it stay held and the code is returned. Before
// row 23 the ADM Basic Suite is not held yet, so such a failure shows no
// alert.
ASErr acquireSuites(SPBasicSuite *sBasic) {
  ASErr error = kASNoError;
  if (gAcquireCount == 0) {
    for (const ImportBunch &row : imports) {
      if (row.suite == nullptr) continue;
      error = sBasic->AcquireSuite(row.name, row.version, row.suite);
      if (error != kASNoError) {
        if (sADMBasic != nullptr) alertFailedAcquisition(error, row);
        break;
      }
    }
  }
  ++gAcquireCount;
  return error;
}

// Releases in table order; a repeated row is released again although its
// pointer is already null. A failed release leaves that row's pointer and
// the later ones as they are.
ASErr releaseSuites(SPBasicSuite *sBasic) {
  ASErr error = kASNoError;
  if (gAcquireCount == 1) {
    for (const ImportBunch &row : imports) {
      error = sBasic->ReleaseSuite(row.name, row.version);
      if (error != kASNoError) break;
      *row.suite = nullptr;
    }
  }
  --gAcquireCount;
  return error;
}

ASErr reloadPluginSuiteFunctions(SPAccessMessage *) {
  return kASNoError;
}

void unloadPluginSuiteFunctions(SPAccessMessage *) {}
