// Documents saved and loaded as JSON: exact round trips, and refusals that
// say where the document is wrong and leave the open document alone.
#include "documentFixture.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/JsonLimits.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace pello::host;

namespace {

bool sameBits(float x, float y) {
  return std::memcmp(&x, &y, sizeof x) == 0;
}

std::string loadError(Document &document, const std::string &text) {
  try {
    document.loadJson(text);
  } catch (const DocumentFormatError &e) {
    return e.what();
  }
  return "loaded";
}

} // namespace

TEST_F(DocumentTest, SavedDocumentLoadsBackIdenticalAndSavesToTheSameText) {
  document.loadJson(kEveryKindDocument);
  // Values that a careless writer would bend: tenths, a subnormal, negative
  // zero, the largest float, non-finite values, a true that is not 1 and an
  // out-of-range dash length.
  DocumentModel &model = document.model();
  AIPathStyle &style = model.at("dash").style;
  style.stroke.dash.offset = 0.1f;
  style.stroke.dash.array[2] = std::numeric_limits<float>::denorm_min();
  style.stroke.dash.array[3] = -0.0f;
  style.stroke.dash.array[4] = FLT_MAX;
  style.stroke.dash.array[5] = std::nextafter(1.0f, 2.0f);
  style.stroke.dash.length = 9;
  style.stroke.width = std::numeric_limits<float>::infinity();
  style.resolution = std::numeric_limits<float>::quiet_NaN();
  style.fillPaint = 2;
  style.stroke.cap = 7;
  model.at("img").matrix = ASRealMatrix{1.0f / 3, 2.0f / 3, -1e-30f, 16777217.0f, 123456.789f, -0.3f};
  model.at("txt").textPaths[1].matrix.tx = 0.1f + 0.2f;
  model.modified = true;

  const std::string first = document.saveJson();
  DocumentModel reread = parseDocument(first);
  EXPECT_TRUE(identical(model, reread));
  EXPECT_EQ(formatDocument(reread), first);

  const AIPathStyle &back = reread.at("dash").style;
  EXPECT_TRUE(sameBits(back.stroke.dash.array[2], std::numeric_limits<float>::denorm_min()));
  EXPECT_TRUE(std::signbit(back.stroke.dash.array[3]));
  EXPECT_EQ(back.stroke.dash.length, 9);
  EXPECT_TRUE(std::isnan(back.resolution));
  EXPECT_EQ(back.fillPaint, 2);
  EXPECT_TRUE(identical(reread.at("img").matrix, model.at("img").matrix));
  EXPECT_EQ(reread.selection().size(), 6u);
}

TEST_F(DocumentTest, FloatsAreWrittenInTheirShortestExactForm) {
  EXPECT_EQ(realToJson(0.1f).dump(), "0.1");
  EXPECT_EQ(realToJson(9.5f).dump(), "9.5");
  EXPECT_EQ(realToJson(-15.0f).dump(), "-15.0");
  EXPECT_EQ(realToJson(std::numeric_limits<float>::quiet_NaN()), "NaN");
  EXPECT_EQ(realToJson(-std::numeric_limits<float>::infinity()), "-Infinity");
  // Every float of a sweep across the exponents reads back bit for bit.
  for (std::uint32_t bits = 1; bits < 0x7f800000u; bits += 0x000f4243u) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    const float back = static_cast<float>(Json::parse(realToJson(value).dump()).get<double>());
    ASSERT_TRUE(sameBits(back, value)) << bits;
  }
}

