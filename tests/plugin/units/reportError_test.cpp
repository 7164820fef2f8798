// The error dialog's lookup of a code in the error text list, and what the
// dialog is given to show.
#include "fakeHost.h"
#include "reportError.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class ReportError : public FakeHostTest {
protected:
  SPInterfaceMessage message{};

  // Entries: a code and its message per pair.
  void useList(std::vector<std::string> entries) { fakeHost.entries = std::move(entries); }

  bool dialogShown() const { return fakeHost.modalIds == std::vector<ai_int32>{16051}; }
  std::string shownMessage() const { return fakeHost.itemTexts.at(2); }
  std::string shownCode() const { return fakeHost.itemTexts.at(3); }
};

const std::vector<std::string> kThreePairs = {"Parm", "bad parameter", "-108", "out of memory",
                                              "0",    "general"};

} // namespace

TEST_F(ReportError, NumericCodeFindsItsMessage) {
  useList(kThreePairs);
  report_error(&message, -108);
  ASSERT_TRUE(dialogShown());
  EXPECT_EQ(shownMessage(), "out of memory");
  EXPECT_EQ(shownCode(), "-108");
  EXPECT_EQ(fakeHost.notifyProcsSet, 1);
}

TEST_F(ReportError, FourCharacterCodeFindsItsMessage) {
  useList(kThreePairs);
  report_error(&message, kSPBadParameterError);
  ASSERT_TRUE(dialogShown());
  EXPECT_EQ(shownMessage(), "bad parameter");
  EXPECT_EQ(shownCode(), "Parm");
}

TEST_F(ReportError, MissingCodeGetsTheLastPairsMessage) {
  useList(kThreePairs);
  report_error(&message, AS_FOURCC('A', 'B', 'C', 'D'));
  ASSERT_TRUE(dialogShown());
  EXPECT_EQ(fakeHost.indexReads.back(), 6);
  EXPECT_EQ(shownMessage(), "general");
  EXPECT_EQ(shownCode(), "ABCD");

  fakeHost.itemTexts.clear();
  report_error(&message, -1);
  EXPECT_EQ(shownCode(), "-1");
}

TEST_F(ReportError, DecimalEntriesMatchAfterTruncationAndWrap) {
  useList({"40000", "wrapped", "12.7", "truncated", "0", "general"});
  report_error(&message, 40000 - 65536);
  EXPECT_EQ(shownMessage(), "wrapped");
  report_error(&message, 40000);
  EXPECT_EQ(shownMessage(), "general");
  report_error(&message, 12);
  EXPECT_EQ(shownMessage(), "truncated");
}

TEST_F(ReportError, ShortCodeEntryDoesNotMatchOnStaleBytes) {
  // "AB" is read after "ABCD" into the same buffer: only zero bytes may
  // follow its two characters.
  useList({"ABCD", "four", "AB", "two", "0", "general"});
  report_error(&message, AS_FOURCC('A', 'B', 0, 0));
  EXPECT_EQ(shownMessage(), "two");
  report_error(&message, AS_FOURCC('A', 'B', 'C', 'D'));
  EXPECT_EQ(shownMessage(), "four");
}

TEST_F(ReportError, LookupOfAnEndlessListEnds) {
  fakeHost.endlessList = true;
  report_error(&message, -108);
  ASSERT_TRUE(dialogShown());
  // The last code entry read is 32765; the message is its pair's, 32766.
  ASSERT_GE(fakeHost.indexReads.size(), 2u);
  EXPECT_EQ(fakeHost.indexReads[fakeHost.indexReads.size() - 2], 32765);
  EXPECT_EQ(fakeHost.indexReads.back(), 32766);
}

TEST_F(ReportError, EmptyListShowsNothing) {
  report_error(&message, -108);
  EXPECT_EQ(fakeHost.indexReads, (std::vector<ai_int32>{1, 0}));
  EXPECT_TRUE(fakeHost.modalIds.empty());
}

TEST_F(ReportError, SuccessAndStopAreNeverShown) {
  useList(kThreePairs);
  report_error(&message, kASNoError);
  report_error(&message, kASStopError);
  EXPECT_TRUE(fakeHost.indexReads.empty());
  EXPECT_TRUE(fakeHost.modalIds.empty());
}

TEST_F(ReportError, NothingShownWithoutTheDialogSuites) {
  useList(kThreePairs);
  sADMItem = nullptr; // the acquisition ended at the ADM Item Suite
  report_error(&message, -108);
  sADMItem = nullptr;
  sADMDialog = nullptr;
  report_error(&message, -108);
  EXPECT_TRUE(fakeHost.modalIds.empty());
}

TEST_F(ReportError, CodeTextIsEmptyWhenTheHostCannotFormatIt) {
  useList(kThreePairs);
  fakeHost.realToStringFails = true;
  report_error(&message, -108);
  ASSERT_TRUE(dialogShown());
  EXPECT_EQ(shownMessage(), "out of memory");
  EXPECT_EQ(shownCode(), "");
}
