// A stand-in host whose dialog manager reads its resources from an
// in-memory module, with every ADM suite acquired.
#pragma once

#include "ADMBasic.h"
#include "ADMDialog.h"
#include "ADMDialogGroup.h"
#include "ADMEntry.h"
#include "ADMIcon.h"
#include "ADMItem.h"
#include "ADMList.h"
#include "ADMNotifier.h"
#include "ADMTracker.h"
#include "ResourceBytes.h"
#include "pello/host/DialogManager.h"
#include "pello/host/Host.h"

#include <gtest/gtest.h>

namespace pello::test {

// Members are public: the plug-in procedures of the tests, plain functions,
// reach the suites through the running fixture.
class AdmFixture : public ::testing::Test {
public:
  AdmFixture() : dm(host.get<host::DialogManager>()) {
    dm.setModuleLookup(
        [this](SPPluginRef ref) -> const host::PluginModule * { return ref == plugin ? &module : nullptr; });
    acquire(kADMBasicSuite, kADMBasicSuiteVersion, basic);
    acquire(kADMDialogSuite, kADMDialogSuiteVersion, dialog);
    acquire(kADMItemSuite, kADMItemSuiteVersion, item);
    acquire(kADMListSuite, kADMListSuiteVersion, list);
    acquire(kADMEntrySuite, kADMEntrySuiteVersion, entry);
    acquire(kADMNotifierSuite, kADMNotifierSuiteVersion, notifier);
    acquire(kADMTrackerSuite, kADMTrackerSuiteVersion, tracker);
    acquire(kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, group);
    acquire(kADMIconSuite, kADMIconSuiteVersion, icon);
  }

  template <class Suite> void acquire(const char *name, ai_int32 version, Suite *&out) {
    const void *table = nullptr;
    ASSERT_EQ(host.suites().acquire(name, version, &table), kASNoError) << name;
    out = static_cast<Suite *>(const_cast<void *>(table));
  }

  host::Host host;
  host::DialogManager &dm;
  FakeModule module;
  SPPluginRef plugin = reinterpret_cast<SPPluginRef>(&module);

  ADMBasicSuite2 *basic = nullptr;
  ADMDialogSuite3 *dialog = nullptr;
  ADMItemSuite4 *item = nullptr;
  ADMListSuite1 *list = nullptr;
  ADMEntrySuite2 *entry = nullptr;
  ADMNotifierSuite1 *notifier = nullptr;
  ADMTrackerSuite1 *tracker = nullptr;
  ADMDialogGroupSuite1 *group = nullptr;
  ADMIconSuite1 *icon = nullptr;
};

} // namespace pello::test
