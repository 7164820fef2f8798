// The "Plug-in Error" dialog: a failed PluginMain call's code, looked up in
// the error text list, and the code's own text.
#include "reportError.h"

#include "Suites.h"
#include "shellResources.h"
#include "stringUtils.h"

#include <cmath>
#include <cstring>

namespace {

// Entries are read through a 16-bit index. The last code entry walked is
// the last one whose message entry still has such an index, so the walk
// ends for a list of any length.
constexpr ai_int16 kLastCodeEntry = 32765;
constexpr ai_int32 kCodeEntrySize = 255;

bool isDecimalEntry(const char *entry) {
  return entry[0] == '-' || (entry[0] >= '0' && entry[0] <= '9');
}

// The code an entry of the list holds.
ASErr entryCode(char *entry) {
  ASErr number = 0;
  if (isDecimalEntry(entry)) {
    CStringToAIErr(entry, &number);
  } else {
    // The buffer is cleared before every read, so a code entry shorter than
    // four characters compares with zero bytes after its characters.
    number = PString2AIErr(SUctopstr(entry));
  }
  return number;
}

// A code whose upper 16 bits are all zero or all ones is a number.
bool isNumericCode(ASErr code) {
  ai_uint32 hi = static_cast<ai_uint32>(code) >> 16;
  return hi == 0 || hi == 0xFFFF;
}

} // namespace

void report_error(SPInterfaceMessage *message, ASErr error_to_report) {
  if (error_to_report == kASNoError || error_to_report == kASStopError) return;
  // The dialog's initialisation needs the item suite as well: a call whose
  // acquisition ended before the ADM Item Suite shows nothing.
  if (sADMBasic == nullptr || sADMDialog == nullptr || sADMItem == nullptr) return;

  char err_code[kCodeEntrySize];
  ai_int16 nIndex = 1;
  bool bFound = false;
  while (nIndex <= kLastCodeEntry) {
    std::memset(err_code, 0, sizeof err_code);
    ASErr readError =
        sADMBasic->GetIndexString(message->d.self, kErrorStringListID, nIndex, err_code, kCodeEntrySize);
    if (readError != kASNoError || err_code[0] == '\0') break;
    if (entryCode(err_code) == error_to_report) {
      bFound = true;
      break;
    }
    nIndex += 2;
  }

  ErrorStrings errors{};
  ai_int32 messageIndex = bFound ? nIndex + 1 : nIndex - 1;
  if (sADMBasic->GetIndexString(message->d.self, kErrorStringListID, messageIndex, errors.err_msg,
                                sizeof errors.err_msg) != kASNoError)
    return;

  if (isNumericCode(error_to_report)) {
    AIErrToCString(error_to_report, errors.error_text);
  } else {
    auto *codeText = reinterpret_cast<unsigned char *>(errors.error_text);
    AIErr2PString(error_to_report, codeText);
    SUptocstr(codeText);
  }

  errorMessage(message, &errors);
}

ASErr errorMessage(SPInterfaceMessage *message, ErrorStrings *errors) {
  if (sADMDialog != nullptr)
    sADMDialog->Modal(message->d.self, "Error Dialog", kErrorDialogID, kADMModalDialogStyle,
                      ErrorDialogInitProc, errors);
  return kASNoError;
}

ASErr ASAPI ErrorDialogInitProc(ADMDialogRef dialog) {
  sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kErrorOKButtonItem), ErrorDialogOKButtonProc);
  auto *errors = static_cast<ErrorStrings *>(sADMDialog->GetUserData(dialog));
  if (errors != nullptr) {
    sADMItem->SetText(sADMDialog->GetItem(dialog, kErrorMessageItem), errors->err_msg);
    sADMItem->SetText(sADMDialog->GetItem(dialog, kErrorCodeItem), errors->error_text);
  }
  return kASNoError;
}

void ASAPI ErrorDialogOKButtonProc(ADMItemRef item, ADMNotifierRef notifier) {
  sADMItem->DefaultNotify(item, notifier);
}

void AIErrToCString(ASErr error_to_report, char *errorText) {
  auto *text = reinterpret_cast<unsigned char *>(errorText);
  // Numeric codes (-65536 to 65535) are exact in single precision.
  ASErr error = sAIUser != nullptr ? sAIUser->AIRealToString(static_cast<ASReal>(error_to_report), 0, text,
                                                             kErrorCodeTextSize)
                                   : kSPUnimplementedError;
  if (error != kASNoError || text[0] >= kErrorCodeTextSize) {
    errorText[0] = '\0';
    return;
  }
  SUptocstr(text);
}

void CStringToAIErr(char *errorText, ASErr *error_to_report) {
  ASErr result = 0;
  const unsigned char *text = SUctopstr(errorText);
  ASReal tempErr = 0;
  if (text != nullptr && sAIUser != nullptr && sAIUser->StringToAIReal(text, &tempErr) == kASNoError &&
      std::isfinite(tempErr)) {
    ASReal whole = tempErr > 0 ? std::floor(tempErr) : std::ceil(tempErr);
    // Only values inside the 32-bit range convert to an integer.
    if (whole >= -2147483648.0f && whole < 2147483648.0f) {
      auto value = static_cast<ai_int32>(whole);
      result = static_cast<ai_int16>(static_cast<ai_uint16>(value & 0xFFFF));
    }
  }
  *error_to_report = result;
}

ASErr PString2AIErr(const unsigned char *err_string) {
  ai_uint32 code = (static_cast<ai_uint32>(err_string[1]) << 24) |
                   (static_cast<ai_uint32>(err_string[2]) << 16) |
                   (static_cast<ai_uint32>(err_string[3]) << 8) | static_cast<ai_uint32>(err_string[4]);
  return static_cast<ASErr>(code);
}

void AIErr2PString(ASErr err_code, unsigned char *err_string) {
  auto code = static_cast<ai_uint32>(err_code);
  err_string[0] = 4;
  err_string[1] = static_cast<unsigned char>(code >> 24);
  err_string[2] = static_cast<unsigned char>(code >> 16);
  err_string[3] = static_cast<unsigned char>(code >> 8);
  err_string[4] = static_cast<unsigned char>(code);
}
