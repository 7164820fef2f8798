// What a run of the stand-in host shows: steps, the plug-in calls with their
// results, the host calls that matter (grouped), dialogs and alerts with
// their texts, document changes and expectations. Every entry is a JSON
// event; the text form is printed from the same event as it arrives, the
// JSON form is printed whole at the end.
#pragma once

#include "pello/host/CallLog.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/Host.h"

#include <cstdio>
#include <functional>
#include <string>
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

  // What happened since the last flush (plug-in calls, host calls, dialogs,
  // alerts), as events; `describe`, if given, names the operation that ran
  // (it may read lastTranslation()).
  void flush(const std::function<std::string()> &describe = {});
  // Alerts and dialog titles of the last flushed action.
  const std::vector<std::string> &lastAlerts() const { return lastAlerts_; }
  const Json &lastDialogs() const { return lastDialogs_; }
  // The result of the last plug-in call of the last flushed action, if any.
  const Json &lastResult() const { return lastResult_; }
  // The first pattern translation seen in the last flushed action, if any.
  const Json &lastTranslation() const { return lastTranslation_; }

  // The JSON form: {"events": [...]} plus `summary`'s members.
  void finish(const Json &summary);

  // A value as a reader wants it: numbers in their shortest form, strings
  // quoted only inside lists and objects (or when `top` is false).
  static std::string valueText(const Json &value, bool top = true);

private:
  void onRecord(const host::CallRecord &record);
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
  Json translation_;

  std::vector<std::string> lastAlerts_;
  Json lastDialogs_ = Json::array();
  Json lastResult_;
  Json lastTranslation_;
};

} // namespace pello::cli
