// The shell suites' files, each registering its own table.
#pragma once

#include "SPBasic.h"
#include "pello/host/SuiteRegistry.h"

namespace pello::host {

// The basic suite the host hands in every message (not registered).
SPBasicSuite *basicSuite();

void registerBlocksSuite(SuiteRegistry &registry);
void registerAccessSuite(SuiteRegistry &registry);
void registerMathSuites(SuiteRegistry &registry); // fixed and real maths
void registerUserSuite(SuiteRegistry &registry);
void registerContextSuite(SuiteRegistry &registry);
void registerPreferenceSuite(SuiteRegistry &registry);
void registerRuntimeSuite(SuiteRegistry &registry);
void registerASLibSuite(SuiteRegistry &registry);
void registerMenuSuite(SuiteRegistry &registry);
void registerNotifierSuite(SuiteRegistry &registry);

} // namespace pello::host
