#include "artDocuments.h"

#include <string>

using namespace pello::host;

namespace {

constexpr ASRealMatrix kSkewed{2, 0.5f, 0, 3, 40, 25};

ArtObject pathObject(std::string id) {
  ArtObject o;
  o.id = std::move(id);
  o.type = kPathArt;
  o.geometry = PathGeometry::rectangle(0, 0, 100, 50);
  return o;
}

void fillWithPattern(ArtObject &o, AIPatternHandle pattern) {
  o.style.fillPaint = 1;
  o.style.fill.color = patternColor(pattern, kSkewed);
}

void strokeWithDashes(ArtObject &o) {
  o.style.strokePaint = 1;
  o.style.stroke.width = 2;
  o.style.stroke.dash.length = 2;
  o.style.stroke.dash.array[0] = 3;
  o.style.stroke.dash.array[1] = 2;
  o.style.stroke.dash.offset = 1;
}

// The i-th object of the mixed run.
ArtObject mixedObject(std::size_t i, AIPatternHandle pattern, std::string id) {
  ArtObject o = pathObject(std::move(id));
  switch (i % 8) {
  case 0:
    fillWithPattern(o, pattern);
    break;
  case 1:
    strokeWithDashes(o);
    break;
  case 2:
    fillWithPattern(o, pattern);
    strokeWithDashes(o);
    break;
  case 3:
    o.style.fillPaint = 1;
    o.style.fill.color = grayColor(0.5f);
    break;
  case 4:
    o.type = kTextArt;
    o.geometry = {};
    o.textPaths = {TextPath{0, kSkewed, "line one"}, TextPath{0, kSkewed, "line two"}};
    break;
  case 5:
    o.type = kPlacedArt;
    o.geometry = {};
    o.matrix = kSkewed;
    o.size = {100, 50};
    o.file = "logo.eps";
    break;
  case 6:
    o.type = kRasterArt;
    o.geometry = {};
    o.matrix = kSkewed;
    o.size = {64, 32};
    break;
  default:
    o.type = kGroupArt;
    o.geometry = {};
    break;
  }
  return o;
}

struct OpenDocument {
  const Document *document = nullptr;
  const DocumentModel *model = nullptr;
  ArtKind kind{};
  std::size_t count = 0;
};
OpenDocument gOpen;

} // namespace

const char *artKindName(ArtKind kind) {
  switch (kind) {
  case ArtKind::patternPaths:
    return "patternPaths";
  case ArtKind::dashedPaths:
    return "dashedPaths";
  case ArtKind::mixedArt:
    return "mixedArt";
  }
  return "?";
}

void openArtDocument(Document &document, ArtKind kind, std::size_t count) {
  document.close(); // the old document goes first: only one large one lives
  DocumentModel &model = document.create();
  const AIPatternHandle pattern = patternHandle(model.addPattern("Stripes").serial);
  for (std::size_t i = 0; i < count; ++i) {
    std::string id = "a" + std::to_string(i);
    ArtObject o = kind == ArtKind::mixedArt ? mixedObject(i, pattern, id) : pathObject(id);
    if (kind == ArtKind::patternPaths) fillWithPattern(o, pattern);
    if (kind == ArtKind::dashedPaths) strokeWithDashes(o);
    model.addToSelection(model.add(std::move(o)).id);
  }
  gOpen = OpenDocument{&document, &model, kind, count};
}

void useArtDocument(Document &document, ArtKind kind, std::size_t count) {
  const bool same = gOpen.document == &document && gOpen.model && document.current() == gOpen.model &&
                    gOpen.kind == kind && gOpen.count == count;
  if (same) return;
  openArtDocument(document, kind, count);
}
