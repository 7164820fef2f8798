// The art suites' files, each registering its own table, and what they share.
#pragma once

#include "AIPathStyle.h"
#include "pello/host/Document.h"
#include "pello/host/HostCall.h"
#include "pello/host/SuiteRegistry.h"

#include <string>

namespace pello::host {

void registerArtSuite(SuiteRegistry &registry);
void registerMatchingArtSuite(SuiteRegistry &registry);
void registerPathStyleSuite(SuiteRegistry &registry);
void registerTextPathSuite(SuiteRegistry &registry);
void registerPlacedSuite(SuiteRegistry &registry);
void registerRasterSuite(SuiteRegistry &registry);
void registerPathSuite(SuiteRegistry &registry);
void registerPatternSuite(SuiteRegistry &registry);
void registerDocumentSuite(SuiteRegistry &registry);
void registerTransformArtSuite(SuiteRegistry &registry);

// The host's document component.
Document &currentDocument();

// Logs the object behind `art` as `name` (its id, "t1/0" for a text path).
void logArt(HostCall &call, const char *name, AIArtHandle art);

// Matrix `m` followed by `t` (the host post-concatenates).
ASRealMatrix concatMatrix(const ASRealMatrix &m, const ASRealMatrix &t);
ASRealPoint transformPoint(const ASRealMatrix &t, const ASRealPoint &p);

} // namespace pello::host

namespace pello::host {

// The matrix of placed (7) or raster (9) art, for the two suites alike:
// unknown handle or null matrix: kSPBadParameterError; other art:
// kAIWrongArtTypeError; *matrix is then untouched.
ASErr getArtMatrix(HostCall &call, AIArtHandle art, ai_int16 type, ASRealMatrix *matrix);
ASErr setArtMatrix(HostCall &call, AIArtHandle art, ai_int16 type, const ASRealMatrix *matrix);

} // namespace pello::host