TEST_F(DocumentTest, DocumentKeepsTheTreeStylesAndSelectionOrder) {
  document.loadJson(kEveryKindDocument);
  const DocumentModel &model = document.model();
  EXPECT_EQ(model.topLevel().size(), 9u);
  const ArtObject &group = model.at("grp");
  ASSERT_EQ(group.children.size(), 2u);
  EXPECT_EQ(model.object(group.children[1])->id, "cmp");
  EXPECT_EQ(model.at("hole").parent, model.at("cmp").serial);

  const AIPathStyle &pat = model.at("pat").style;
  EXPECT_EQ(pat.fillPaint, 1);
  EXPECT_EQ(pat.fill.color.kind, kPattern);
  EXPECT_EQ(pat.fill.color.c.p.pattern, document.patternHandleOf("Stripes"));
  EXPECT_EQ(pat.fill.color.c.p.scale.h, 100);
  EXPECT_EQ(pat.fill.color.c.p.transform.tx, 3);
  const AIDashStyle &dash = model.at("dash").style.stroke.dash;
  EXPECT_EQ(dash.length, 2);
  EXPECT_EQ(dash.array[1], 2);
  EXPECT_EQ(dash.offset, 0.5f);
  EXPECT_EQ(model.at("pat").geometry.segments.size(), 4u);
  EXPECT_TRUE(model.at("pat").geometry.closed);
  EXPECT_EQ(model.at("txt").textPaths[2].text, "three");

  std::vector<std::string> order;
  for (Serial s : model.selection())
    order.push_back(model.object(s)->id);
  EXPECT_EQ(order, (std::vector<std::string>{"img", "pat", "mys", "txt", "odd", "grp"}));
}

TEST_F(DocumentTest, MalformedDocumentsAreRefusedSayingWhere) {
  const struct {
    const char *text;
    const char *message;
  } cases[] = {
      {R"({"art": [{"id": "a", "type": "path", "style": {"stroke": {"dash": {"array": [1, 2, 3, 4, 5, 6, 7]}}}}]})",
       "art[0].style.stroke.dash.array: a dash array holds at most 6 entries, found 7"},
      {R"({"art": [{"id": "a", "type": "path"}, {"id": "b", "type": "path", "style": {"strokPaint": true}}]})",
       "art[1].style.strokPaint: unknown member"},
      {R"({"art": [{"id": "g", "type": "group", "children": [{"id": "x", "type": "placed", "matrix": [1, 0, 0]}]}]})",
       "art[0].children[0].matrix: expected 6 elements, found 3"},
      {R"({"art": [{"id": "a", "type": "path", "style": {"fill": {"color": {"kind": "pattern", "pattern": "Nope"}}}}]})",
       "art[0].style.fill.color.pattern: the document defines no pattern \"Nope\""},
      {R"({"art": [{"id": "a", "type": "path"}, {"id": "a", "type": "raster"}]})",
       "art[1].id: the id \"a\" is used twice"},
      {R"({"art": [{"id": "a", "type": "path"}], "selection": ["a", "b"]})", "selection[1]: no object \"b\""},
      {R"({"art": [{"id": "a", "type": "text", "matrix": [1, 0, 0, 1, 0, 0]}]})",
       "art[0].matrix: unknown member"},
      {R"({"art": [{"id": "a", "type": "path", "style": {"fillPaint": "yes"}}]})",
       "art[0].style.fillPaint: expected true, false or an integer, found a string"},
      {R"({"art": [{"id": "a", "type": "path", "style": {"stroke": {"width": 1e300}}}]})",
       "art[0].style.stroke.width: the number 1e+300 is beyond single precision"},
      {R"({"art": [{"id": "a", "type": "ellipse"}]})", "art[0].type: unknown name \"ellipse\""},
      {R"({"art": [{"id": "a", "type": "path", "style": {"stroke": {"dash": {"length": 40000}}}}]})",
       "art[0].style.stroke.dash.length: the integer 40000 is outside -32768..32767"},
      {R"({"patterns": [{"name": "P", "tile": [0, 0, 1, 1], "shapes": [{"kind": "ellipse", "bounds": [0, 0, 1, 1],
          "color": "red"}]}]})",
       "patterns[0].shapes[0].color: expected a colour \"#rrggbb\", found \"red\""},
      {R"({"units": "furlongs"})", "units: unknown units \"furlongs\""},
      {R"([1, 2])", "document: expected an object, found an array"},
      {"{\"art\": [\n  {\"id\": \"a\",}\n]}", "document: not JSON: parse error at line 2"},
      {R"({"art": [{"id": "a", "type": "path", "rectangle": [0, 0, 1, 1e400]}]})",
       "document: not JSON: number overflow parsing '1e400'"},
  };
  for (const auto &c : cases) {
    const std::string message = loadError(document, c.text);
    EXPECT_EQ(message.substr(0, std::strlen(c.message)), c.message) << c.text;
  }
  EXPECT_FALSE(document.isOpen());
}

