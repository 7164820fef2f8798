#include "Transcript.h"

#include "pello/harness/PluginSurface.h"
#include "pello/host/DialogManager.h"

#include "ADMTypes.h"

#include <cstdint>
#include <map>
#include <string_view>

namespace pello::cli {

using host::CallArg;
using host::CallRecord;
using host::CallValue;

namespace {

constexpr std::size_t kLineWidth = 100;
constexpr std::size_t kArgsShown = 90;

bool isChangeList(const CallArg &arg) {
  return arg.value.get<std::shared_ptr<const host::ChangeList>>() != nullptr;
}

// The arguments of a call as the transcript shows them. The changes of a
// style write that the host took are the step's "changed:" lines, told
// once there; a refused write's stay with it, as nothing changed.
bool shownOfTaken(const CallArg &arg) {
  return !isChangeList(arg);
}
// In the summary, addresses say nothing to a reader (a null one does:
// there was none).
bool summaryOfTaken(const CallArg &arg) {
  return !isChangeList(arg) && !arg.value.isAddress();
}
bool summaryOfRefused(const CallArg &arg) {
  return !arg.value.isAddress();
}

std::string textArg(const CallRecord &record, std::string_view name) {
  const CallValue *value = record.arg(name);
  const std::string *text = value ? value->text() : nullptr;
  return text ? *text : std::string();
}

// Host calls that the transcript leaves out of the summary: the dialog
// manager's own work shows as dialogs and alerts, suite traffic as counts.
bool worthShowing(std::string_view op) {
  if (op == "ADMDialog::Create") return true;
  if (op.substr(0, 3) == "ADM") return false;
  return op != "SPBasic::IsEqual" && op != "SPBasic::AcquireSuite" && op != "SPBasic::ReleaseSuite";
}

std::string oneLine(std::string text) {
  for (char &c : text)
    if (c == '\r' || c == '\n') c = '|';
  return text;
}

std::string shortened(const std::string &text, std::size_t width) {
  return text.size() <= width ? text : text.substr(0, width - 3) + "...";
}

// Prints `pieces` after `lead`, joined by " . ", wrapped under the lead.
void printWrapped(std::FILE *out, const std::string &lead, const std::vector<std::string> &pieces) {
  std::string line = lead;
  const std::string indent(lead.size(), ' ');
  bool first = true;
  for (const std::string &piece : pieces) {
    std::string add = first ? piece : " . " + piece;
    if (!first && line.size() + add.size() > kLineWidth) {
      std::fprintf(out, "%s\n", line.c_str());
      line = indent + piece;
    } else {
      line += add;
    }
    first = false;
  }
  std::fprintf(out, "%s\n", line.c_str());
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

} // namespace

std::string Transcript::valueText(const Json &value, bool top) {
  if (value.is_string()) return top ? value.get<std::string>() : value.dump();
  if (value.is_number_float()) return number(value.get<double>());
  if (value.is_array()) {
    std::string out = "[";
    for (std::size_t i = 0; i < value.size(); ++i)
      out += (i ? ", " : "") + valueText(value[i], false);
    return out + "]";
  }
  if (value.is_object()) {
    std::string out = "{";
    for (auto it = value.begin(); it != value.end(); ++it)
      out += (it == value.begin() ? "" : ", ") + it.key() + ": " + valueText(it.value(), false);
    return out + "}";
  }
  return value.dump();
}

Transcript::Transcript(std::FILE *out, Format format, bool verbose)
    : out_(out), format_(format), verbose_(verbose) {}

Transcript::~Transcript() {
  detach();
}

void Transcript::attach(host::Host &host) {
  detach();
  host_ = &host;
  host.log().setListener([this](const CallRecord &record) { onRecord(record); });
  auto &dialogs = host.get<host::DialogManager>();
  dialogs.setAlertListener([this](const std::string &text) {
    alerts_.push_back(text);
    pending_.push_back(Json{{"event", "alert"}, {"text", text}});
  });
  dialogs.setNotificationListener([this](const host::NotificationRecord &note) {
    if (!clicked_ && note.dialogResourceId == harness::kPaletteDialogId &&
        note.type == kADMUserChangedNotifier)
      clicked_ = harness::paletteButton(note.itemId);
  });
  dialogs.setModalListener([this](const host::ModalRecord &modal) {
    Json items = Json::array();
    // Text items are kept when empty: an empty message is something to see.
    for (const host::ItemInfo &item : modal.items)
      if (!item.text.empty() || item.kind == host::ItemKind::TextStatic ||
          item.kind == host::ItemKind::TextEdit)
        items.push_back(Json{{"id", static_cast<std::int16_t>(item.id)},
                             {"kind", host::itemKindName(item.kind)},
                             {"text", item.text}});
    pending_.push_back(Json{{"event", "dialog"},
                            {"resource", modal.resourceId},
                            {"title", modal.title},
                            {"items", items},
                            {"closedWith", modal.result}});
  });
}

void Transcript::detach() {
  if (!host_) return;
  host_->log().setListener(nullptr);
  auto &dialogs = host_->get<host::DialogManager>();
  dialogs.setAlertListener(nullptr);
  dialogs.setModalListener(nullptr);
  dialogs.setNotificationListener(nullptr);
  host_ = nullptr;
}

void Transcript::heading(const std::string &text) {
  add(Json{{"event", "heading"}, {"text", text}});
}

void Transcript::note(const std::string &text) {
  add(Json{{"event", "note"}, {"text", text}});
}

void Transcript::add(Json event) {
  if (format_ == Format::text) {
    print(event);
    // Sent on at once: if the plug-in brings the process down, a file or
    // pipe still holds everything up to the step that was running.
    std::fflush(out_);
  }
  events_.push_back(std::move(event));
}

void Transcript::onRecord(const CallRecord &record) {
  std::string_view op = record.op;
  if (op == "Host::PluginMain") {
    open_.push_back({});
    if (verbose_ && format_ == Format::text) {
      std::fprintf(out_, "  -> PluginMain(%s)\n", record.argsText().c_str());
      std::fflush(out_);
    }
    if (verbose_ && format_ == Format::json)
      events_.push_back(Json{{"event", "call"}, {"op", "PluginMain"}, {"args", record.argsText()}});
    return;
  }
  if (op == "Host::PluginMainReturned") {
    Counts counts = open_.empty() ? Counts{} : open_.back();
    if (!open_.empty()) open_.pop_back();
    pending_.push_back(
        Json{{"event", "pluginMain"},
             {"caller", textArg(record, "caller")},
             {"selector", textArg(record, "selector")},
             {"result", record.result},
             {"resultText", harness::errorCodeText(record.result, harness::CodeStyle::quoted)},
             {"suites",
              {{"acquired", counts.acquired}, {"released", counts.released}, {"refused", counts.refused}}}});
    return;
  }
  bool acquire = op == "SPBasic::AcquireSuite";
  if ((acquire || op == "SPBasic::ReleaseSuite") && !open_.empty()) {
    Counts &counts = open_.back();
    if (record.result != 0)
      ++counts.refused;
    else if (acquire)
      ++counts.acquired;
    else
      ++counts.released;
  }
  if (verbose_ && format_ == Format::text) {
    std::fprintf(out_, "     %s(%s) = %s%s\n", record.op.c_str(),
                 argsText(record.args, record.result == 0 ? shownOfTaken : nullptr).c_str(),
                 harness::errorCodeText(record.result, harness::CodeStyle::quoted).c_str(),
                 record.injected ? "  [injected]" : "");
    std::fflush(out_);
  }
  if (verbose_ && format_ == Format::json)
    events_.push_back(Json{{"event", "call"},
                           {"op", record.op},
                           {"args", argsText(record.args, record.result == 0 ? shownOfTaken : nullptr)},
                           {"result", record.result},
                           {"resultText", harness::errorCodeText(record.result, harness::CodeStyle::quoted)},
                           {"injected", record.injected}});
  if (op == "AIRealMath::AIRealMatrixConcatTranslate" && !translation_) {
    const CallValue *tx = record.arg("tx"), *ty = record.arg("ty");
    if (tx && ty && tx->number() && ty->number()) translation_ = std::pair(*tx, *ty);
  }
  if (record.result != 0 || worthShowing(op)) calls_.push_back(record);
}

std::string Transcript::operationRan() const {
  if (!clicked_) return {};
  switch (clicked_->role) {
  case harness::ButtonRole::shiftPattern:
    return translation_ ? "pattern shift: pelloPattern(" + translation_->first.printed() + ", " +
                              translation_->second.printed() + ")"
                        : "pattern shift (no pattern fill in the selection to move)";
  case harness::ButtonRole::shiftDash:
    return "dash shift";
  case harness::ButtonRole::untransform:
    return "untransform";
  }
  return {};
}

void Transcript::flush() {
  lastAlerts_ = alerts_;
  lastDialogs_ = Json::array();
  lastResult_ = Json();

  Json plugin = Json::array(), others = Json::array();
  for (Json &event : pending_) {
    if (event["event"] == "pluginMain") {
      lastResult_ = event["result"];
      plugin.push_back(std::move(event));
    } else {
      if (event["event"] == "dialog") lastDialogs_.push_back(event);
      others.push_back(std::move(event));
    }
  }
  for (Json &event : plugin)
    add(std::move(event));
  const std::string operation = operationRan();
  if (!operation.empty()) add(Json{{"event", "operation"}, {"text", operation}});
  clicked_ = nullptr;
  translation_.reset();

  // Successful calls grouped by operation, in order of first use; the
  // arguments are shown when every call of the operation had the same.
  struct Group {
    std::string op, args;
    int count = 0;
    bool sameArgs = true;
  };
  std::vector<Group> groups;
  std::map<std::string, std::size_t> index;
  Json failed = Json::array();
  for (const CallRecord &record : calls_) {
    std::string args = argsText(record.args, record.result == 0 ? summaryOfTaken : summaryOfRefused);
    if (record.result != 0) {
      failed.push_back(Json{{"event", "failedCall"},
                            {"op", record.op},
                            {"args", args},
                            {"result", record.result},
                            {"resultText", harness::errorCodeText(record.result, harness::CodeStyle::quoted)},
                            {"injected", record.injected}});
      continue;
    }
    auto [it, added] = index.emplace(record.op, groups.size());
    if (added) groups.push_back(Group{record.op, args});
    Group &group = groups[it->second];
    group.sameArgs = group.sameArgs && group.args == args;
    ++group.count;
  }
  if (!groups.empty()) {
    Json list = Json::array();
    for (const Group &group : groups) {
      Json call{{"op", group.op}, {"count", group.count}};
      if (group.sameArgs && !group.args.empty()) call["args"] = group.args;
      list.push_back(call);
    }
    add(Json{{"event", "hostCalls"}, {"calls", list}});
  }
  for (Json &event : failed)
    add(std::move(event));
  for (Json &event : others)
    add(std::move(event));

  calls_.clear();
  pending_ = Json::array();
  alerts_.clear();
}

void Transcript::addChange(const host::Change &change) {
  add(Json{{"event", "change"},
           {"art", change.art},
           {"field", change.field},
           {"before", change.before},
           {"after", change.after}});
}

void Transcript::finish(const Json &summary) {
  if (format_ != Format::json) return;
  Json whole{{"events", events_}};
  for (auto it = summary.begin(); it != summary.end(); ++it)
    whole[it.key()] = it.value();
  std::fprintf(out_, "%s\n", whole.dump(2).c_str());
}

void Transcript::print(const Json &event) {
  const std::string kind = event.value("event", "");
  if (kind == "heading") {
    std::fprintf(out_, "\n== %s\n", event["text"].get<std::string>().c_str());
  } else if (kind == "note") {
    std::fprintf(out_, "   %s\n", event["text"].get<std::string>().c_str());
  } else if (kind == "pluginMain") {
    const Json &s = event["suites"];
    std::string suites;
    if (s["acquired"] != 0 || s["released"] != 0 || s["refused"] != 0)
      suites = "   (suites: " + s["acquired"].dump() + " acquired, " + s["released"].dump() + " released" +
               (s["refused"] != 0 ? ", " + s["refused"].dump() + " refused" : "") + ")";
    std::fprintf(out_, "   PluginMain(\"%s\", \"%s\") = %s%s\n", event["caller"].get<std::string>().c_str(),
                 event["selector"].get<std::string>().c_str(), event["resultText"].get<std::string>().c_str(),
                 suites.c_str());
  } else if (kind == "hostCalls") {
    std::vector<std::string> pieces;
    for (const Json &call : event["calls"]) {
      std::string piece = call["op"].get<std::string>();
      if (call.contains("args")) piece += "(" + shortened(call["args"].get<std::string>(), kArgsShown) + ")";
      if (call["count"] != 1) piece += " x" + call["count"].dump();
      pieces.push_back(piece);
    }
    printWrapped(out_, "   host calls: ", pieces);
  } else if (kind == "failedCall") {
    std::fprintf(out_, "   refused: %s(%s) = %s%s\n", event["op"].get<std::string>().c_str(),
                 shortened(event["args"].get<std::string>(), kArgsShown).c_str(),
                 event["resultText"].get<std::string>().c_str(),
                 event["injected"] == true ? "  [injected]" : "");
  } else if (kind == "alert") {
    std::fprintf(out_, "   alert: \"%s\"\n", oneLine(event["text"].get<std::string>()).c_str());
  } else if (kind == "dialog") {
    std::fprintf(out_, "   dialog %d \"%s\", closed with item %d\n", event["resource"].get<int>(),
                 event["title"].get<std::string>().c_str(), event["closedWith"].get<int>());
    for (const Json &item : event["items"])
      std::fprintf(out_, "      item %d (%s): \"%s\"\n", item["id"].get<int>(),
                   item["kind"].get<std::string>().c_str(), oneLine(item["text"].get<std::string>()).c_str());
  } else if (kind == "step") {
    if (event["do"].get<std::string>().rfind("expect", 0) == 0) return; // shown with its result
    std::fprintf(out_, "\n== [%d] %s\n", event["index"].get<int>(),
                 event["title"].get<std::string>().c_str());
    if (event.contains("note")) std::fprintf(out_, "   (%s)\n", event["note"].get<std::string>().c_str());
  } else if (kind == "operation") {
    std::fprintf(out_, "   ran: %s\n", event["text"].get<std::string>().c_str());
  } else if (kind == "change") {
    std::string field = event["field"].get<std::string>();
    std::fprintf(out_, "   changed: %s%s: %s -> %s\n", event["art"].get<std::string>().c_str(),
                 field.empty() ? "" : (" " + field).c_str(), valueText(event["before"]).c_str(),
                 valueText(event["after"]).c_str());
  } else if (kind == "expectation") {
    const std::string index = event.contains("index") ? "[" + event["index"].dump() + "] " : "";
    if (event["passed"] == true)
      std::fprintf(out_, "   %sok: %s\n", index.c_str(), event["what"].get<std::string>().c_str());
    else
      std::fprintf(out_, "   %sEXPECTATION FAILED: %s\n      expected %s\n      got      %s\n", index.c_str(),
                   event["what"].get<std::string>().c_str(), valueText(event["expected"], false).c_str(),
                   valueText(event["actual"], false).c_str());
  } else if (kind == "file") {
    std::fprintf(out_, "   wrote %s\n", event["path"].get<std::string>().c_str());
  } else if (kind == "error") {
    std::fprintf(out_, "   ERROR: %s\n", event["text"].get<std::string>().c_str());
  } else {
    std::fprintf(out_, "   %s\n", event.dump().c_str());
  }
}

} // namespace pello::cli
