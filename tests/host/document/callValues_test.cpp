// The call log's values: each prints as the log has always written it, keeps
// its type for readers, and a style write carries the document differ's
// changes, which tell 0 from -0.
#include "documentFixture.h"

#include "pello/host/CallLog.h"
#include "pello/host/DocumentDiff.h"

#include <cmath>
#include <cstdint>
#include <limits>

using namespace pello::host;

namespace {

std::string printed(const CallValue &value) {
  return value.printed();
}

bool keep(const CallArg &arg) {
  return !arg.value.isAddress();
}

} // namespace

TEST(CallValues, PrintAsTheLogWritesThem) {
  EXPECT_EQ(printed(CallValue::of(static_cast<ai_int16>(-7))), "-7");
  EXPECT_EQ(printed(CallValue::of(std::numeric_limits<std::uint64_t>::max())), "18446744073709551615");
  EXPECT_EQ(printed(CallValue::of(std::size_t{4294967295u})), "4294967295");
  EXPECT_EQ(printed(CallValue::of(true)), "1");
  EXPECT_EQ(printed(CallValue::of(false)), "0");
  EXPECT_EQ(printed(CallValue::of(0.1f)), "0.1");
  EXPECT_EQ(printed(CallValue::of(-0.0f)), "-0");
  EXPECT_EQ(printed(CallValue::of(std::nextafter(1.0f, 2.0f))), "1.0000001");
  EXPECT_EQ(printed(CallValue::of(0.1)), "0.1");
  EXPECT_EQ(printed(CallValue::of(std::numeric_limits<float>::denorm_min())), "1e-45");
  EXPECT_EQ(printed(CallValue::of("Pello")), "\"Pello\"");
  EXPECT_EQ(printed(CallValue::of("\xFF"
                                  "ABC")),
            "\"\xEF\xBF\xBD"
            "ABC\"")
      << "a module's bytes, as UTF-8";
  EXPECT_EQ(printed(CallValue::of(static_cast<const char *>(nullptr))), "null");
  EXPECT_EQ(printed(CallValue::of(Label{"p1 s1"})), "p1 s1");
  EXPECT_EQ(printed(CallValue::of(static_cast<const void *>(nullptr))), "null");
  EXPECT_EQ(printed(CallValue::of(reinterpret_cast<const void *>(std::uintptr_t{0xbeef}))), "0xbeef");
  EXPECT_EQ(printed(CallValue::of(ASRealMatrix{2, 0.5f, 0, 3, -0.0f, 25})), "(2, 0.5, 0, 3, -0, 25)");
  EXPECT_EQ(printed(CallValue::of(ASRealPoint{1191, -0.25f})), "(1191, -0.25)");
  EXPECT_EQ(printed(CallValue::of(std::make_shared<const ChangeList>())), "none");
}

TEST(CallValues, ReadersGetTypesAndNumbers) {
  CallRecord record{"AIRealMath::AIRealMatrixConcatTranslate",
                    {{"matrix", CallValue::of(reinterpret_cast<const void *>(std::uintptr_t{0x10}))},
                     {"tx", CallValue::of(1.0f)},
                     {"ty", CallValue::of(-0.0f)},
                     {"name", CallValue::of("ADM Item Suite")},
                     {"next", CallValue::of(static_cast<const void *>(nullptr))}}};
  EXPECT_EQ(record.argsText(), "matrix=0x10, tx=1, ty=-0, name=\"ADM Item Suite\", next=null");
  // A null address says something (there was none); a real one does not.
  EXPECT_EQ(argsText(record.args, keep), "tx=1, ty=-0, name=\"ADM Item Suite\", next=null");

  ASSERT_NE(record.arg("ty"), nullptr);
  ASSERT_TRUE(record.arg("ty")->number());
  EXPECT_TRUE(std::signbit(*record.arg("ty")->number()));
  ASSERT_NE(record.arg("ty")->get<float>(), nullptr);
  EXPECT_EQ(*record.arg("name")->text(), "ADM Item Suite");
  EXPECT_EQ(record.arg("name")->number(), std::nullopt);
  EXPECT_EQ(CallValue::of(true).number(), std::nullopt);
  EXPECT_EQ(record.arg("missing"), nullptr);
}

