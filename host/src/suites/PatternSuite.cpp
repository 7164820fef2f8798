// "AI Pattern Suite" version 7: the patterns of the current document.
#include "AIPattern.h"
#include "suites/ArtSuiteTables.h"

#include <cstring>

namespace pello::host {

namespace {

ASErr ASAPI CountPatterns(ai_int32 *count) {
  PELLO_HOST_CALL(call, "AIPattern::CountPatterns");
  if (ASErr e = call.injected()) return call.done(e);
  Document &document = currentDocument();
  if (!document.isOpen()) return call.done(kAINoDocumentError);
  if (!count) return call.done(kSPBadParameterError);
  *count = static_cast<ai_int32>(document.model().patterns().size());
  call.arg("count", *count);
  return call.done(kASNoError);
}

ASErr ASAPI GetNthPattern(ai_int32 n, AIPatternHandle *pattern) {
  PELLO_HOST_CALL(call, "AIPattern::GetNthPattern");
  call.arg("n", n);
  if (ASErr e = call.injected()) return call.done(e);
  Document &document = currentDocument();
  if (!document.isOpen()) return call.done(kAINoDocumentError);
  const std::vector<Pattern> &patterns = document.model().patterns();
  if (!pattern || n < 0 || static_cast<std::size_t>(n) >= patterns.size())
    return call.done(kSPBadParameterError);
  *pattern = patternHandle(patterns[n].serial);
  call.arg("name", patterns[n].name.c_str());
  return call.done(kASNoError);
}

ASErr ASAPI GetPatternName(AIPatternHandle pattern, char *name, ai_uint32 capacity) {
  PELLO_HOST_CALL(call, "AIPattern::GetPatternName");
  call.arg("pattern", static_cast<const void *>(pattern)).arg("capacity", capacity);
  if (ASErr e = call.injected()) return call.done(e);
  const Pattern *defined = currentDocument().resolve(pattern);
  if (!defined || !name) return call.done(kSPBadParameterError);
  if (defined->name.size() + 1 > capacity) return call.done(kASBufferTooSmallError);
  std::memcpy(name, defined->name.c_str(), defined->name.size() + 1);
  call.arg("name", defined->name.c_str());
  return call.done(kASNoError);
}

AIPatternSuite gSuite = {CountPatterns, GetNthPattern, GetPatternName};

} // namespace

void registerPatternSuite(SuiteRegistry &registry) {
  registry.add(kAIPatternSuite, kAIPatternSuiteVersion, &gSuite);
}

} // namespace pello::host
