#include "SvgDocument.h"
#include "SvgText.h"

#include "pello/host/DocumentJson.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <limits>
#include <regex>

namespace {

using pello::cli::documentSvg;
using pello::cli::documentView;
using pello::host::DocumentModel;
using pello::host::parseDocument;

const char *const kDocument = R"({"patterns": [{"name": "Dots", "tile": [0, 0, 10, 10],
    "shapes": [{"kind": "ellipse", "bounds": [2, 2, 8, 8], "color": "#000000"}]}],
  "art": [
    {"id": "p1", "type": "path", "rectangle": [0, 0, 50, 50], "style": {"fillPaint": true,
     "fill": {"color": {"kind": "pattern", "pattern": "Dots", "transform": [1, 0, 0, 1, 0, 0]}}}},
    {"id": "t1", "type": "text", "textPaths": [{"matrix": [1, 0, 0, 1, 60, 20], "text": "Pello"}]},
    {"id": "r1", "type": "raster", "matrix": [1, 0, 0, 1, 100, 0], "size": [20, 20]}]})";

bool has(const std::string &svg, const std::string &text) {
  return svg.find(text) != std::string::npos;
}

// The picture with the caption's wrapped lines joined again.
std::string joined(const std::string &svg) {
  return std::regex_replace(svg, std::regex("</tspan><tspan[^>]*>"), " ");
}

TEST(DocumentPicture, AnObjectHoldingANonFiniteValueIsMarkedNotDrawnWithZeros) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char *id;
    void (*spoil)(pello::host::ArtObject &, double);
    double value;
    const char *field;
  } cases[] = {
      {"p1", [](auto &o, double v) { o.style.fill.color.c.p.transform.ty = static_cast<float>(v); }, nan,
       "fill.color.transform"},
      {"p1", [](auto &o, double v) { o.geometry.segments[1].p.h = static_cast<float>(v); }, inf, "geometry"},
      {"t1", [](auto &o, double v) { o.textPaths[0].matrix.a = static_cast<float>(v); }, -inf,
       "textPaths[0].matrix"},
      {"r1", [](auto &o, double v) { o.matrix.tx = static_cast<float>(v); }, nan, "matrix"},
  };
  for (const Case &c : cases) {
    DocumentModel model = parseDocument(kDocument);
    c.spoil(*model.find(c.id), c.value);
    const std::string svg = documentSvg(model, documentView(model), "spoilt");
    SCOPED_TRACE(std::string(c.id) + " " + c.field);
    EXPECT_TRUE(has(joined(svg), std::string(c.id) + " is not drawn: its " + c.field)) << svg;
    EXPECT_FALSE(has(svg, std::string("id=\"") + c.id + "\"")) << "drawn all the same:\n" << svg;
    for (const char *written : {"nan", "inf\"", "inf ", "inf)"})
      EXPECT_FALSE(has(svg, written)) << svg;
    // The others are drawn as ever.
    for (const char *other : {"p1", "t1", "r1"})
      if (std::string(other) != c.id) {
        EXPECT_TRUE(has(svg, std::string("id=\"") + other + "\"")) << other;
      }
  }
}

TEST(DocumentPicture, TextsAreWrittenAsXmlCanHoldThem) {
  DocumentModel model = parseDocument(kDocument);
  model.find("t1")->textPaths[0].text =
      std::string("a\x01z\x7f") + "\xEF\xBF\xBF" + "\xC3" + "<&>'\"" + "\xF0\x9F\x98\x80";
  const std::string svg = documentSvg(model, documentView(model), "caption \x02 & <tag>");
  EXPECT_TRUE(has(svg, "a\xEF\xBF\xBDz\x7f\xEF\xBF\xBD\xEF\xBF\xBD&lt;&amp;&gt;&apos;&quot;\xF0\x9F\x98\x80"))
      << svg;
  EXPECT_TRUE(has(svg, "caption \xEF\xBF\xBD &amp; &lt;tag&gt;"));
  for (char c = 1; c < 0x20; ++c)
    if (c != '\n') {
      EXPECT_FALSE(has(svg, std::string(1, c))) << int(c);
    }
}

