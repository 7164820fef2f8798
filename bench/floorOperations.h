// The floor of each art operation: the host calls that the operation has to
// make on the selection, made directly through the same suite tables with
// nothing else around them. What a palette click costs beyond its floor is
// the plug-in's own overhead (plus the click's fixed cost).
#pragma once

#include "benchSession.h"

// Each returns the number of objects visited.
long floorPatternShift(const ArtSuites &suites, ASReal h, ASReal v);
long floorDashShift(const ArtSuites &suites, ASReal dist);
long floorUntransform(const ArtSuites &suites);
// Copy: the search for the first object with a matrix; the matrix found,
// if any, goes to `held`.
long floorCopyMatrix(const ArtSuites &suites, ASRealMatrix &held);
long floorPasteMatrix(const ArtSuites &suites, const ASRealMatrix &held);
