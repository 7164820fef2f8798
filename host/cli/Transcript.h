// What a run of the stand-in host shows: steps, the plug-in calls with their
// results, the host calls that matter (grouped), dialogs and alerts with
// their texts, document changes and expectations. Every entry is a JSON
// event; the text form is printed from the same event as it arrives, the
// JSON form is printed whole at the end.
#pragma once

#include "pello/harness/PluginSurface.h"
#include "pello/host/CallLog.h"
#include "pello/host/DocumentDiff.h"
#include "pello/host/Host.h"

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pello::cli {

using host::Json;

class Transcript {
public:
  enum class Format { text, json };
  // `verbose`: every host call as it happens instead of the grouped summary.
  Transcript(std::FILE *out, Format format = Format::text, bool verbose = false);
  ~Transcript();
  Transcript(const Transcript &) = delete;
  Transcript &operator=(const Transcript &) = delete;

  // Listens to `host` (its call log, alerts and modal dialogs) until
  // detach(); a restarted host is attached anew.
  void attach(host::Host &host);
  void detach();

  void heading(const std::string &text);
  void note(const std::string &text);
  // Any event; `event["event"]` names its kind.
  void add(Json event);

  // A change in the document, as a "change" event.
  void addChange(const host::Change &change);

  // What happened since the last flush (plug-in calls, the operation that
  // ran, host calls, dialogs, alerts), as events.
  void flush();
  // Alerts and dialog titles of the last flushed action.
  const std::vector<std::string> &lastAlerts() const { return lastAlerts_; }
  const Json &lastDialogs() const { return lastDialogs_; }
  // The result of the last plug-in call of the last flushed action, if any.
  const Json &lastResult() const { return lastResult_; }

  // Every event so far, in order.
  const Json &events() const { return events_; }

  // The JSON form: {"events": [...]} plus `summary`'s members.
  void finish(const Json &summary);

  // A value as a reader wants it: numbers in their shortest form, strings
  // quoted only inside lists and objects (or when `top` is false).
  static std::string valueText(const Json &value, bool top = true);

private:
  void onRecord(const host::CallRecord &record);
  // The plug-in operation of the action now running, named by the palette
  // button that was clicked and, for a pattern shift, the first translation
  // it concatenated; "" when no palette button was clicked.
  std::string operationRan() const;
  void print(const Json &event);

  std::FILE *out_;
  Format format_;
  bool verbose_;
  host::Host *host_ = nullptr;
  Json events_ = Json::array();

  // The action now running.
  struct Counts {
    int acquired = 0, released = 0, refused = 0;
  };
  std::vector<Counts> open_; // one per PluginMain call now running
  std::vector<host::CallRecord> calls_;
  Json pending_ = Json::array(); // plug-in calls, dialogs and alerts, in order
  std::vector<std::string> alerts_;
  const harness::PaletteButton *clicked_ = nullptr;
  std::optional<std::pair<host::CallValue, host::CallValue>> translation_; // tx, ty

  std::vector<std::string> lastAlerts_;
  Json lastDialogs_ = Json::array();
  Json lastResult_;
};

} // namespace pello::cli
