// The document model: handles that outlive their objects, removal, the
// selection list and the quick builders tests use.
#include "documentFixture.h"

using namespace pello::host;

TEST_F(DocumentTest, HandlesOfRemovedObjectsAreRefused) {
  document.loadJson(kEveryKindDocument);
  AIArtHandle group = handle("grp"), inner = handle("hole"), img = handle("img");
  AIArtHandle line = document.textPathHandle("txt", 1);
  DocumentModel &model = document.model();
  model.remove("grp");
  model.remove("txt");

  ai_int16 type = -1;
  EXPECT_EQ(art->GetArtType(group, &type), kSPBadParameterError);
  EXPECT_EQ(art->GetArtType(inner, &type), kSPBadParameterError);
  EXPECT_EQ(type, -1);
  ASRealMatrix m = kIdentityMatrix;
  EXPECT_EQ(textPath->GetTextPathMatrix(line, &m), kSPBadParameterError);
  EXPECT_TRUE(identical(m, kIdentityMatrix));
  EXPECT_EQ(art->GetArtType(img, &type), kASNoError);
  // The removed objects left the selection; the rest keeps its order.
  EXPECT_EQ(selectedIds(), (std::vector<std::string>{"img", "pat", "mys", "odd"}));

  // A replaced document's handles are refused too, even for the same ids.
  document.loadJson(kEveryKindDocument);
  EXPECT_EQ(art->GetArtType(img, &type), kSPBadParameterError);
  EXPECT_NE(handle("img"), img);
  img = handle("img");
  document.close();
  EXPECT_EQ(art->GetArtType(img, &type), kSPBadParameterError);
}

TEST_F(DocumentTest, GarbageHandlesAreRefusedWithoutBeingFollowed) {
  document.loadJson(kEveryKindDocument);
  ai_int16 type = 0;
  AIPathStyle style{};
  for (std::uintptr_t bits : {std::uintptr_t{0}, std::uintptr_t{1}, std::uintptr_t{0xdeadbeef}}) {
    auto garbage = reinterpret_cast<AIArtHandle>(bits);
    EXPECT_EQ(art->GetArtType(garbage, &type), kSPBadParameterError);
    EXPECT_EQ(pathStyle->GetPathStyle(garbage, &style), kSPBadParameterError);
    EXPECT_EQ(pathStyle->SetPathStyle(garbage, &style), kSPBadParameterError);
  }
  // A text path is not an art object of the tree, and vice versa.
  EXPECT_EQ(art->GetArtType(document.textPathHandle("txt", 0), &type), kSPBadParameterError);
  ASRealMatrix m{};
  EXPECT_EQ(textPath->GetTextPathMatrix(handle("txt"), &m), kSPBadParameterError);
}

TEST_F(DocumentTest, ModelBuildersCheckWhatTheyAreGiven) {
  DocumentModel &model = document.create();
  ArtObject rect;
  rect.id = "r";
  rect.geometry = PathGeometry::rectangle(0, 0, 10, 5);
  rect.style.fillPaint = 1;
  rect.style.fill.color = patternColor(patternHandle(model.addPattern("P").serial));
  model.add(rect);
  EXPECT_THROW(model.add(rect), std::invalid_argument);            // id taken
  EXPECT_THROW(model.add(ArtObject{}, ""), std::invalid_argument); // no id
  ArtObject child;
  child.id = "c";
  EXPECT_THROW(model.add(child, "r"), std::invalid_argument); // a path holds no children
  EXPECT_THROW(model.addPattern("P"), std::invalid_argument);
  EXPECT_THROW(model.select({"r", "zz"}), std::invalid_argument);

  ArtObject text;
  text.id = "t";
  text.type = kTextArt;
  model.add(text);
  model.addTextPath("t", ASRealMatrix{1, 0, 0, 1, 5, 6}, "hello");
  model.select({"t", "r", "t"});
  EXPECT_EQ(selectedIds(), (std::vector<std::string>{"t", "r"}));
  EXPECT_EQ(document.textPathMatrix("t", 0).tx, 5);
  EXPECT_EQ(document.style("r").fill.color.c.p.pattern, document.patternHandleOf("P"));
}
