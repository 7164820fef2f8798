// The host's preferences: typed values under a prefix and a suffix, kept in a
// JSON file that survives a host restart. A missing file is an empty store;
// a damaged one too, with a warning: the host never fails to start over it.
#pragma once

#include "ASTypes.h"
#include "pello/host/Host.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace pello::host {

class Preferences : public Component {
public:
  enum class Type { String, Integer, Boolean, Point };
  using Value = std::variant<std::string, std::int32_t, bool, ASPoint>;

  explicit Preferences(Host &);
  // Writes the file, as the host does when it quits.
  ~Preferences() override;

  // Uses `file` from now on and loads it: the store is replaced by the
  // file's values (empty when the file is missing or damaged).
  void setFile(const std::filesystem::path &file);
  const std::filesystem::path &file() const { return file_; }
  // Writes the store to the file (no file set: nothing, true). False, with
  // a warning, when the file cannot be written.
  bool save();
  // Things the host noticed (damaged file, unwritable file...).
  const std::vector<std::string> &warnings() const { return warnings_; }

  std::optional<std::string> getString(const std::string &prefix, const std::string &suffix) const;
  std::optional<std::int32_t> getInteger(const std::string &prefix, const std::string &suffix) const;
  std::optional<bool> getBoolean(const std::string &prefix, const std::string &suffix) const;
  std::optional<ASPoint> getPoint(const std::string &prefix, const std::string &suffix) const;
  void putString(const std::string &prefix, const std::string &suffix, std::string value);
  void putInteger(const std::string &prefix, const std::string &suffix, std::int32_t value);
  void putBoolean(const std::string &prefix, const std::string &suffix, bool value);
  void putPoint(const std::string &prefix, const std::string &suffix, ASPoint value);

  bool has(const std::string &prefix, const std::string &suffix) const;
  std::optional<Type> typeOf(const std::string &prefix, const std::string &suffix) const;
  void erase(const std::string &prefix, const std::string &suffix);
  void clear() { values_.clear(); }
  std::size_t size() const { return values_.size(); }

private:
  using Key = std::pair<std::string, std::string>; // prefix, suffix
  const Value *find(const std::string &prefix, const std::string &suffix) const;
  void load();
  std::filesystem::path file_;
  std::map<Key, Value> values_;
  std::vector<std::string> warnings_;
};

} // namespace pello::host