TEST(DocumentPicture, ALongCaptionIsWrappedToThePictureNotClipped) {
  DocumentModel model = parseDocument(kDocument);
  std::string caption;
  for (int i = 0; i < 40; ++i)
    caption += "word" + std::to_string(i) + " ";
  const std::string svg = documentSvg(model, documentView(model), caption);
  std::size_t lines = 0;
  for (std::size_t at = svg.find("<tspan"); at != std::string::npos; at = svg.find("<tspan", at + 1))
    ++lines;
  EXPECT_GT(lines, 3u);
  for (int i = 0; i < 40; ++i)
    EXPECT_TRUE(has(svg, "word" + std::to_string(i))) << i;
}

TEST(SvgWrap, BreaksAtSpacesAndCutsWordsLongerThanALine) {
  using pello::cli::svg::wrap;
  EXPECT_EQ(wrap("one two three", 7), (std::vector<std::string>{"one two", "three"}));
  EXPECT_EQ(wrap("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
  // Code points, not bytes: four two-byte letters fit a line of four.
  EXPECT_EQ(wrap("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4).size(), 1u);
  EXPECT_EQ(wrap("", 5), (std::vector<std::string>{""}));
}

} // namespace

namespace {

using pello::host::Change;
using pello::host::Json;

// The pattern shift arrows in a picture: (x1, y1, x2, y2) each.
std::vector<std::array<double, 4>> arrows(const std::string &svg) {
  std::vector<std::array<double, 4>> found;
  const std::regex line(
      R"re(<line x1="([-\d.e]+)" y1="([-\d.e]+)" x2="([-\d.e]+)" y2="([-\d.e]+)"[^>]*marker-end)re");
  for (std::sregex_iterator it(svg.begin(), svg.end(), line), end; it != end; ++it)
    found.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
  return found;
}

TEST(SvgNum, WritesWhatPrintfWritesInFourDecimalsWithoutTrailingZeros) {
  using pello::cli::svg::num;
  for (double v : {0.0, 1.0, -0.5, 12.0, 0.00005, 0.00015, 2.5e-5, -2.5e-5, 1.23456789, -123456.78905, 1e-300,
                   16777217.0, 0.1 + 0.2, 3.0 / 7}) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", v);
    std::string expected = text;
    expected.erase(expected.find_last_not_of('0') + 1);
    if (expected.back() == '.') expected.pop_back();
    if (expected == "-0") expected = "0";
    EXPECT_EQ(num(v), expected) << v;
  }
  EXPECT_EQ(num(1e31), "9999999999999999635896294965248") << "every digit, none cut off";
  EXPECT_EQ(num(std::numeric_limits<double>::infinity()), "0");
}

TEST(DocumentPicture, ChangesAreFramedCaptionedAndAPatternShiftIsAnArrowOfItsLength) {
  DocumentModel model = parseDocument(kDocument);
  const std::vector<Change> changes{
      {"p1", "style.fill.color.transform", Json::array({1, 0, 0, 1, 0, 0}),
       Json::array({1, 0, 0, 1, 0, -7.5})},
      {"r1", "matrix", Json::array({1, 0, 0, 1, 100, 0}), Json::array({2, 0, 0, 2, 100, 0})},
      {"(selection)", "", Json::array(), Json::array({"p1"})},
      {"gone", "style.stroke.dash.offset", 0, 3}};
  const std::string svg = documentSvg(model, documentView(model), "after", changes);
  EXPECT_TRUE(has(svg, "data-art=\"p1\"") && has(svg, "data-art=\"r1\""));
  EXPECT_FALSE(has(svg, "data-art=\"gone\"")) << "an object the document lacks is not marked";
  EXPECT_TRUE(has(svg, "fill.color.transform = [1, 0, 0, 1, 0, -7.5]"));
  EXPECT_TRUE(has(svg, "matrix = [2, 0, 0, 2, 100, 0]"));
  // One arrow, for the pure translation only: from p1's centre, 7.5 up.
  const auto shifts = arrows(svg);
  ASSERT_EQ(shifts.size(), 1u);
  EXPECT_DOUBLE_EQ(shifts[0][2] - shifts[0][0], 0);
  EXPECT_DOUBLE_EQ(shifts[0][3] - shifts[0][1], -7.5);
  EXPECT_FALSE(has(documentSvg(model, documentView(model), "after"), "class=\"change\""));
}

} // namespace

namespace {

TEST(DocumentPicture, UsesOfAPatternPlacedAlikeShareOneTile) {
  const auto count = [](const std::string &svg) {
    std::size_t n = 0;
    for (std::size_t at = svg.find("<pattern "); at != std::string::npos; at = svg.find("<pattern ", at + 1))
      ++n;
    return n;
  };
  DocumentModel model = parseDocument(R"({"patterns": [{"name": "Dots", "tile": [0, 0, 10, 10],
      "shapes": [{"kind": "ellipse", "bounds": [2, 2, 8, 8], "color": "#000000"}]}],
    "art": [
      {"id": "a", "type": "path", "rectangle": [0, 0, 50, 50], "style": {"fillPaint": true,
       "fill": {"color": {"kind": "pattern", "pattern": "Dots"}}}},
      {"id": "b", "type": "path", "rectangle": [60, 0, 110, 50], "style": {"fillPaint": true,
       "fill": {"color": {"kind": "pattern", "pattern": "Dots"}}}},
      {"id": "c", "type": "path", "rectangle": [120, 0, 170, 50], "style": {"fillPaint": true,
       "fill": {"color": {"kind": "pattern", "pattern": "Dots", "transform": [1, 0, 0, 1, 0, -2]}}}}]})");
  const std::string svg = documentSvg(model, documentView(model), "shared");
  EXPECT_EQ(count(svg), 2u) << "a and b share a tile; c's is shifted";
  EXPECT_TRUE(has(svg, "patternTransform=\"matrix(1 0 0 1 0 -2)\""));
}

