// The "Plug-in Error" dialog that shows a failed PluginMain call: a message
// looked up by code in the error text list, and the code itself.
#ifndef PELLO_PLUGIN_COMMON_REPORTERROR_H
#define PELLO_PLUGIN_COMMON_REPORTERROR_H

#include "ADMTypes.h"
#include "SPMessage.h"

constexpr int kErrorMessageSize = 256;
constexpr int kErrorCodeTextSize = 16;

// What the error dialog shows; travels as the dialog's user data.
struct ErrorStrings {
  char err_msg[kErrorMessageSize];     // the message, zero-terminated
  char error_text[kErrorCodeTextSize]; // the code's text, zero-terminated
};

// Shows `error_to_report` unless it is 0 or 'STOP'; needs the ADM Basic,
// Dialog and Item suites, and shows nothing without them.
void report_error(SPInterfaceMessage *message, ASErr error_to_report);
// Runs the error dialog for `errors`. Always 0.
ASErr errorMessage(SPInterfaceMessage *message, ErrorStrings *errors);
ASErr ASAPI ErrorDialogInitProc(ADMDialogRef dialog);
void ASAPI ErrorDialogOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// Writes the decimal text of a numeric code into errorText (kErrorCodeTextSize
// bytes); the empty string when the host cannot format it.
void AIErrToCString(ASErr error_to_report, char *errorText);
// Parses a decimal code entry, truncated toward zero and wrapped to 16 bits
// (40000 gives 40000 - 65536). Text that is not a number, or whose value is
// not finite or lies outside the 32-bit range, gives 0, which never matches
// a reported code. Leaves errorText in length-prefixed form.
void CStringToAIErr(char *errorText, ASErr *error_to_report);
// The code spelt by the four characters after the length byte, the first
// one most significant.
ASErr PString2AIErr(const unsigned char *err_string);
// Writes length 4 and the code's four characters, most significant first.
void AIErr2PString(ASErr err_code, unsigned char *err_string);

#endif
