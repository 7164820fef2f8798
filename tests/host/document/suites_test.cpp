// The art suites called as the plug-in calls them.
#include "documentFixture.h"

#include "pello/host/CallLog.h"

using namespace pello::host;

TEST_F(DocumentTest, SelectionListIsOneBlockInSelectionOrder) {
  AIArtHandle **matches = nullptr;
  ai_int32 count = -1;
  EXPECT_EQ(matching->GetSelectedArt(&matches, &count), kAINoDocumentError);
  EXPECT_EQ(count, -1);

  document.loadJson(kEveryKindDocument);
  Blocks &live = host.get<Blocks>();
  const std::size_t before = live.liveCount();
  ASSERT_EQ(matching->GetSelectedArt(&matches, &count), kASNoError);
  ASSERT_EQ(count, 6);
  EXPECT_EQ(live.liveCount(), before + 1);
  EXPECT_TRUE(live.owns(matches));
  EXPECT_EQ((*matches)[0], handle("img"));
  EXPECT_EQ((*matches)[5], handle("grp"));
  EXPECT_EQ(blocks->FreeBlock(matches), kASNoError);
  EXPECT_EQ(live.liveCount(), before);

  document.model().deselectAll();
  matches = reinterpret_cast<AIArtHandle **>(&count);
  ASSERT_EQ(matching->GetSelectedArt(&matches, &count), kASNoError);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(matches, nullptr);
  EXPECT_EQ(live.liveCount(), before);
}

TEST_F(DocumentTest, SelectionCostFollowsTheSelectionNotTheDocument) {
  DocumentModel &model = document.create();
  for (int i = 0; i < 20000; ++i) {
    ArtObject o;
    o.id = "p" + std::to_string(i);
    model.add(std::move(o));
  }
  model.select({"p19999", "p7"});
  // The list holds the selected handles and the handle's master pointer,
  // nothing proportional to the document.
  AIArtHandle **matches = nullptr;
  ai_int32 count = 0;
  ASSERT_EQ(matching->GetSelectedArt(&matches, &count), kASNoError);
  EXPECT_EQ(host.get<Blocks>().find(matches)->size, sizeof(AIArtHandle *) + 2 * sizeof(AIArtHandle));
  EXPECT_EQ((*matches)[0], handle("p19999"));
  blocks->FreeBlock(matches);
}

TEST_F(DocumentTest, ArtTypeAndParent) {
  document.loadJson(kEveryKindDocument);
  const std::pair<const char *, ai_int16> expected[] = {
      {"pat", kPathArt},   {"grp", kGroupArt},       {"cmp", kCompoundPathArt},
      {"txt", kTextArt},   {"txt0", kTextPathArt},   {"img", kPlacedArt},
      {"ras", kRasterArt}, {"mys", kMysteryPathArt}, {"odd", 12}};
  for (auto [id, code] : expected) {
    ai_int16 type = -1;
    EXPECT_EQ(art->GetArtType(handle(id), &type), kASNoError);
    EXPECT_EQ(type, code) << id;
  }
  AIArtHandle parent = handle("img");
  EXPECT_EQ(art->GetArtParent(handle("hole"), &parent), kASNoError);
  EXPECT_EQ(parent, handle("cmp"));
  EXPECT_EQ(art->GetArtParent(handle("pat"), &parent), kASNoError);
  EXPECT_EQ(parent, nullptr);
  EXPECT_EQ(art->GetArtType(handle("pat"), nullptr), kSPBadParameterError);
}

TEST_F(DocumentTest, PathStyleIsReadAndWrittenWholeAndOnlyForPaths) {
  document.loadJson(kEveryKindDocument);
  AIPathStyle style{};
  ASSERT_EQ(pathStyle->GetPathStyle(handle("pat"), &style), kASNoError);
  EXPECT_TRUE(identical(style, document.style("pat")));

  style.fill.color.c.p.transform.tx += 1;
  style.stroke.dash.offset = 9.5f;
  host.log().clear();
  ASSERT_EQ(pathStyle->SetPathStyle(handle("pat"), &style), kASNoError);
  EXPECT_TRUE(identical(document.style("pat"), style));
  EXPECT_TRUE(document.model().modified);
  ASSERT_EQ(host.log().records().size(), 1u);
  EXPECT_EQ(host.log().records()[0].op, "AIPathStyle::SetPathStyle");
  EXPECT_EQ(host.log().records()[0].argsText(),
            "art=pat, changes=fill.color.transform=(1, 0, 0, 1, 4, 4), stroke.dash.offset=9.5");

  AIPathStyle untouched{};
  untouched.resolution = 42;
  for (const char *id : {"mys", "grp", "img", "txt"}) {
    EXPECT_EQ(pathStyle->GetPathStyle(handle(id), &untouched), kAIWrongArtTypeError) << id;
    EXPECT_EQ(pathStyle->SetPathStyle(handle(id), &style), kAIWrongArtTypeError) << id;
  }
  EXPECT_EQ(untouched.resolution, 42);

  // A refused write leaves the old style; so does an unknown pattern.
  const AIPathStyle kept = document.style("pat");
  host.faults().failOnCall("AIPathStyle::SetPathStyle", 1, AS_FOURCC('E', 'E', 'E', 'K'));
  AIPathStyle changed = kept;
  changed.fillPaint = 0;
  EXPECT_EQ(pathStyle->SetPathStyle(handle("pat"), &changed), AS_FOURCC('E', 'E', 'E', 'K'));
  changed.fillPaint = 1;
  changed.fill.color.c.p.pattern = reinterpret_cast<AIPatternHandle>(std::uintptr_t{77});
  EXPECT_EQ(pathStyle->SetPathStyle(handle("pat"), &changed), kSPBadParameterError);
  EXPECT_TRUE(identical(document.style("pat"), kept));
}

