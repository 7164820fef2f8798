// Every suite at its version only, and injected faults giving null, false
// or nothing.
#include "dialogManagerFixture.h"

using namespace pello::host;
using namespace pello::test;

namespace {

TEST_F(DialogManagerTest, EverySuiteIsOfferedAtItsVersionOnly) {
  const std::pair<const char *, ai_int32> suites[] = {
      {"ADM Basic Suite", 2},    {"ADM Dialog Suite", 3}, {"ADM Item Suite", 4},
      {"ADM Icon Suite", 1},     {"ADM List Suite", 1},   {"ADM Dialog Group Suite", 1},
      {"ADM Notifier Suite", 1}, {"ADM Entry Suite", 2},  {"ADM Tracker Suite", 1}};
  for (const auto &[name, version] : suites) {
    const void *table = nullptr;
    EXPECT_EQ(host.suites().acquire(name, version, &table), kASNoError) << name;
    EXPECT_NE(table, nullptr) << name;
    EXPECT_EQ(host.suites().acquire(name, version + 1, &table), kSPSuiteNotFoundError) << name;
  }
}

TEST_F(DialogManagerTest, InjectedFaultsGiveNullFalseOrNothing) {
  host.faults().failOnCall("ADMDialog::Create", 1, kSPOutOfMemoryError);
  EXPECT_EQ(createPalette(paletteInit), nullptr);
  EXPECT_TRUE(gSeen.events.empty()) << "a failed Create builds nothing";
  EXPECT_TRUE(host.log().records().back().injected);

  ADMDialogRef dlg = createPalette(wiredPaletteInit);
  ASSERT_NE(dlg, nullptr);
  host.faults().failOnCall("ADMDialog::GetItem", 1, kSPBadParameterError);
  EXPECT_EQ(dialog->GetItem(dlg, 1), nullptr);
  EXPECT_NE(dialog->GetItem(dlg, 1), nullptr);

  host.faults().failOnCall("ADMItem::SetText", 1, kSPBadParameterError);
  item->SetText(dialog->GetItem(dlg, 11), "lost");
  EXPECT_EQ(text(dialog->GetItem(dlg, 11)), "Untransform");

  host.faults().failAlways("ADMDialog::IsVisible", kSPBadParameterError);
  EXPECT_FALSE(dialog->IsVisible(dlg));
  host.faults().clear();
  EXPECT_TRUE(dialog->IsVisible(dlg));

  host.faults().failOnCall("ADMDialog::Modal", 1, kSPOutOfMemoryError);
  EXPECT_EQ(dialog->Modal(plugin, "Box", kModalDialog, kADMModalDialogStyle, modalInit, nullptr), -1);

  host.faults().failOnCall("ADMBasic::GetIndexString", 1, kSPOutOfMemoryError);
  module.addStrings({{51, "x"}});
  char buffer[8] = "same";
  EXPECT_EQ(basic->GetIndexString(plugin, 50, 1, buffer, sizeof buffer), kSPOutOfMemoryError);
  EXPECT_STREQ(buffer, "same");
}

} // namespace