TEST_F(DocumentTest, AStyleWriteCarriesTheDocumentsChangesTyped) {
  document.loadJson(kEveryKindDocument);
  AIPathStyle style = document.style("pat");
  style.fill.color.c.p.transform.tx = -0.0f; // was 3
  style.fill.color.c.p.transform.ty = 4.5f;
  style.strokePaint = true;
  host.log().clear();
  ASSERT_EQ(pathStyle->SetPathStyle(handle("pat"), &style), kASNoError);
  const CallValue *changes = host.log().records().at(0).arg("changes");
  ASSERT_NE(changes, nullptr);
  ASSERT_NE(changes->changes(), nullptr);
  const ChangeList &list = *changes->changes();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].art, "pat");
  EXPECT_EQ(list[0].field, "strokePaint");
  EXPECT_EQ(list[1].field, "fill.color.transform");
  EXPECT_EQ(list[1].after, Json::parse("[1, 0, 0, 1, -0.0, 4.5]"));
  EXPECT_EQ(changes->printed(), "strokePaint=1, fill.color.transform=(1, 0, 0, 1, -0, 4.5)");

  // 0 and -0 are different values: writing only the sign is a change.
  style = document.style("pat");
  style.fill.color.c.p.transform.tx = 0.0f;
  host.log().clear();
  ASSERT_EQ(pathStyle->SetPathStyle(handle("pat"), &style), kASNoError);
  EXPECT_EQ(host.log().records().at(0).arg("changes")->printed(),
            "fill.color.transform=(1, 0, 0, 1, 0, 4.5)");
  host.log().clear();
  ASSERT_EQ(pathStyle->SetPathStyle(handle("pat"), &style), kASNoError);
  EXPECT_EQ(host.log().records().at(0).arg("changes")->printed(), "none");
}

TEST_F(DocumentTest, DocumentChangesNameEachValueOnceByArtAndField) {
  document.loadJson(kEveryKindDocument);
  const Json before = writeDocument(document.model());
  Json after = before;
  Json &pat = after["art"][0];
  Json &hole = after["art"][2]["children"][1]["children"][0];
  ASSERT_EQ(pat["id"], "pat");
  ASSERT_EQ(hole["id"], "hole");
  pat["style"]["stroke"]["dash"]["offset"] = -0.0;
  pat["style"]["fill"]["color"]["transform"][4] = 5.0;
  hole["id"] = "hole2";
  after["selection"] = Json::array({"pat"});

  const ChangeList changes = documentChanges(before, after);
  std::vector<std::string> seen;
  for (const Change &c : changes)
    seen.push_back(c.art + " " + c.field + ": " + c.before.dump() + " -> " + c.after.dump());
  EXPECT_EQ(seen,
            (std::vector<std::string>{
                "pat style.fill.color.transform: [1.0,0.0,0.0,1.0,3.0,4.0] -> [1.0,0.0,0.0,1.0,5.0,4.0]",
                "pat style.stroke.dash.offset: 0.0 -> -0.0",
                "hole2 (object): null -> \"added\"",
                "hole (object): \"present\" -> \"removed\"",
                "(selection) : [\"img\",\"pat\",\"mys\",\"txt\",\"odd\",\"grp\"] -> [\"pat\"]",
            }));
  EXPECT_TRUE(documentChanges(before, before).empty());
  EXPECT_EQ(findArt(after, "hole2"), &hole);
  EXPECT_EQ(findArt(after, "hole"), nullptr);
  ASSERT_NE(fieldAt(pat["style"], "fill.color.transform"), nullptr);
  EXPECT_EQ(*fieldAt(pat["style"], "fill.color.transform"), Json::parse("[1, 0, 0, 1, 5, 4]"));
  EXPECT_EQ(fieldAt(pat["style"], "fill.color.nothing"), nullptr);
}
