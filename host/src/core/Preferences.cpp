#include "pello/host/Preferences.h"
#include "pello/host/FileReplace.h"
#include "pello/host/JsonLimits.h"
#include "pello/host/Utf8.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

namespace pello::host {

namespace {

// The store holds text as its file does, in UTF-8: a key or string a module
// passes with other bytes is kept with U+FFFD for them, and found again by
// the same bytes.
std::pair<std::string, std::string> keyOf(const std::string &prefix, const std::string &suffix) {
  return {validUtf8(prefix), validUtf8(suffix)};
}

using nlohmann::json;

// The file: {"<prefix>": {"<suffix>": {"type": "...", "value": ...}}}.
const char *typeName(const Preferences::Value &value) {
  switch (value.index()) {
  case 0:
    return "string";
  case 1:
    return "integer";
  case 2:
    return "boolean";
  default:
    return "point";
  }
}

json toJson(const Preferences::Value &value) {
  json out = {{"type", typeName(value)}};
  if (auto *s = std::get_if<std::string>(&value))
    out["value"] = *s;
  else if (auto *i = std::get_if<std::int32_t>(&value))
    out["value"] = *i;
  else if (auto *b = std::get_if<bool>(&value))
    out["value"] = *b;
  else {
    const ASPoint &p = std::get<ASPoint>(value);
    out["value"] = {{"h", p.h}, {"v", p.v}};
  }
  return out;
}

bool int32From(const json &j, std::int32_t &out) {
  if (!j.is_number_integer()) return false;
  if (j.is_number_unsigned()) {
    auto u = j.get<std::uint64_t>();
    if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return false;
    out = static_cast<std::int32_t>(u);
    return true;
  }
  auto i = j.get<std::int64_t>();
  if (i < std::numeric_limits<std::int32_t>::min() || i > std::numeric_limits<std::int32_t>::max())
    return false;
  out = static_cast<std::int32_t>(i);
  return true;
}

bool fromJson(const json &j, Preferences::Value &out) {
  if (!j.is_object() || !j.contains("type") || !j.contains("value") || !j["type"].is_string()) return false;
  const std::string type = j["type"].get<std::string>();
  const json &v = j["value"];
  if (type == "string" && v.is_string()) {
    out = v.get<std::string>();
    return true;
  }
  if (type == "integer") {
    std::int32_t i = 0;
    if (!int32From(v, i)) return false;
    out = i;
    return true;
  }
  if (type == "boolean" && v.is_boolean()) {
    out = v.get<bool>();
    return true;
  }
  if (type == "point" && v.is_object() && v.contains("h") && v.contains("v")) {
    ASPoint p{};
    if (!int32From(v["h"], p.h) || !int32From(v["v"], p.v)) return false;
    out = p;
    return true;
  }
  return false;
}

} // namespace

Preferences::Preferences(Host &) {}

Preferences::~Preferences() {
  save();
}

void Preferences::setFile(const std::filesystem::path &file) {
  file_ = file;
  load();
}

void Preferences::load() {
  values_.clear();
  std::error_code ec;
  if (!std::filesystem::exists(file_, ec)) return;
  if (!std::filesystem::is_regular_file(file_, ec)) {
    warnings_.push_back("preferences file " + file_.string() + " is not a file; using defaults");
    return;
  }
  std::ifstream in(file_, std::ios::binary);
  if (!in) {
    warnings_.push_back("preferences file " + file_.string() + " cannot be read; using defaults");
    return;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  json root;
  std::string why; // what is wrong with a damaged file, when it can be told
  try {
    root = parseBoundedJson<json>(text);
  } catch (const JsonNestingError &e) {
    why = std::string(" (") + e.what() + ")";
  } catch (const json::exception &) {
  }
  std::map<Key, Value> loaded;
  bool sound = root.is_object();
  if (sound) {
    for (auto &[prefix, suffixes] : root.items()) {
      if (!suffixes.is_object()) {
        sound = false;
        break;
      }
      for (auto &[suffix, entry] : suffixes.items()) {
        Value value;
        if (!fromJson(entry, value)) {
          sound = false;
          break;
        }
        loaded[{prefix, suffix}] = std::move(value);
      }
      if (!sound) break;
    }
  }
  if (!sound) {
    // The user's file is kept: the next save writes over the original.
    std::filesystem::path kept = file_;
    kept += ".bak";
    // Removed first: mingw-w64's copy_file does not write over a file.
    std::filesystem::remove(kept, ec);
    std::filesystem::copy_file(file_, kept, ec);
    warnings_.push_back("preferences file " + file_.string() + " is damaged" + why + "; using defaults" +
                        (ec ? std::string() : "; the damaged file is kept as " + kept.string()));
    return;
  }
  values_ = std::move(loaded);
}

bool Preferences::save() {
  if (file_.empty()) return true;
  json root = json::object();
  for (const auto &[key, value] : values_)
    root[key.first][key.second] = toJson(value);
  std::string why;
  if (replaceFile(file_, root.dump(2) + '\n', why)) return true;
  warnings_.push_back("preferences file " + file_.string() + " " + why);
  return false;
}

const Preferences::Value *Preferences::find(const std::string &prefix, const std::string &suffix) const {
  auto it = values_.find(keyOf(prefix, suffix));
  return it == values_.end() ? nullptr : &it->second;
}

std::optional<std::string> Preferences::getString(const std::string &prefix,
                                                  const std::string &suffix) const {
  const Value *v = find(prefix, suffix);
  if (auto *s = v ? std::get_if<std::string>(v) : nullptr) return *s;
  return std::nullopt;
}

std::optional<std::int32_t> Preferences::getInteger(const std::string &prefix,
                                                    const std::string &suffix) const {
  const Value *v = find(prefix, suffix);
  if (auto *i = v ? std::get_if<std::int32_t>(v) : nullptr) return *i;
  return std::nullopt;
}

std::optional<bool> Preferences::getBoolean(const std::string &prefix, const std::string &suffix) const {
  const Value *v = find(prefix, suffix);
  if (auto *b = v ? std::get_if<bool>(v) : nullptr) return *b;
  return std::nullopt;
}

std::optional<ASPoint> Preferences::getPoint(const std::string &prefix, const std::string &suffix) const {
  const Value *v = find(prefix, suffix);
  if (auto *p = v ? std::get_if<ASPoint>(v) : nullptr) return *p;
  return std::nullopt;
}

void Preferences::putString(const std::string &prefix, const std::string &suffix, std::string value) {
  values_[keyOf(prefix, suffix)] = validUtf8(value);
}

void Preferences::putInteger(const std::string &prefix, const std::string &suffix, std::int32_t value) {
  values_[keyOf(prefix, suffix)] = value;
}

void Preferences::putBoolean(const std::string &prefix, const std::string &suffix, bool value) {
  values_[keyOf(prefix, suffix)] = value;
}

void Preferences::putPoint(const std::string &prefix, const std::string &suffix, ASPoint value) {
  values_[keyOf(prefix, suffix)] = value;
}

bool Preferences::has(const std::string &prefix, const std::string &suffix) const {
  return find(prefix, suffix) != nullptr;
}

std::optional<Preferences::Type> Preferences::typeOf(const std::string &prefix,
                                                     const std::string &suffix) const {
  const Value *v = find(prefix, suffix);
  if (!v) return std::nullopt;
  return static_cast<Type>(v->index());
}

void Preferences::erase(const std::string &prefix, const std::string &suffix) {
  values_.erase(keyOf(prefix, suffix));
}

} // namespace pello::host
