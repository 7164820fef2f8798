// The driver's restrictions on the next action: a host call that fails, a
// suite withdrawn or offered at another version, a damaged preference.
#include "Driver.h"

namespace pello::validate {

using namespace pello::host;
using namespace pello::harness;

namespace {

// Host operations the plug-in calls, for faults.
const char *const kFaultOps[] = {
    "SPBasic::AcquireSuite",
    "SPBasic::ReleaseSuite",
    "SPBasic::IsEqual",
    "SPBlocks::AllocateBlock",
    "SPBlocks::FreeBlock",
    "SPAccess::AcquirePlugin",
    "SPAccess::ReleasePlugin",
    "AIMenu::AddMenuItem",
    "AIMenu::CheckItem",
    "AINotifier::AddNotifier",
    "AIPreference::GetStringPreference",
    "AIPreference::GetIntegerPreference",
    "AIPreference::GetPointPreference",
    "AIPreference::PutIntegerPreference",
    "AIPreference::PutStringPreference",
    "AIPreference::PutPointPreference",
    "AIPreference::PutBooleanPreference",
    "AIAppContext::PushAppContext",
    "AIAppContext::PopAppContext",
    "ASLib::strcpy",
    "AIMatchingArt::GetSelectedArt",
    "AIArt::GetArtType",
    "AIPathStyle::GetPathStyle",
    "AIPathStyle::SetPathStyle",
    "AITextPath::GetFirstTextPath",
    "AITextPath::GetNextTextPath",
    "AITextPath::GetTextPathMatrix",
    "AITextPath::SetTextPathMatrix",
    "AIPlaced::GetPlacedMatrix",
    "AIPlaced::SetPlacedMatrix",
    "AIRaster::GetRasterMatrix",
    "AIRaster::SetRasterMatrix",
    "AIRealMath::AIRealMatrixSetIdentity",
    "AIRealMath::AIRealMatrixConcatTranslate",
    "AIRealMath::AIRealSqrt",
    "AIRealMath::AIRealATan",
    "AIRealMath::RadianToDegree",
    "AIUser::AIRealToString",
    "AIUser::StringToAIReal",
    "ADMBasic::MessageAlert",
    "ADMBasic::GetIndexString",
    "ADMBasic::GetPaletteLayoutBounds",
    "ADMDialog::Create",
    "ADMDialog::Modal",
    "ADMDialog::Destroy",
    "ADMDialog::Show",
    "ADMDialog::IsVisible",
    "ADMDialog::GetItem",
    "ADMDialog::GetPluginRef",
    "ADMDialog::GetUserData",
    "ADMDialog::SetDestroyProc",
    "ADMDialog::GetBoundsRect",
    "ADMDialog::SetBoundsRect",
    "ADMDialogGroup::GetDialogGroupInfo",
    "ADMDialogGroup::SetDialogGroupInfo",
    "ADMItem::SetNotifyProc",
    "ADMItem::SetTrackProc",
    "ADMItem::DefaultNotify",
    "ADMItem::DefaultTrack",
    "ADMItem::GetList",
    "ADMItem::GetDialog",
    "ADMItem::SetItemStyle",
    "ADMItem::SetPictureID",
    "ADMItem::SetText",
    "ADMList::SetMenuID",
    "ADMList::GetActiveEntry",
    "ADMEntry::GetIndex",
    "ADMNotifier::GetNotifierType",
    "ADMNotifier::IsNotifierType",
    "Win32::GetKeyboardState",
};

const ASErr kCodes[] = {kSPOutOfMemoryError,
                        kSPBadParameterError,
                        kSPSuiteNotFoundError,
                        kASStopError,
                        -1,
                        40000,
                        kASNotANumberError,
                        static_cast<ASErr>(0x80000000),
                        12,
                        kSPUnimplementedError};

} // namespace

void Driver::armFault() {
  const std::string op = kFaultOps[pick(std::size(kFaultOps))];
  const ASErr code = kCodes[pick(std::size(kCodes))];
  if (chance(15)) {
    note("every call of " + op + " fails");
    emit(Json{{"do", "fail"}, {"op", op}, {"code", code}, {"always", true}});
    session_.host.faults().failAlways(op, code);
  } else {
    const int k = static_cast<int>(pick(40)) + 1;
    note(op + " call " + std::to_string(k) + " fails");
    emit(Json{{"do", "fail"}, {"op", op}, {"code", code}, {"call", k}});
    session_.host.faults().failOnCall(op, k, code);
  }
  restrictionArmed_ = true;
}

void Driver::lackSuite() {
  const SuiteRow &row = kSuiteTable[pick(kSuiteRows)];
  emit(Json{{"do", "-"},
            {"what", std::string("a suite withdrawn or offered at another version: ") + row.name}});
  if (chance(50)) {
    note(std::string("withdraw ") + row.name);
    session_.host.suites().withdraw(row.name);
  } else {
    note(std::string("offer ") + row.name + " at another version");
    session_.host.suites().offerAt(row.name, row.version + 1 + static_cast<ai_int32>(pick(3)));
  }
  restrictionArmed_ = true;
}

void Driver::oddPreference() {
  Preferences &prefs = session_.preferences;
  emit(Json{{"do", "-"}, {"what", "an odd preference"}});
  switch (pick(6)) {
  case 0:
    prefs.putString(kPreferencePrefix, kDockGroupKey,
                    std::string(pick(300), static_cast<char>('A' + pick(26))));
    break;
  case 1:
    prefs.putInteger(kPreferencePrefix, kDockCodeKey, static_cast<std::int32_t>(chooser_.word()));
    break;
  case 2:
    prefs.putPoint(kPreferencePrefix, kLocationKey,
                   ASPoint{static_cast<ai_int32>(chooser_.word()), static_cast<ai_int32>(chooser_.word())});
    break;
  case 3:
    prefs.putBoolean(kPreferencePrefix, kLocationKey, true);
    break;
  case 4:
    prefs.putString(kPreferencePrefix, kDockCodeKey, "x");
    break;
  default:
    prefs.clear();
    break;
  }
  note("odd preference");
}

} // namespace pello::validate
