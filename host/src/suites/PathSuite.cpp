// "AI Path Suite" version 4: the segments of a path.
#include "AIPath.h"
#include "suites/ArtSuiteTables.h"

#include <algorithm>

namespace pello::host {

namespace {

ASErr findPath(AIArtHandle path, ArtObject *&object) {
  object = currentDocument().resolve(path);
  if (!object) return kSPBadParameterError;
  return object->type == kPathArt ? kASNoError : kAIWrongArtTypeError;
}

ASErr ASAPI GetPathSegmentCount(AIArtHandle path, ai_int16 *count) {
  PELLO_HOST_CALL(call, "AIPath::GetPathSegmentCount");
  logArt(call, "art", path);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findPath(path, object)) return call.done(e);
  if (!count) return call.done(kSPBadParameterError);
  *count = static_cast<ai_int16>(object->geometry.segments.size());
  call.arg("count", *count);
  return call.done(kASNoError);
}

ASErr ASAPI GetPathSegments(AIArtHandle path, ai_int16 segNumber, ai_int16 count, AIPathSegment *segments) {
  PELLO_HOST_CALL(call, "AIPath::GetPathSegments");
  logArt(call, "art", path);
  call.arg("from", segNumber).arg("count", count);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findPath(path, object)) return call.done(e);
  const std::vector<AIPathSegment> &all = object->geometry.segments;
  if (segNumber < 0 || count < 0 || static_cast<std::size_t>(segNumber) + count > all.size() ||
      (count > 0 && !segments))
    return call.done(kSPBadParameterError);
  std::copy_n(all.begin() + segNumber, count, segments);
  return call.done(kASNoError);
}

ASErr ASAPI GetPathClosed(AIArtHandle path, ASBoolean *closed) {
  PELLO_HOST_CALL(call, "AIPath::GetPathClosed");
  logArt(call, "art", path);
  if (ASErr e = call.injected()) return call.done(e);
  ArtObject *object = nullptr;
  if (ASErr e = findPath(path, object)) return call.done(e);
  if (!closed) return call.done(kSPBadParameterError);
  *closed = object->geometry.closed ? 1 : 0;
  return call.done(kASNoError);
}

AIPathSuite gSuite = {GetPathSegmentCount, GetPathSegments, GetPathClosed};

} // namespace

void registerPathSuite(SuiteRegistry &registry) {
  registry.add(kAIPathSuite, kAIPathSuiteVersion, &gSuite);
}

} // namespace pello::host
