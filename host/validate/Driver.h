// The driver behind runDrivenSession: one stand-in host, the choices that
// pick its actions, and the history of the last actions for the stage.
#pragma once

#include "pello/harness/ArtDocuments.h"
#include "pello/validate/HostSession.h"
#include "pello/validate/ProcessCounters.h"
#include "pello/validate/SessionDriver.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pello::validate {

using host::Json;

// The driver's actions by the number a choice picks (Driver::act): 0 to
// kQuietActions - 1 without faults; from kFirstRestriction on, a fault, a
// withdrawn suite or an odd preference for the next action.
inline constexpr std::uint32_t kUnloadReloadAction = 12;
inline constexpr std::uint32_t kNewDocumentActions[] = {13, 14};
inline constexpr std::uint32_t kPaletteControlsAction = 16;
inline constexpr std::uint32_t kFirstRestriction = 18;
inline constexpr std::uint32_t kQuietActions = 18;
inline constexpr std::uint32_t kAllActions = 21;

class Driver {
public:
  Driver(CheckContext &context, Chooser &chooser, const DriverOptions &options)
      : context_(context), chooser_(chooser), options_(options), session_(context) {}

  void run();

private:
  std::uint32_t pick(std::uint32_t n) { return chooser_.below(n); }
  bool chance(std::uint32_t percent) { return pick(100) < percent; }
  float number();
  ASRealMatrix matrix();
  Json randomArt(int &serial, int depth);
  void newDocument();
  void newSelection();
  void act(std::uint32_t action);
  void click();
  void armFault();
  void lackSuite();
  void oddPreference();
  bool failedSince(std::size_t firedBefore, const std::string &op) const;
  void checkAlerts();
  void checkToldWrites(std::size_t alertsBefore);
  void checkKeptPerLoad();
  void note(const std::string &what);
  // Adds a session-file step to the description of the current action.
  void emit(Json step);
  void retract();
  bool started() const;
  void forgetOldNotifiers();

  CheckContext &context_;
  Chooser &chooser_;
  DriverOptions options_;
  HostSession session_;
  std::string history_;
  int step_ = 0;
  std::size_t alertsSeen_ = 0;
  bool restrictionArmed_ = false;
  std::size_t firedAtStep_ = 0; // the host's faults fired before the current step
  // A failing IsEqual kept the plug-in from recognising an unload or a
  // reload, the only messages that carry its record across one: the record
  // is lost by the host's doing.
  bool recordLostByHost_ = false;
  bool pasting_ = false; // the current action chose the option menu's paste
  // What the process held the first time the library was out of memory.
  std::optional<ProcessCounters> firstOut_;
};

} // namespace pello::validate