// In parts, a change to one object's pattern leaves the other objects drawn
// as they were: the ids of the tiles do not follow the order of use.
TEST(DocumentPicture, InPartsAChangeToOneObjectLeavesTheOthersAsDrawn) {
  DocumentModel model = parseDocument(R"({"patterns": [{"name": "Dots", "tile": [0, 0, 10, 10],
      "shapes": [{"kind": "ellipse", "bounds": [2, 2, 8, 8], "color": "#000000"}]}],
    "art": [
      {"id": "a", "type": "path", "rectangle": [0, 0, 50, 50], "style": {"fillPaint": true,
       "fill": {"color": {"kind": "pattern", "pattern": "Dots"}}}},
      {"id": "b", "type": "path", "rectangle": [60, 0, 110, 50], "style": {"fillPaint": true,
       "fill": {"color": {"kind": "pattern", "pattern": "Dots"}}}}],
    "selection": ["a"]})");
  const pello::cli::View view = documentView(model);
  const pello::cli::PictureParts before = pello::cli::documentParts(model, view, "parts");
  ASSERT_EQ(before.art.size(), 2u);
  EXPECT_EQ(before.patterns.size(), 1u) << "a and b share a tile";
  EXPECT_TRUE(has(before.art[1].second, "url(#" + before.patterns[0].first + ")"));
  EXPECT_TRUE(has(before.marks, "stroke-dasharray")) << "a's selection frame";

  model.at("a").style.fill.color.c.p.transform.ty = -2;
  const pello::cli::PictureParts after = pello::cli::documentParts(model, view, "parts");
  EXPECT_EQ(after.art[1], before.art[1]) << "b is drawn as it was";
  EXPECT_NE(after.art[0], before.art[0]);
  ASSERT_EQ(after.patterns.size(), 2u);
  EXPECT_EQ(after.patterns[1], before.patterns[0]) << "b's tile keeps its id and drawing";
  EXPECT_TRUE(has(after.patterns[0].second, "matrix(1 0 0 1 0 -2)"));
  EXPECT_EQ(after.head + after.frame, before.head + before.frame);

  // The parts hold what the whole picture holds, tile ids aside.
  model.at("a").style.fill.color.c.p.transform.ty = 0;
  std::string whole = before.head + "<defs>\n" + before.patterns[0].second + "</defs>\n" + before.frame;
  for (const auto &[id, elements] : before.art)
    whole += elements;
  whole += before.marks + "</svg>\n";
  const std::regex ids("pattern-[0-9a-z-]+");
  EXPECT_EQ(std::regex_replace(whole, ids, "P"),
            std::regex_replace(documentSvg(model, view, "parts"), ids, "P"));
}

} // namespace