TEST_F(DocumentTest, TextPathsAreWalkedFirstToLastWithTheirOwnMatrices) {
  document.loadJson(kEveryKindDocument);
  AIArtHandle t = handle("txt");
  AIArtHandle current = nullptr;
  ASSERT_EQ(textPath->GetFirstTextPath(t, &current), kASNoError);
  std::vector<ASReal> tx;
  while (current) {
    ASRealMatrix m{};
    ASSERT_EQ(textPath->GetTextPathMatrix(current, &m), kASNoError);
    tx.push_back(m.tx);
    m.a = 7;
    ASSERT_EQ(textPath->SetTextPathMatrix(current, &m), kASNoError);
    ASSERT_EQ(textPath->GetNextTextPath(t, current, &current), kASNoError);
  }
  EXPECT_EQ(tx, (std::vector<ASReal>{10, 30, 50}));
  EXPECT_EQ(document.textPathMatrix("txt", 2).a, 7);
  EXPECT_EQ(document.textPathMatrix("txt", 2).ty, 60);

  current = handle("img");
  EXPECT_EQ(textPath->GetFirstTextPath(handle("txt0"), &current), kASNoError);
  EXPECT_EQ(current, nullptr);
  ASRealMatrix m = kIdentityMatrix;
  EXPECT_EQ(textPath->GetTextPathMatrix(nullptr, &m), kSPBadParameterError);
  EXPECT_EQ(textPath->GetFirstTextPath(handle("img"), &current), kAIWrongArtTypeError);
  // A text path of one object is not the "current" path of another.
  AIArtHandle next = nullptr;
  EXPECT_EQ(textPath->GetNextTextPath(handle("txt0"), document.textPathHandle("txt", 0), &next),
            kSPBadParameterError);
}

TEST_F(DocumentTest, PlacedAndRasterMatricesBelongToTheirOwnKind) {
  document.loadJson(kEveryKindDocument);
  ASRealMatrix m{};
  ASSERT_EQ(placed->GetPlacedMatrix(handle("img"), &m), kASNoError);
  EXPECT_TRUE(identical(m, ASRealMatrix{2, 0.5f, 0, 3, 40, 25}));
  const ASRealMatrix untouched{9, 9, 9, 9, 9, 9};
  m = untouched;
  EXPECT_EQ(placed->GetPlacedMatrix(handle("ras"), &m), kAIWrongArtTypeError);
  EXPECT_EQ(raster->GetRasterMatrix(handle("img"), &m), kAIWrongArtTypeError);
  EXPECT_TRUE(identical(m, untouched));
  const ASRealMatrix set{1, 0, 0, 1, 40, 25};
  ASSERT_EQ(raster->SetRasterMatrix(handle("ras"), &set), kASNoError);
  EXPECT_TRUE(identical(document.matrix("ras"), set));
  EXPECT_EQ(placed->SetPlacedMatrix(handle("ras"), &untouched), kAIWrongArtTypeError);
  EXPECT_TRUE(identical(document.matrix("ras"), set));
}

