// The document watch against the whole-document differ: after each edit it
// must tell exactly what documentChanges tells for the two documents
// written out, though it writes only the objects that changed.
#include "documentFixture.h"

#include "pello/host/DocumentDiff.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace pello::host;

namespace {

std::vector<std::string> printed(const ChangeList &changes) {
  std::vector<std::string> out;
  for (const Change &c : changes)
    out.push_back(c.art + " " + c.field + ": " + c.before.dump() + " -> " + c.after.dump());
  return out;
}

ArtObject path(const std::string &id, ASReal left) {
  ArtObject o;
  o.id = id;
  o.geometry = PathGeometry::rectangle(left, 0, left + 10, 10);
  return o;
}

} // namespace

TEST(DocumentWatch, TellsWhatTheWholeDocumentDifferTells) {
  DocumentModel model = parseDocument(kEveryKindDocument);
  DocumentWatch watch;
  watch.reset(nullptr);
  Json last = writeDocument(DocumentModel{});

  const std::vector<std::pair<std::string, std::function<void()>>> edits{
      {"the document appears", [] {}},
      {"nothing", [] {}},
      {"styles, to the bit",
       [&] {
         model.at("pat").style.fill.color.c.p.transform.tx = 5;
         model.at("dash").style.stroke.dash.offset = -0.0f;
         model.at("dash").style.stroke.dash.array[2] = 1;
       }},
      {"geometry, matrices, text, files",
       [&] {
         model.at("inner").geometry.segments[1].p.h = 25;
         model.at("inner").geometry.closed = false;
         model.at("txt").textPaths[1].matrix.ty = 41;
         model.at("txt").textPaths[2].text = "drei";
         model.at("img").file = "other.eps";
         model.at("ras").size.v = 33;
         model.at("odd").name = "named now";
       }},
      {"a pattern renamed and one added",
       [&] {
         model.findPattern("Stripes")->name = "Bands";
         model.addPattern("Checks", {0, 0, 4, 4});
       }},
      {"a pattern's tile", [&] { model.findPattern("Checks")->tile.right = 6; }},
      {"objects removed and added, an id used again",
       [&] {
         model.remove("cmp");
         model.remove("inner");
         model.add(path("inner", 40));
         model.add(path("new", 60), "grp");
       }},
      {"the selection",
       [&] {
         model.select({"new", "pat"});
       }},
      {"a type changed", [&] { model.at("odd").type = kRasterArt; }},
  };
  for (const auto &[what, edit] : edits) {
    SCOPED_TRACE(what);
    edit();
    Json now = writeDocument(model);
    const std::vector<std::string> expected = printed(documentChanges(last, now));
    EXPECT_EQ(printed(watch.look(&model)), expected);
    EXPECT_EQ(expected.empty(), what == "nothing");
    last = std::move(now);
  }

  // Starting again from the document as it is: nothing changed since.
  watch.reset(&model);
  EXPECT_TRUE(watch.look(&model).empty());
  // A document read back has new serials throughout, but the same contents.
  DocumentModel reread = readDocument(last);
  EXPECT_TRUE(watch.look(&reread).empty());
  reread.at("pat").style.fill.color.c.p.shiftDist = 2;
  EXPECT_EQ(printed(watch.look(&reread)),
            (std::vector<std::string>{"pat style.fill.color.shiftDist: 0.0 -> 2.0"}));
}
