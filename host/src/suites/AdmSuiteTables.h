// The dialog manager's suites, each registering its table from its own file.
#pragma once

#include "pello/host/SuiteRegistry.h"

namespace pello::host {

void registerAdmBasicSuite(SuiteRegistry &registry);
void registerAdmDialogSuite(SuiteRegistry &registry);
void registerAdmDialogGroupSuite(SuiteRegistry &registry);
void registerAdmItemSuite(SuiteRegistry &registry);
void registerAdmListSuites(SuiteRegistry &registry);  // list and entry
void registerAdmEventSuites(SuiteRegistry &registry); // notifier and tracker
void registerAdmIconSuite(SuiteRegistry &registry);

} // namespace pello::host