TEST_F(DocumentTest, RefusedDocumentLeavesTheOpenOneUntouched) {
  document.loadJson(kEveryKindDocument);
  const std::string before = document.saveJson();
  AIArtHandle img = handle("img");
  // Everything but the last selection entry is sound: a loader that filled
  // the open document as it went would have replaced it by now.
  std::string text = kEveryKindDocument;
  text.replace(text.find("\"grp\"]"), 6, "\"nowhere\"]");
  EXPECT_THROW(document.loadJson(text), DocumentFormatError);
  EXPECT_EQ(document.saveJson(), before);
  ai_int16 type = 0;
  EXPECT_EQ(art->GetArtType(img, &type), kASNoError);
  EXPECT_EQ(type, kPlacedArt);
}

TEST_F(DocumentTest, FilesLoadAndSave) {
  document.loadJson(kEveryKindDocument);
  const auto file = std::filesystem::temp_directory_path() /
                    ("pello-doc-" + std::to_string(std::random_device{}()) + ".json");
  document.saveFile(file);
  const std::string saved = document.saveJson();
  document.close();
  document.loadFile(file);
  EXPECT_EQ(document.saveJson(), saved);
  std::filesystem::remove(file);
  EXPECT_THROW(document.loadFile(file), std::runtime_error);
  EXPECT_TRUE(document.isOpen());
}

namespace {

// `levels` of art: groups g1.. around one path, the path at level `levels`.
std::string nestedArt(std::size_t levels) {
  std::string text = R"({"art": [)";
  for (std::size_t level = 1; level < levels; ++level)
    text += R"({"id": "g)" + std::to_string(level) + R"(", "type": "group", "children": [)";
  text += R"({"id": "p", "type": "path", "rectangle": [0, 0, 1, 1]})";
  for (std::size_t level = 1; level < levels; ++level)
    text += "]}";
  return text + "]}";
}

} // namespace

TEST_F(DocumentTest, NestingIsReadUpToItsLimitsAndRefusedBeyondThemSayingWhere) {
  // Art at the deepest level allowed reads, writes and reads back the same.
  document.loadJson(nestedArt(kMaxArtNesting));
  EXPECT_EQ(document.model().objectCount(), kMaxArtNesting);
  const std::string saved = document.saveJson();
  document.loadJson(saved);
  EXPECT_EQ(document.saveJson(), saved);

  EXPECT_EQ(loadError(document, nestedArt(kMaxArtNesting + 1)).substr(0, 34),
            "art[0].children[0].children[0].chi");
  EXPECT_NE(loadError(document, nestedArt(kMaxArtNesting + 1)).find("art nests at most 100 levels deep"),
            std::string::npos);

  // Arrays and objects: the limit itself is read, one more is refused with
  // its place, shortened in the middle, before anything recurses over it.
  const auto arrays = [](std::size_t n) { return std::string(n, '[') + std::string(n, ']'); };
  EXPECT_NO_THROW(parseBoundedJson<Json>(arrays(kMaxJsonNesting)));
  try {
    parseBoundedJson<Json>(arrays(kMaxJsonNesting + 1));
    ADD_FAILURE() << "257 levels read";
  } catch (const JsonNestingError &e) {
    EXPECT_STREQ(e.what(),
                 "[0][0][0][0][0][0][0][0]...[0][0][0][0]: nested deeper than 256 levels of arrays and "
                 "objects");
  }
  const std::string deepSelection = R"({"art": [], "selection": [{"a": )" + arrays(300) + "}]}";
  EXPECT_EQ(loadError(document, deepSelection).substr(0, 29), "selection[0].a[0][0][0][0][0]");
  // Siblings before the deep value count in its index.
  EXPECT_EQ(loadError(document, "[1, {\"x\": 2}, " + arrays(300) + "]").substr(0, 9), "[2][0][0]");
}
