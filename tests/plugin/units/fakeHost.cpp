#include "fakeHost.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#endif

FakeKeyboard fakeKeyboard;
FakeHostState fakeHost;

namespace {

int readFakeKeyboard(unsigned char *keyState) {
  ++fakeKeyboard.reads;
  if (!fakeKeyboard.readable) return 0;
  std::memcpy(keyState, fakeKeyboard.keys, sizeof fakeKeyboard.keys);
  return 1;
}

} // namespace

#if defined(_WIN32)
// Windows: the plug-in calls user32's GetKeyboardState through its import
// pointer. This program defines that pointer itself, aimed at the double, so
// the linker takes it instead of user32's.
namespace {
BOOL WINAPI fakeGetKeyboardState(PBYTE keyState) {
  return readFakeKeyboard(keyState);
}
} // namespace
#if defined(_WIN64)
#define PELLO_KEYBOARD_IMPORT "__imp_GetKeyboardState"
#else
#define PELLO_KEYBOARD_IMPORT "__imp__GetKeyboardState@4"
#endif
extern "C" {
BOOL(WINAPI *pelloKeyboardImport)(PBYTE) asm(PELLO_KEYBOARD_IMPORT) = fakeGetKeyboardState;
}
#else
// The plug-in reads the modifier keys through this function, which the
// program loading it provides; here the test double stands in for it.
extern "C" int GetKeyboardState(unsigned char *keyState) {
  return readFakeKeyboard(keyState);
}
#endif

namespace {

constexpr std::uintptr_t kItemBase = 0x1000;
ADMDialogRef const kModalDialog = reinterpret_cast<ADMDialogRef>(std::uintptr_t{0x2000});
ADMUserData modalData = nullptr;

// --- ADM Basic ---
void ASAPI messageAlert(const char *) {}

ASErr ASAPI getIndexString(SPPluginRef, ai_int32 stringID, ai_int32 index, char *string, ai_int32 maxLen) {
  fakeHost.indexReads.push_back(index);
  if (stringID != 16050 || index <= 0 || maxLen <= 0) return kSPBadParameterError;
  std::string entry;
  if (fakeHost.endlessList)
    entry = "9999";
  else if (static_cast<std::size_t>(index) <= fakeHost.entries.size())
    entry = fakeHost.entries[index - 1];
  std::snprintf(string, static_cast<std::size_t>(maxLen), "%s", entry.c_str());
  return kASNoError;
}

ADMBasicSuite2 basicSuite() {
  ADMBasicSuite2 suite{};
  suite.MessageAlert = messageAlert;
  suite.GetIndexString = getIndexString;
  return suite;
}

// --- ADM Dialog ---
ADMDialogRef ASAPI create(SPPluginRef, const char *, ai_int32, ADMDialogStyle, ADMDialogInitProc,
                          ADMUserData) {
  ++fakeHost.creates;
  return fakePalette();
}

ai_int32 ASAPI modal(SPPluginRef, const char *, ai_int32 dialogID, ADMDialogStyle, ADMDialogInitProc initProc,
                     ADMUserData data) {
  fakeHost.modalIds.push_back(dialogID);
  modalData = data;
  if (initProc != nullptr) initProc(kModalDialog);
  modalData = nullptr;
  return 1;
}

void ASAPI destroy(ADMDialogRef) {
  ++fakeHost.destroys;
}
void ASAPI show(ADMDialogRef, ASBoolean visible) {
  fakeHost.shows.push_back(visible);
  fakeHost.paletteVisible = visible != 0;
}
ASBoolean ASAPI isVisible(ADMDialogRef dialog) {
  return dialog != nullptr && fakeHost.paletteVisible ? 1 : 0;
}
ADMItemRef ASAPI getItem(ADMDialogRef, ai_int32 itemID) {
  return reinterpret_cast<ADMItemRef>(kItemBase + static_cast<std::uintptr_t>(itemID));
}
ADMUserData ASAPI getUserData(ADMDialogRef) {
  return modalData;
}

ADMDialogSuite3 dialogSuite() {
  ADMDialogSuite3 suite{};
  suite.Create = create;
  suite.Modal = modal;
  suite.Destroy = destroy;
  suite.Show = show;
  suite.IsVisible = isVisible;
  suite.GetItem = getItem;
  suite.GetUserData = getUserData;
  return suite;
}

// --- ADM Item ---
ai_int32 itemId(ADMItemRef item) {
  return static_cast<ai_int32>(reinterpret_cast<std::uintptr_t>(item) - kItemBase);
}
void ASAPI setNotifyProc(ADMItemRef, ADMItemNotifyProc) {
  ++fakeHost.notifyProcsSet;
}
void ASAPI setText(ADMItemRef item, const char *text) {
  fakeHost.itemTexts[itemId(item)] = text;
}

ADMItemSuite4 itemSuite() {
  ADMItemSuite4 suite{};
  suite.SetNotifyProc = setNotifyProc;
  suite.SetText = setText;
  return suite;
}

// --- AI User: plain decimal formatting and parsing of length-prefixed text ---
ASErr ASAPI realToString(ASReal value, ai_int16 precision, unsigned char *str, ai_uint32 capacity) {
  if (fakeHost.realToStringFails) return kSPUnimplementedError;
  char text[64];
  int len = std::snprintf(text, sizeof text, "%.*f", static_cast<int>(precision), static_cast<double>(value));
  if (len < 0 || static_cast<ai_uint32>(len) + 1 > capacity) return kASBufferTooSmallError;
  str[0] = static_cast<unsigned char>(len);
  std::memcpy(str + 1, text, static_cast<std::size_t>(len));
  return kASNoError;
}

ASErr ASAPI stringToReal(const unsigned char *str, ASReal *value) {
  std::string text(reinterpret_cast<const char *>(str + 1), str[0]);
  if (text.empty()) return kASNotANumberError;
  char *end = nullptr;
  float parsed = std::strtof(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return kASNotANumberError;
  *value = parsed;
  return kASNoError;
}

AIUserSuite userSuite() {
  AIUserSuite suite{};
  suite.AIRealToString = realToString;
  suite.StringToAIReal = stringToReal;
  return suite;
}

// --- AI Menu ---
ASErr ASAPI checkItem(AIMenuItemHandle item, ASBoolean check) {
  fakeHost.checks.emplace_back(item, check);
  return kASNoError;
}

AIMenuSuite menuSuite() {
  AIMenuSuite suite{};
  suite.CheckItem = checkItem;
  return suite;
}

// The suites the plug-in's pointers point to while a test runs.
ADMBasicSuite2 fakeBasic = basicSuite();
ADMDialogSuite3 fakeDialog = dialogSuite();
ADMItemSuite4 fakeItem = itemSuite();
AIUserSuite fakeUser = userSuite();
AIMenuSuite fakeMenu = menuSuite();

} // namespace

ADMDialogRef fakePalette() {
  return reinterpret_cast<ADMDialogRef>(std::uintptr_t{0x3000});
}

void FakeHostTest::SetUp() {
  fakeHost = FakeHostState{};
  fakeKeyboard = FakeKeyboard{};
  sADMBasic = &fakeBasic;
  sADMDialog = &fakeDialog;
  sADMItem = &fakeItem;
  sAIUser = &fakeUser;
  sAIMenu = &fakeMenu;
  g = nullptr;
}

void FakeHostTest::TearDown() {
  sADMBasic = nullptr;
  sADMDialog = nullptr;
  sADMItem = nullptr;
  sAIUser = nullptr;
  sAIMenu = nullptr;
  g = nullptr;
}
