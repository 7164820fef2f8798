#include "documentFixture.h"

using namespace pello::host;

const char *const kEveryKindDocument = R"({
  "units": "points",
  "patterns": [
    { "name": "Stripes", "tile": [0, 0, 10, 10],
      "shapes": [ { "kind": "rectangle", "bounds": [0, 0, 5, 10], "color": "#d04020" } ] },
    { "name": "Dots", "tile": [0, 0, 8, 8],
      "shapes": [ { "kind": "ellipse", "bounds": [2, 2, 6, 6], "color": "#2040d0" } ] }
  ],
  "art": [
    { "id": "pat", "type": "path", "rectangle": [0, 0, 100, 50],
      "style": { "fillPaint": true, "fill": { "color": { "kind": "pattern", "pattern": "Stripes",
                 "transform": [1, 0, 0, 1, 3, 4] } } } },
    { "id": "dash", "type": "path", "polygon": [[0, 0], [50, 50], [100, 0]],
      "style": { "strokePaint": true, "stroke": { "dash": { "array": [3, 2], "offset": 0.5 } } } },
    { "id": "grp", "type": "group", "children": [
      { "id": "inner", "type": "path", "rectangle": [10, 10, 20, 20] },
      { "id": "cmp", "type": "compoundPath", "children": [
        { "id": "hole", "type": "path", "rectangle": [12, 12, 18, 18] } ] } ] },
    { "id": "txt", "type": "text", "textPaths": [
      { "matrix": [2, 0, 0, 2, 10, 20], "text": "one" },
      { "matrix": [1, 0.5, 0, 1, 30, 40], "text": "two" },
      { "matrix": [0, 1, -1, 0, 50, 60], "text": "three" } ] },
    { "id": "txt0", "type": "textPath" },
    { "id": "img", "type": "placed", "matrix": [2, 0.5, 0, 3, 40, 25], "size": [100, 50], "file": "logo.eps" },
    { "id": "ras", "type": "raster", "matrix": [2, 0.5, 0, 3, 40, 25], "size": [64, 32] },
    { "id": "mys", "type": "mysteryPath", "segments": [[0, 0], [5, 5]] },
    { "id": "odd", "type": 12 }
  ],
  "selection": ["img", "pat", "mys", "txt", "odd", "grp"]
})";

DocumentTest::DocumentTest() : document(host.get<Document>()) {
  auto acquire = [&](const char *name, ai_int32 version, auto *&suite) {
    const void *table = nullptr;
    ASSERT_EQ(host.suites().acquire(name, version, &table), kASNoError) << name;
    suite = static_cast<std::remove_reference_t<decltype(suite)>>(table);
  };
  acquire(kAIArtSuite, kAIArtSuiteVersion, art);
  acquire(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, matching);
  acquire(kAIPathStyleSuite, kAIPathStyleSuiteVersion, pathStyle);
  acquire(kAITextPathSuite, kAITextPathSuiteVersion, textPath);
  acquire(kAIPlacedSuite, kAIPlacedSuiteVersion, placed);
  acquire(kAIRasterSuite, kAIRasterSuiteVersion, raster);
  acquire(kAIPathSuite, kAIPathSuiteVersion, path);
  acquire(kAIPatternSuite, kAIPatternSuiteVersion, pattern);
  acquire(kAIDocumentSuite, kAIDocumentSuiteVersion, documentSuite);
  acquire(kAITransformArtSuite, kAITransformArtSuiteVersion, transformArt);
  acquire(kSPBlocksSuite, kSPBlocksSuiteVersion, blocks);
}

DocumentTest::~DocumentTest() = default;

std::vector<std::string> DocumentTest::selectedIds() {
  AIArtHandle **matches = nullptr;
  ai_int32 count = -1;
  EXPECT_EQ(matching->GetSelectedArt(&matches, &count), kASNoError);
  std::vector<std::string> ids;
  for (ai_int32 i = 0; i < count; ++i)
    ids.push_back(document.describe((*matches)[i]));
  EXPECT_EQ(blocks->FreeBlock(matches), kASNoError);
  return ids;
}
