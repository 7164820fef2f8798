#include "floorOperations.h"

namespace {

// The selection, its objects' types, and the list given back.
template <class Visit> long visitSelection(const ArtSuites &s, Visit visit) {
  AIArtHandle **matches = nullptr;
  ai_int32 count = 0;
  if (s.matchingArt->GetSelectedArt(&matches, &count) != kASNoError) return 0;
  long visited = 0;
  if (matches) {
    AIArtHandle *list = *matches;
    for (ai_int32 i = 0; i < count; ++i, ++visited) {
      ai_int16 type = kUnknownArt;
      if (s.art->GetArtType(list[i], &type) != kASNoError || !visit(list[i], type)) break;
    }
    s.blocks->FreeBlock(matches);
  }
  return visited;
}

bool patternFilled(const AIPathStyle &style) {
  return style.fillPaint == 1 && style.fill.color.kind == kPattern;
}

bool dashed(const AIPathStyle &style) {
  return style.strokePaint == 1 && style.stroke.dash.length != 0;
}

void keepTranslation(ASRealMatrix &m) {
  m.a = 1;
  m.b = 0;
  m.c = 0;
  m.d = 1;
}

template <class Action> bool eachTextPath(const ArtSuites &s, AIArtHandle text, Action action) {
  AIArtHandle path = nullptr;
  if (s.textPath->GetFirstTextPath(text, &path) != kASNoError) return true;
  while (path) {
    if (!action(path)) return false;
    AIArtHandle next = nullptr;
    if (s.textPath->GetNextTextPath(text, path, &next) != kASNoError) return true;
    path = next;
  }
  return true;
}

} // namespace

long floorPatternShift(const ArtSuites &s, ASReal h, ASReal v) {
  return visitSelection(s, [&](AIArtHandle art, ai_int16 type) {
    if (type != kPathArt) return true;
    AIPathStyle style;
    if (s.pathStyle->GetPathStyle(art, &style) != kASNoError) return false;
    if (!patternFilled(style)) return true;
    s.realMath->AIRealMatrixConcatTranslate(&style.fill.color.c.p.transform, h, v);
    return s.pathStyle->SetPathStyle(art, &style) == kASNoError;
  });
}

long floorDashShift(const ArtSuites &s, ASReal dist) {
  return visitSelection(s, [&](AIArtHandle art, ai_int16 type) {
    if (type != kPathArt) return true;
    AIPathStyle style;
    if (s.pathStyle->GetPathStyle(art, &style) != kASNoError) return false;
    if (!dashed(style)) return true;
    AIDashStyle &dash = style.stroke.dash;
    dash.offset += dist;
    if (dash.offset < 0) {
      ASReal sum = 0;
      for (int i = 0; i < dash.length && i < kMaxDashComponents; ++i)
        sum += dash.array[i];
      dash.offset += 2 * sum;
    }
    return s.pathStyle->SetPathStyle(art, &style) == kASNoError;
  });
}

long floorUntransform(const ArtSuites &s) {
  ASRealMatrix identity;
  s.realMath->AIRealMatrixSetIdentity(&identity);
  return visitSelection(s, [&](AIArtHandle art, ai_int16 type) {
    ASRealMatrix m;
    switch (type) {
    case kPathArt: {
      AIPathStyle style;
      if (s.pathStyle->GetPathStyle(art, &style) != kASNoError) return false;
      if (patternFilled(style)) {
        AIPatternStyle &p = style.fill.color.c.p;
        p.shiftDist = p.shiftAngle = p.rotate = p.reflectAngle = p.shearAngle = p.shearAxis = 0;
        p.scale = {100, 100};
        p.reflect = false;
        p.transform = identity;
        if (s.pathStyle->SetPathStyle(art, &style) != kASNoError) return false;
      }
      if (dashed(style)) {
        style.stroke.dash.offset = 0;
        if (s.pathStyle->SetPathStyle(art, &style) != kASNoError) return false;
      }
      return true;
    }
    case kTextArt:
    case kTextPathArt:
      return eachTextPath(s, art, [&](AIArtHandle path) {
        if (s.textPath->GetTextPathMatrix(path, &m) != kASNoError) return false;
        keepTranslation(m);
        return s.textPath->SetTextPathMatrix(path, &m) == kASNoError;
      });
    case kPlacedArt:
      if (s.placed->GetPlacedMatrix(art, &m) != kASNoError) return false;
      keepTranslation(m);
      return s.placed->SetPlacedMatrix(art, &m) == kASNoError;
    case kRasterArt:
      if (s.raster->GetRasterMatrix(art, &m) != kASNoError) return false;
      keepTranslation(m);
      return s.raster->SetRasterMatrix(art, &m) == kASNoError;
    default:
      return true;
    }
  });
}

long floorCopyMatrix(const ArtSuites &s, ASRealMatrix &held) {
  return visitSelection(s, [&](AIArtHandle art, ai_int16 type) {
    switch (type) {
    case kPathArt: {
      AIPathStyle style;
      if (s.pathStyle->GetPathStyle(art, &style) != kASNoError) return false;
      if (!patternFilled(style)) return true;
      held = style.fill.color.c.p.transform;
      return false;
    }
    case kTextArt:
    case kTextPathArt: {
      AIArtHandle path = nullptr;
      if (s.textPath->GetFirstTextPath(art, &path) != kASNoError) return false;
      if (!path) return true;
      s.textPath->GetTextPathMatrix(path, &held);
      return false;
    }
    case kPlacedArt:
      s.placed->GetPlacedMatrix(art, &held);
      return false;
    case kRasterArt:
      s.raster->GetRasterMatrix(art, &held);
      return false;
    default:
      return true;
    }
  });
}

long floorPasteMatrix(const ArtSuites &s, const ASRealMatrix &held) {
  return visitSelection(s, [&](AIArtHandle art, ai_int16 type) {
    switch (type) {
    case kPathArt: {
      AIPathStyle style;
      if (s.pathStyle->GetPathStyle(art, &style) != kASNoError) return false;
      if (!patternFilled(style)) return true;
      style.fill.color.c.p.transform = held;
      return s.pathStyle->SetPathStyle(art, &style) == kASNoError;
    }
    case kTextArt:
    case kTextPathArt:
      return eachTextPath(
          s, art, [&](AIArtHandle path) { return s.textPath->SetTextPathMatrix(path, &held) == kASNoError; });
    case kPlacedArt:
      return s.placed->SetPlacedMatrix(art, &held) == kASNoError;
    case kRasterArt:
      return s.raster->SetRasterMatrix(art, &held) == kASNoError;
    default:
      return true;
    }
  });
}