TEST_F(DocumentTest, PathSegmentsPatternsAndTheModifiedFlag) {
  document.loadJson(kEveryKindDocument);
  ai_int16 count = 0;
  ASSERT_EQ(path->GetPathSegmentCount(handle("dash"), &count), kASNoError);
  ASSERT_EQ(count, 3);
  AIPathSegment segments[3];
  ASSERT_EQ(path->GetPathSegments(handle("dash"), 1, 2, segments), kASNoError);
  EXPECT_EQ(segments[0].p.h, 50);
  EXPECT_EQ(path->GetPathSegments(handle("dash"), 2, 2, segments), kSPBadParameterError);
  ASBoolean closed = 0;
  ASSERT_EQ(path->GetPathClosed(handle("pat"), &closed), kASNoError);
  EXPECT_EQ(closed, 1);

  ai_int32 patterns = 0;
  ASSERT_EQ(pattern->CountPatterns(&patterns), kASNoError);
  EXPECT_EQ(patterns, 2);
  AIPatternHandle second = nullptr;
  ASSERT_EQ(pattern->GetNthPattern(1, &second), kASNoError);
  char name[5] = "xxxx";
  ASSERT_EQ(pattern->GetPatternName(second, name, 5), kASNoError);
  EXPECT_STREQ(name, "Dots");
  ASSERT_EQ(pattern->GetPatternName(document.patternHandleOf("Stripes"), name, 5), kASBufferTooSmallError);
  EXPECT_STREQ(name, "Dots");
  EXPECT_EQ(pattern->GetNthPattern(2, &second), kSPBadParameterError);

  ASBoolean modified = 1;
  ASSERT_EQ(documentSuite->GetDocumentModified(&modified), kASNoError);
  EXPECT_EQ(modified, 0);
  const ASRealMatrix m = kIdentityMatrix;
  placed->SetPlacedMatrix(handle("img"), &m);
  ASSERT_EQ(documentSuite->GetDocumentModified(&modified), kASNoError);
  EXPECT_EQ(modified, 1);
  document.close();
  EXPECT_EQ(documentSuite->GetDocumentModified(&modified), kAINoDocumentError);
  EXPECT_EQ(pattern->CountPatterns(&patterns), kAINoDocumentError);
}

TEST_F(DocumentTest, TransformArtAppliesItsMatrixAfterEachMatrixItReaches) {
  document.loadJson(kEveryKindDocument);
  const ASRealMatrix shift{1, 0, 0, 1, 5, -5};
  ASSERT_EQ(transformArt->TransformArt(handle("img"), &shift, 1, kTransformObjects), kASNoError);
  EXPECT_TRUE(identical(document.matrix("img"), ASRealMatrix{2, 0.5f, 0, 3, 45, 20}));

  // Scaling by 2 after the placed matrix scales its translation too.
  const ASRealMatrix twice{2, 0, 0, 2, 0, 0};
  ASSERT_EQ(transformArt->TransformArt(handle("ras"), &twice, 1, kTransformObjects), kASNoError);
  EXPECT_TRUE(identical(document.matrix("ras"), ASRealMatrix{4, 1, 0, 6, 80, 50}));

  // A group passes the matrix down; the pattern moves only when asked.
  ASSERT_EQ(transformArt->TransformArt(handle("grp"), &shift, 1, kTransformObjects), kASNoError);
  EXPECT_EQ(document.model().at("hole").geometry.segments[0].p.h, 17);
  const ASRealMatrix before = document.style("pat").fill.color.c.p.transform;
  ASSERT_EQ(transformArt->TransformArt(handle("pat"), &shift, 1, kTransformObjects), kASNoError);
  EXPECT_TRUE(identical(document.style("pat").fill.color.c.p.transform, before));
  ASSERT_EQ(transformArt->TransformArt(handle("pat"), &shift, 1, kTransformFillPatterns), kASNoError);
  EXPECT_TRUE(identical(document.style("pat").fill.color.c.p.transform, ASRealMatrix{1, 0, 0, 1, 8, -1}));
}

TEST_F(DocumentTest, EveryArtCallIsLoggedWithTheObjectsItConcerns) {
  document.loadJson(kEveryKindDocument);
  host.log().clear();
  ASRealMatrix m{};
  placed->GetPlacedMatrix(handle("img"), &m);
  AIArtHandle first = nullptr;
  textPath->GetFirstTextPath(handle("txt"), &first);
  ai_int16 type = 0;
  host.faults().failOnCall("AIArt::GetArtType", 1, kSPOutOfMemoryError);
  EXPECT_EQ(art->GetArtType(handle("pat"), &type), kSPOutOfMemoryError);
  const auto &records = host.log().records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].op, "AIPlaced::GetPlacedMatrix");
  EXPECT_EQ(records[0].argsText(), "art=img, matrix=(2, 0.5, 0, 3, 40, 25)");
  EXPECT_EQ(records[1].argsText(), "text=txt, first=txt/0");
  EXPECT_EQ(records[2].op, "AIArt::GetArtType");
  EXPECT_TRUE(records[2].injected);
  EXPECT_EQ(records[2].result, kSPOutOfMemoryError);
}
