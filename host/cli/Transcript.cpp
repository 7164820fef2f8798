#include "Transcript.h"

#include "pello/host/DialogManager.h"

#include <string_view>

namespace pello::cli {

using host::CallRecord;

Transcript::Transcript(host::Host &host, std::FILE *out, bool verbose)
    : host_(host), out_(out), verbose_(verbose) {
  host_.log().setListener([this](const CallRecord &record) { onRecord(record); });
  auto &dialogs = host_.get<host::DialogManager>();
  dialogs.setAlertListener(
      [this](const std::string &text) { std::fprintf(out_, "    [alert] \"%s\"\n", text.c_str()); });
  dialogs.setModalListener([this](const host::ModalRecord &modal) {
    std::fprintf(out_, "    [dialog %d] \"%s\"\n", modal.resourceId, modal.title.c_str());
    for (const host::ItemInfo &item : modal.items) {
      if (item.text.empty()) continue;
      std::string text = item.text;
      for (char &c : text)
        if (c == '\r' || c == '\n') c = '|';
      std::fprintf(out_, "        item %d (%s): \"%s\"\n", item.id, host::itemKindName(item.kind),
                   text.c_str());
    }
    std::fprintf(out_, "        closed with item %d\n", modal.result);
  });
}

Transcript::~Transcript() {
  host_.log().setListener(nullptr);
  auto &dialogs = host_.get<host::DialogManager>();
  dialogs.setAlertListener(nullptr);
  dialogs.setModalListener(nullptr);
}

void Transcript::heading(const std::string &text) {
  std::fprintf(out_, "\n== %s\n", text.c_str());
}

void Transcript::note(const std::string &text) {
  std::fprintf(out_, "   %s\n", text.c_str());
}

std::string Transcript::codeText(ASErr code) {
  auto hi = static_cast<std::uint32_t>(code) >> 16;
  if (hi == 0 || hi == 0xFFFF) return std::to_string(code);
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((static_cast<std::uint32_t>(code) >> shift) & 0xFF);
    text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return text + "'";
}

void Transcript::onRecord(const CallRecord &record) {
  std::string_view op = record.op;
  if (op == "Host::PluginMain") {
    calls_.push_back({});
    std::fprintf(out_, "  -> PluginMain(%s)\n", record.args.c_str());
    return;
  }
  if (op == "Host::PluginMainReturned") {
    Counts counts = calls_.empty() ? Counts{} : calls_.back();
    if (!calls_.empty()) calls_.pop_back();
    if (counts.acquired || counts.released || counts.failed)
      std::fprintf(out_, "     suites: %d acquired, %d released, %d refused\n", counts.acquired,
                   counts.released, counts.failed);
    std::fprintf(out_, "  <- %s\n", codeText(record.result).c_str());
    return;
  }
  bool acquire = op == "SPBasic::AcquireSuite";
  if (acquire || op == "SPBasic::ReleaseSuite") {
    if (!calls_.empty()) {
      Counts &counts = calls_.back();
      if (record.result != 0)
        ++counts.failed;
      else if (acquire)
        ++counts.acquired;
      else
        ++counts.released;
    }
    if (record.result == 0 && !verbose_) return;
  } else if (op == "SPBasic::IsEqual" && !verbose_) {
    return;
  }
  // The dialog manager's own calls show as dialogs and alerts.
  if (!verbose_ && (op.substr(0, 3) == "ADM" && op != "ADMDialog::Modal")) return;
  std::fprintf(out_, "     %s(%s) = %s%s\n", record.op.c_str(), record.args.c_str(),
               codeText(record.result).c_str(), record.injected ? "  [injected]" : "");
}

} // namespace pello::cli
