// "AI User Suite" version 5: numbers to text and back, locale-independent.
#include "AIUser.h"
#include "pello/host/HostCall.h"
#include "suites/ShellSuiteTables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace pello::host {

namespace {

constexpr int kMaxPrecision = 100;

// The host's text of a number: at most `precision` decimals, no trailing
// zeros or point, "-0" as "0".
std::string realText(ASReal value, int precision) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  precision = std::clamp(precision, 0, kMaxPrecision);
  char buffer[256];
  // The float's exact value, rounded once to `precision` decimals.
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                 std::chars_format::fixed, precision);
  if (ec != std::errc()) return "NaN";
  std::string text(buffer, end);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

// Optional sign, digits with an optional point (at least one digit), and an
// optional exponent; nothing else.
bool wellFormedNumber(std::string_view text) {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  std::size_t digits = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9')
    ++at, ++digits;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
      ++at, ++digits;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t exponentDigits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
      ++at, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return at == text.size();
}

ASErr ASAPI AIRealToString(ASReal value, ai_int16 precision, unsigned char *str, ai_uint32 capacity) {
  PELLO_HOST_CALL(call, "AIUser::AIRealToString");
  call.arg("value", value).arg("precision", precision).arg("capacity", capacity);
  if (ASErr e = call.injected()) return call.done(e);
  if (!str) return call.done(kSPBadParameterError);
  std::string text = realText(value, precision);
  call.arg("text", text.c_str());
  // The length byte holds at most 255.
  if (capacity == 0 || text.size() > capacity - 1 || text.size() > 255)
    return call.done(kASBufferTooSmallError);
  str[0] = static_cast<unsigned char>(text.size());
  std::memcpy(str + 1, text.data(), text.size());
  return call.done(kASNoError);
}

ASErr ASAPI StringToAIReal(const unsigned char *str, ASReal *value) {
  PELLO_HOST_CALL(call, "AIUser::StringToAIReal");
  if (ASErr e = call.injected()) return call.done(e);
  if (!str || !value) return call.done(kSPBadParameterError);
  std::string_view text(reinterpret_cast<const char *>(str + 1), str[0]);
  call.arg("text", std::string(text).c_str());
  if (!wellFormedNumber(text)) return call.done(kASNotANumberError);
  // from_chars takes no '+'.
  if (text.front() == '+') text.remove_prefix(1);
  float parsed = 0;
  auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::general);
  if (ec != std::errc() || end != text.data() + text.size()) return call.done(kASNotANumberError);
  *value = parsed;
  call.arg("value", parsed);
  return call.done(kASNoError);
}

AIUserSuite gSuite = {AIRealToString, StringToAIReal};

} // namespace

void registerUserSuite(SuiteRegistry &registry) {
  registry.add(kAIUserSuite, kAIUserSuiteVersion, &gSuite);
}

} // namespace pello::host
