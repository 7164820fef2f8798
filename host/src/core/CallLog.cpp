#include "pello/host/CallLog.h"

namespace pello::host {

void CallLog::add(CallRecord record) {
  if (listener_) listener_(record);
  records_.push_back(std::move(record));
}

std::size_t CallLog::count(std::string_view op) const {
  std::size_t n = 0;
  for (const CallRecord &r : records_)
    if (r.op == op) ++n;
  return n;
}

std::vector<std::string> CallLog::ops(std::size_t from) const {
  std::vector<std::string> out;
  for (std::size_t i = from; i < records_.size(); ++i) out.push_back(records_[i].op);
  return out;
}

} // namespace pello::host
