// "AI Transform Art Suite" version 1: transforms a whole object. The matrix
// comes after each matrix it reaches (see Document.h): path anchors and
// control points, text path, placed and raster matrices, and, as the flags
// ask, the fill and stroke patterns' transforms; groups and compound paths
// pass it to their children.
#include "AITransformArt.h"
#include "suites/ArtSuiteTables.h"

#include <cmath>

namespace pello::host {

namespace {

void transformColor(AIColor &color, const ASRealMatrix &m) {
  if (color.kind == kPattern) color.c.p.transform = concatMatrix(color.c.p.transform, m);
}

void transform(DocumentModel &model, ArtObject &object, const ASRealMatrix &m, ASReal lineScale,
               ai_int32 flags) {
  if (flags & kTransformObjects) {
    for (AIPathSegment &s : object.geometry.segments) {
      s.p = transformPoint(m, s.p);
      s.in = transformPoint(m, s.in);
      s.out = transformPoint(m, s.out);
    }
    if (object.hasStyle()) object.style.stroke.width *= lineScale;
    for (TextPath &path : object.textPaths)
      path.matrix = concatMatrix(path.matrix, m);
    if (object.hasMatrix()) object.matrix = concatMatrix(object.matrix, m);
  }
  if (object.hasStyle() && (flags & kTransformFillPatterns)) transformColor(object.style.fill.color, m);
  if (object.hasStyle() && (flags & kTransformStrokePatterns)) transformColor(object.style.stroke.color, m);
  for (Serial child : object.children)
    transform(model, *model.object(child), m, lineScale, flags);
}

ASErr ASAPI TransformArt(AIArtHandle art, const ASRealMatrix *matrix, ASReal lineScale, ai_int32 flags) {
  PELLO_HOST_CALL(call, "AITransformArt::TransformArt");
  logArt(call, "art", art);
  if (matrix && call.logging()) call.arg("matrix", *matrix);
  call.arg("lineScale", lineScale).arg("flags", flags);
  if (ASErr e = call.injected()) return call.done(e);
  Document &document = currentDocument();
  ArtObject *object = document.resolve(art);
  if (!object || !matrix || !std::isfinite(lineScale)) return call.done(kSPBadParameterError);
  transform(document.model(), *object, *matrix, lineScale, flags);
  document.model().modified = true;
  return call.done(kASNoError);
}

AITransformArtSuite gSuite = {TransformArt};

} // namespace

void registerTransformArtSuite(SuiteRegistry &registry) {
  registry.add(kAITransformArtSuite, kAITransformArtSuiteVersion, &gSuite);
}

} // namespace pello::host
