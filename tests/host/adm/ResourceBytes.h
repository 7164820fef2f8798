// Builds resource bytes by hand, field by field as the formats lay them out,
// and an in-memory plug-in module holding them.
#pragma once

#include "pello/host/PluginModule.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pello::test {

class Bytes {
public:
  Bytes &u8(std::uint8_t v) {
    data.push_back(v);
    return *this;
  }
  Bytes &u16(std::uint16_t v) {
    return u8(static_cast<std::uint8_t>(v)).u8(static_cast<std::uint8_t>(v >> 8));
  }
  Bytes &u32(std::uint32_t v) {
    return u16(static_cast<std::uint16_t>(v)).u16(static_cast<std::uint16_t>(v >> 16));
  }
  // ASCII text as zero-terminated UTF-16.
  Bytes &sz(const std::string &text) {
    for (char c : text)
      u16(static_cast<std::uint8_t>(c));
    return u16(0);
  }
  Bytes &ordinal(std::uint16_t v) { return u16(0xFFFF).u16(v); }
  Bytes &align4() {
    while (data.size() % 4)
      u8(0);
    return *this;
  }
  std::vector<std::uint8_t> data;
};

// A standard dialog template header without font.
inline Bytes dialogHeader(std::uint32_t style, std::uint16_t count, std::int16_t x, std::int16_t y,
                          std::int16_t cx, std::int16_t cy, const std::string &title) {
  Bytes b;
  b.u32(style).u32(0).u16(count);
  b.u16(static_cast<std::uint16_t>(x)).u16(static_cast<std::uint16_t>(y));
  b.u16(static_cast<std::uint16_t>(cx)).u16(static_cast<std::uint16_t>(cy));
  b.u16(0).u16(0).sz(title); // no menu, standard class
  return b;
}

// One item of a standard template; `cls` is an ordinal (0x80...) or, when
// `className` is not empty, that name.
inline void dialogItem(Bytes &b, std::uint32_t style, std::int16_t x, std::int16_t y, std::int16_t cx,
                       std::int16_t cy, std::uint16_t id, std::uint16_t cls, const std::string &className,
                       const std::string &text) {
  b.align4();
  b.u32(style).u32(0);
  b.u16(static_cast<std::uint16_t>(x)).u16(static_cast<std::uint16_t>(y));
  b.u16(static_cast<std::uint16_t>(cx)).u16(static_cast<std::uint16_t>(cy));
  b.u16(id);
  if (className.empty())
    b.ordinal(cls);
  else
    b.sz(className);
  b.sz(text);
  b.u16(0);
}

// A string-table block (16 strings, each a length and UTF-16 units).
inline std::vector<std::uint8_t> stringBlock(const std::map<int, std::string> &strings) {
  Bytes b;
  for (int i = 0; i < 16; ++i) {
    auto it = strings.find(i);
    if (it == strings.end()) {
      b.u16(0);
      continue;
    }
    b.u16(static_cast<std::uint16_t>(it->second.size()));
    for (char c : it->second)
      b.u16(static_cast<std::uint8_t>(c));
  }
  return b.data;
}

class FakeModule : public host::PluginModule {
public:
  SPPluginMainProc entry() const override { return nullptr; }
  const host::PiPLInfo &pipl() const override { return pipl_; }
  const std::filesystem::path &path() const override { return path_; }
  const std::vector<std::uint8_t> *resource(const host::ResourceType &type, int id) const override {
    auto it = resources_.find({type.number, id});
    return it == resources_.end() ? nullptr : &it->second;
  }
  std::vector<int> resourceIds(const host::ResourceType &type) const override {
    std::vector<int> ids;
    for (const auto &[key, bytes] : resources_)
      if (key.first == type.number) ids.push_back(key.second);
    return ids;
  }
  std::vector<std::string> exportedNames() const override { return {}; }

  void add(int type, int id, std::vector<std::uint8_t> bytes) { resources_[{type, id}] = std::move(bytes); }
  // Puts string-table strings (id -> text) into their blocks.
  void addStrings(const std::map<int, std::string> &strings) {
    std::map<int, std::map<int, std::string>> blocks;
    for (const auto &[id, text] : strings)
      blocks[(id >> 4) + 1][id & 15] = text;
    for (const auto &[block, entries] : blocks)
      add(host::kRtString, block, stringBlock(entries));
  }

private:
  host::PiPLInfo pipl_;
  std::filesystem::path path_;
  std::map<std::pair<int, int>, std::vector<std::uint8_t>> resources_;
};

} // namespace pello::test
