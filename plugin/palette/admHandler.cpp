// The palette window: created when the host has started, docked and placed
// from the host's preferences, and holding the plug-in and its suites until
// it is destroyed, when it writes its placement back.
#include "admHandler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Globals.h"
#include "paletteButtons.h"
#include "paletteOptionsMenu.h"
#include "paletteResources.h"

namespace {

constexpr const char *kPaletteName = "PelloDialog";

// Placement preferences, kept under one prefix.
constexpr const char *kPreferencePrefix = "Pello";
constexpr const char *kDockGroupKey = "kADM_DPDockGroupStr";
constexpr const char *kDockCodeKey = "kADM_DPDockCodeStr";
constexpr const char *kLocationKey = "kADM_DPLocationStr";
constexpr const char *kVisibleKey = "kADM_DPVisibleStr";

constexpr const char *kDefaultDockGroup = "VelmoraDialogs";
constexpr ai_int32 kDefaultDockCode = 0x1C00;
// Room for a dock group name read from the preferences, terminator included.
constexpr ai_uint32 kDockGroupCapacity = 64;

// The palette's size before the frame is added, and the frame.
constexpr ai_int32 kPaletteContentWidth = 208;
constexpr ai_int32 kPaletteContentHeight = 106;
constexpr ai_int32 kFrameWidth = 4;
constexpr ai_int32 kFrameHeight = 6;

// A coordinate worked out in 64 bits, where sums and differences of 32-bit
// coordinates cannot overflow, brought back to the nearest 32-bit one: a
// stored location or a host's rectangle near the limits gives the nearest
// coordinate instead of overflowing.
ai_int32 clampedCoordinate(std::int64_t value) {
  return static_cast<ai_int32>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Hands the option-menu button to the option menu's procedures and fills its
// menu. A palette without the button is left as it is.
void wireOptionMenu(ADMDialogRef dlg) {
  ADMItemRef menuItemRef = sADMDialog->GetItem(dlg, kADMMenuItemID);
  if (!menuItemRef) return;
  sADMItem->SetNotifyProc(menuItemRef, dialogPopupMenuProc);
  ADMListRef menuListRef = sADMItem->GetList(menuItemRef);
  if (menuListRef) sADMList->SetMenuID(menuListRef, kPaletteOptionsMenuID);
  sADMItem->SetTrackProc(menuItemRef, dialogPopupMenuTrackProc);
}

// Reads the stored dock group into groupName (kDockGroupCapacity bytes).
// A name that is absent, does not fit or comes back unterminated leaves the
// default group.
void readDockGroup(char *groupName) {
  sASLib->strcpy(groupName, kDefaultDockGroup);
  const ASErr error =
      sAIPreference->GetStringPreference(kPreferencePrefix, kDockGroupKey, groupName, kDockGroupCapacity);
  if (error != kASNoError || std::memchr(groupName, '\0', kDockGroupCapacity) == nullptr)
    std::memcpy(groupName, kDefaultDockGroup, std::strlen(kDefaultDockGroup) + 1);
}

} // namespace

ASErr createADMDialog(AINotifierMessage *message) {
  // A dialog the host could not make is stored as null: there is no palette.
  g->PelloDialog = sADMDialog->Create(message->d.self, kPaletteName, kPelloDialogID,
                                      kADMTabbedFloatingDialogStyle, DlgInit, nullptr);
  return kASNoError;
}

ASErr ASAPI DlgInit(ADMDialogRef dlg) {
  SPPluginRef pluginRef = sADMDialog->GetPluginRef(dlg);
  AIAppContextHandle AppContext = nullptr;
  sAIAppContext->PushAppContext(pluginRef, &AppContext);

  // The palette's callbacks come from the dialog manager outside any host
  // call: hold the plug-in and its suites for as long as the palette lives.
  // Without the hold on itself the host could unload the plug-in under the
  // palette's callbacks: the palette is refused and the host makes none.
  const ASErr holdError = sSPAccess->AcquirePlugin(pluginRef, &g->accessRef);
  if (holdError != kASNoError) {
    sAIAppContext->PopAppContext(AppContext);
    return holdError;
  }
  acquireSuites(g->basic);
  sADMDialog->SetDestroyProc(dlg, DlgDestroyProc);

  wireOptionMenu(dlg);
  initButtons(dlg);

  char groupName[kDockGroupCapacity];
  readDockGroup(groupName);
  ai_int32 positionCode = kDefaultDockCode;
  sAIPreference->GetIntegerPreference(kPreferencePrefix, kDockCodeKey, &positionCode);

  // By default the palette, at the size the resource gave it, sits in the
  // bottom-right corner of the palette layout area.
  ASRect boundsRect = {0, 0, 0, 0};
  sADMDialog->GetBoundsRect(dlg, &boundsRect);
  ASRect dimensions = {0, 0, 0, 0};
  sADMBasic->GetPaletteLayoutBounds(&dimensions);
  const std::int64_t width = std::int64_t{boundsRect.right} - boundsRect.left;
  const std::int64_t height = std::int64_t{boundsRect.bottom} - boundsRect.top;
  ASPoint location;
  location.h = clampedCoordinate(dimensions.right - width);
  location.v = clampedCoordinate(dimensions.bottom - height);
  sAIPreference->GetPointPreference(kPreferencePrefix, kLocationKey, &location);

  ASPoint size = {kPaletteContentWidth, kPaletteContentHeight};
  size.v += kFrameHeight;
  location.v = clampedCoordinate(std::int64_t{location.v} - kFrameHeight);
  size.h += kFrameWidth;
  const ASRect rect = {location.h, location.v, clampedCoordinate(std::int64_t{location.h} + size.h),
                       clampedCoordinate(std::int64_t{location.v} + size.v)};
  sADMDialog->SetBoundsRect(dlg, &rect);
  sADMDialogGroup->SetDialogGroupInfo(dlg, groupName, positionCode);

  sAIAppContext->PopAppContext(AppContext);
  return kASNoError;
}

void ASAPI DlgDestroyProc(ADMDialogRef dlg) {
  const char *groupName = nullptr;
  ai_int32 positionCode = kDefaultDockCode;
  const ASErr groupError = sADMDialogGroup->GetDialogGroupInfo(dlg, &groupName, &positionCode);
  ASRect boundsRect = {0, 0, 0, 0};
  sADMDialog->GetBoundsRect(dlg, &boundsRect);
  const ASBoolean Visible = sADMDialog->IsVisible(dlg);
  const ASPoint location = {boundsRect.left, boundsRect.top};

  // Without the group information the stored group and code stay as they
  // were rather than being overwritten with nothing.
  const bool haveGroup = groupError == kASNoError && groupName != nullptr;
  if (haveGroup) {
    sAIPreference->PutIntegerPreference(kPreferencePrefix, kDockCodeKey, positionCode);
    sAIPreference->PutStringPreference(kPreferencePrefix, kDockGroupKey, groupName);
  }
  sAIPreference->PutPointPreference(kPreferencePrefix, kLocationKey, &location);
  sAIPreference->PutBooleanPreference(kPreferencePrefix, kVisibleKey, Visible);

  g->PelloDialog = nullptr;
  sSPAccess->ReleasePlugin(g->accessRef);
  // The last holder's release empties every suite pointer: nothing after
  // this line may call the host.
  releaseSuites(g->basic);
}
