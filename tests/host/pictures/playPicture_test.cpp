// The picture play keeps from one step to the next against the picture drawn
// afresh: after each edit its parts must be those documentParts draws, the
// update must turn the previous drawing into this one, and the previous
// drawing must be given back as it was.
#include "PlayPicture.h"

#include "pello/host/DocumentJson.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using pello::cli::PictureParts;
using pello::cli::PlayPicture;
using pello::host::DocumentModel;
using pello::host::Json;

const char *const kDocument = R"({"patterns": [
    {"name": "Dots", "tile": [0, 0, 10, 10], "shapes": [{"kind": "ellipse", "bounds": [2, 2, 8, 8], "color": "#000000"}]},
    {"name": "Bars", "tile": [0, 0, 6, 6], "shapes": [{"kind": "rectangle", "bounds": [0, 0, 3, 6], "color": "#204080"}]}],
  "art": [
    {"id": "a", "type": "path", "rectangle": [0, 0, 50, 50], "style": {"fillPaint": true,
     "fill": {"color": {"kind": "pattern", "pattern": "Dots"}}}},
    {"id": "b", "type": "path", "rectangle": [60, 0, 110, 50], "style": {"fillPaint": true, "strokePaint": true,
     "fill": {"color": {"kind": "pattern", "pattern": "Dots"}}, "stroke": {"color": {"kind": "pattern", "pattern": "Bars"}}}},
    {"id": "grp", "type": "group", "children": [
      {"id": "inner", "type": "path", "rectangle": [10, 60, 20, 70]},
      {"id": "cmp", "type": "compoundPath", "children": [
        {"id": "hole", "type": "path", "rectangle": [12, 62, 18, 68], "style": {"fillPaint": true,
         "fill": {"color": {"kind": "pattern", "pattern": "Bars"}}}}]}]},
    {"id": "txt", "type": "text", "textPaths": [{"matrix": [1, 0, 0, 1, 60, 80], "text": "Pello"}]},
    {"id": "ras", "type": "raster", "matrix": [1, 0, 0, 1, 100, 60], "size": [20, 20]}],
  "selection": ["a"]})";

// The page's picture after it takes `update` over `before`: tiles it has
// are kept, objects are replaced by id, the marks whole.
PictureParts applied(PictureParts before, const Json &update) {
  std::map<std::string, std::string> tiles(before.patterns.begin(), before.patterns.end());
  for (const Json &tile : update["patterns"])
    tiles[tile[0].get<std::string>()] = tile[1].get<std::string>();
  before.patterns.assign(tiles.begin(), tiles.end());
  for (const Json &object : update["art"])
    for (auto &[id, elements] : before.art)
      if (id == object[0].get<std::string>()) elements = object[1].get<std::string>();
  before.marks = update["marks"].get<std::string>();
  return before;
}

void expectSameTiles(const PictureParts &got, const PictureParts &drawn) {
  std::map<std::string, std::string> tiles(got.patterns.begin(), got.patterns.end());
  for (const auto &[id, tile] : drawn.patterns)
    EXPECT_EQ(tiles[id], tile) << id;
}

TEST(PlayPicture, KeepsThePictureDrawnAfreshThroughEveryKindOfEdit) {
  DocumentModel model = pello::host::parseDocument(kDocument);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Edit {
    const char *what;
    std::function<void()> edit;
    bool updated; // whether the page can take an update
  };
  const std::vector<Edit> edits{
      {"nothing", [] {}, true},
      {"a tile shifted", [&] { model.at("a").style.fill.color.c.p.transform.ty = -2; }, true},
      {"the shift undone", [&] { model.at("a").style.fill.color.c.p.transform.ty = 0; }, true},
      {"a stroke's tile shifted", [&] { model.at("b").style.stroke.color.c.p.transform.tx = 3; }, true},
      {"a child of a child", [&] { model.at("hole").geometry.segments[0].p.h = 13; }, true},
      {"a text", [&] { model.at("txt").textPaths[0].text = "Palette"; }, true},
      {"a value not drawn", [&] { model.at("ras").matrix.tx = static_cast<float>(nan); }, false},
      {"drawn again", [&] { model.at("ras").matrix.tx = 100; }, false},
      {"the selection",
       [&] {
         model.select({"grp", "txt"});
       },
       true},
      {"the view grows", [&] { model.at("inner").geometry.segments[2].p.v = 400; }, false},
      {"a tile's drawing", [&] { model.findPattern("Bars")->shapes[0].color = "#ff0000"; }, false},
      {"an object removed",
       [&] {
         model.remove("b");
         model.remove("inner");
       },
       false},
      {"an object added",
       [&] {
         pello::host::ArtObject o;
         o.id = "late";
         o.style.fill.color =
             pello::host::patternColor(pello::host::patternHandle(model.findPattern("Dots")->serial));
         o.style.fillPaint = true;
         o.geometry = pello::host::PathGeometry::rectangle(0, 100, 30, 130);
         model.add(o);
       },
       false},
  };
  PlayPicture picture;
  picture.draw(model, "kept");
  pello::cli::View view = pello::cli::documentView(model);
  EXPECT_TRUE(picture.update().is_null()) << "a first drawing is drawn whole";
  for (const Edit &edit : edits) {
    SCOPED_TRACE(edit.what);
    const PictureParts before = picture.parts();
    edit.edit();
    picture.draw(model, "kept");
    view = pello::cli::unite(view, pello::cli::documentView(model));
    const PictureParts drawn = pello::cli::documentParts(model, view, "kept");
    const PictureParts &kept = picture.parts();
    EXPECT_EQ(kept.head + kept.frame, drawn.head + drawn.frame);
    EXPECT_EQ(kept.art, drawn.art);
    EXPECT_EQ(kept.patterns, drawn.patterns);
    EXPECT_EQ(kept.marks, drawn.marks);
    const PictureParts previous = picture.previous();
    EXPECT_EQ(previous.head + previous.frame, before.head + before.frame);
    EXPECT_EQ(previous.art, before.art);
    EXPECT_EQ(previous.patterns, before.patterns);
    EXPECT_EQ(previous.marks, before.marks);
    ASSERT_EQ(!picture.update().is_null(), edit.updated);
    if (!edit.updated) continue;
    const PictureParts updated = applied(before, picture.update());
    EXPECT_EQ(updated.art, drawn.art);
    EXPECT_EQ(updated.marks, drawn.marks);
    expectSameTiles(updated, drawn);
  }
}

// Only what changed is sent: a step on one object of many names that one.
TEST(PlayPicture, AnUpdateNamesOnlyTheObjectsDrawnOtherwise) {
  DocumentModel model = pello::host::parseDocument(kDocument);
  PlayPicture picture;
  picture.draw(model, "kept");
  model.at("hole").geometry.segments[0].p.h = 13;
  model.select({"b"});
  picture.draw(model, "kept");
  const Json &update = picture.update();
  ASSERT_FALSE(update.is_null());
  ASSERT_EQ(update["art"].size(), 1u);
  EXPECT_EQ(update["art"][0][0], "grp") << "a child's change draws its top-level object again";
  EXPECT_TRUE(update["patterns"].empty());
}

} // namespace
