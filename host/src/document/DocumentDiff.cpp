#include "pello/host/DocumentDiff.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>

namespace pello::host {

namespace {

// Art objects by id, in document order, each without its children.
void indexArt(const Json &list, std::vector<std::string> &order, std::map<std::string, Json> &byId) {
  if (!list.is_array()) return;
  for (const Json &art : list) {
    // Member by member: a copy of the whole object, children and all, at
    // every level would cost the square of the nesting depth.
    Json own = Json::object();
    for (auto member = art.begin(); member != art.end(); ++member)
      if (member.key() != "children") own[member.key()] = member.value();
    const std::string id = art.value("id", "");
    order.push_back(id);
    byId[id] = std::move(own);
    if (art.contains("children")) indexArt(art["children"], order, byId);
  }
}

// Alike to the bit: 0 and -0 are different values of a document (they
// read back as they were written), which == on JSON numbers takes as one.
bool same(const Json &a, const Json &b) {
  if (a.is_number_float() && b.is_number_float()) {
    const double x = a.get<double>(), y = b.get<double>();
    return std::memcmp(&x, &y, sizeof x) == 0;
  }
  if (a.type() != b.type() || a.size() != b.size()) return a == b;
  if (a.is_array()) {
    for (std::size_t i = 0; i < a.size(); ++i)
      if (!same(a[i], b[i])) return false;
    return true;
  }
  if (a.is_object()) {
    for (auto it = a.begin(), jt = b.begin(); it != a.end(); ++it, ++jt)
      if (it.key() != jt.key() || !same(it.value(), jt.value())) return false;
    return true;
  }
  return a == b;
}

bool isLeafArray(const Json &value) {
  if (!value.is_array()) return false;
  for (const Json &element : value)
    if (element.is_object() || element.is_array()) return false;
  return true;
}

void diff(const std::string &art, const std::string &path, const Json &a, const Json &b, ChangeList &out) {
  if (same(a, b)) return;
  auto join = [&](const std::string &member) { return path.empty() ? member : path + "." + member; };
  if (a.is_object() && b.is_object()) {
    for (auto it = a.begin(); it != a.end(); ++it)
      diff(art, join(it.key()), it.value(), b.contains(it.key()) ? b[it.key()] : Json(), out);
    for (auto it = b.begin(); it != b.end(); ++it)
      if (!a.contains(it.key())) diff(art, join(it.key()), Json(), it.value(), out);
    return;
  }
  if (a.is_array() && b.is_array() && a.size() == b.size() && !isLeafArray(a) && !isLeafArray(b)) {
    for (std::size_t i = 0; i < a.size(); ++i)
      diff(art, path + "[" + std::to_string(i) + "]", a[i], b[i], out);
    return;
  }
  out.push_back(Change{art, path, a, b});
}

// The patterns by name, each against the one of that name before.
void patternChanges(const Json &before, const Json &after, ChangeList &out) {
  std::map<std::string, Json> patternsBefore, patternsAfter;
  for (const Json &p : before)
    patternsBefore[p.value("name", "")] = p;
  for (const Json &p : after)
    patternsAfter[p.value("name", "")] = p;
  for (const auto &[name, p] : patternsAfter)
    diff("(pattern " + name + ")", "", patternsBefore.count(name) ? patternsBefore[name] : Json(), p, out);
}

} // namespace

ChangeList documentChanges(const Json &before, const Json &after) {
  ChangeList out;
  std::vector<std::string> orderBefore, orderAfter;
  std::map<std::string, Json> a, b;
  indexArt(before.value("art", Json::array()), orderBefore, a);
  indexArt(after.value("art", Json::array()), orderAfter, b);
  for (const std::string &id : orderAfter) {
    auto found = a.find(id);
    if (found == a.end())
      out.push_back(Change{id, "(object)", nullptr, "added"});
    else
      diff(id, "", found->second, b[id], out);
  }
  for (const std::string &id : orderBefore)
    if (!b.count(id)) out.push_back(Change{id, "(object)", "present", "removed"});

  patternChanges(before.value("patterns", Json::array()), after.value("patterns", Json::array()), out);
  diff("(selection)", "", before.value("selection", Json::array()), after.value("selection", Json::array()),
       out);
  return out;
}

void DocumentWatch::reset(const DocumentModel *model) {
  seen_.clear();
  patternNames_.clear();
  patterns_ = selection_ = Json::array();
  look(model);
}

ChangeList DocumentWatch::look(const DocumentModel *model) {
  static const DocumentModel none;
  if (!model) model = &none;
  ChangeList out;
  // An object names its pattern: when a pattern is renamed, added or
  // removed, every object is written again.
  std::vector<std::pair<Serial, std::string>> names;
  Json patterns = Json::array();
  for (const Pattern &p : model->patterns()) {
    names.emplace_back(p.serial, p.name);
    patterns.push_back(writePattern(p));
  }
  const bool renamed = names != patternNames_;
  const auto compare = [&](Seen &seen, const ArtObject &o) {
    if (!renamed && identicalOwn(seen.object, o)) return;
    Json now = writeOwnArt(*model, o);
    diff(o.id, "", seen.json, now, out);
    seen = Seen{o, std::move(now)};
  };

  std::vector<const ArtObject *> objects;
  objects.reserve(seen_.size());
  model->forEach([&](const ArtObject &o, int) { objects.push_back(&o); });
  bool sameIds = objects.size() == seen_.size();
  for (std::size_t i = 0; sameIds && i < objects.size(); ++i)
    sameIds = objects[i]->id == seen_[i].object.id;
  if (sameIds) {
    // Most steps leave the objects where they were: each is compared with
    // what was seen at its place.
    for (std::size_t i = 0; i < objects.size(); ++i)
      compare(seen_[i], *objects[i]);
  } else {
    std::unordered_map<std::string, std::size_t> was;
    for (std::size_t i = 0; i < seen_.size(); ++i)
      was.emplace(seen_[i].object.id, i);
    std::vector<bool> found(seen_.size());
    std::vector<Seen> seen;
    seen.reserve(objects.size());
    for (const ArtObject *o : objects) {
      auto at = was.find(o->id);
      if (at == was.end()) {
        out.push_back(Change{o->id, "(object)", nullptr, "added"});
        seen.push_back(Seen{*o, writeOwnArt(*model, *o)});
        continue;
      }
      found[at->second] = true;
      compare(seen_[at->second], *o);
      seen.push_back(std::move(seen_[at->second]));
    }
    for (std::size_t i = 0; i < seen_.size(); ++i)
      if (!found[i]) out.push_back(Change{seen_[i].object.id, "(object)", "present", "removed"});
    seen_ = std::move(seen);
  }

  patternChanges(patterns_, patterns, out);
  Json selection = Json::array();
  for (Serial s : model->selection())
    selection.push_back(model->object(s)->id);
  diff("(selection)", "", selection_, selection, out);

  patternNames_ = std::move(names);
  patterns_ = std::move(patterns);
  selection_ = std::move(selection);
  return out;
}

ChangeList valueChanges(const std::string &art, const std::string &path, const Json &before,
                        const Json &after) {
  ChangeList out;
  diff(art, path, before, after, out);
  return out;
}

ChangeList styleChanges(const DocumentModel &model, const std::string &art, const AIPathStyle &before,
                        const AIPathStyle &after) {
  return valueChanges(art, "", writePathStyle(model, before), writePathStyle(model, after));
}

const Json *findArt(const Json &document, const std::string &id) {
  const Json *list = document.is_object() && document.contains("art") ? &document["art"] : &document;
  if (!list->is_array()) return nullptr;
  for (const Json &art : *list) {
    if (art.value("id", "") == id) return &art;
    if (art.contains("children"))
      if (const Json *found = findArt(art["children"], id)) return found;
  }
  return nullptr;
}

const Json *fieldAt(const Json &value, const std::string &path) {
  const Json *at = &value;
  std::size_t i = 0;
  while (i < path.size()) {
    if (path[i] == '.') {
      ++i;
      continue;
    }
    if (path[i] == '[') {
      std::size_t close = path.find(']', i);
      if (close == std::string::npos || !at->is_array()) return nullptr;
      char *end = nullptr;
      unsigned long index = std::strtoul(path.c_str() + i + 1, &end, 10);
      if (end != path.c_str() + close || index >= at->size()) return nullptr;
      at = &(*at)[index];
      i = close + 1;
      continue;
    }
    std::size_t stop = path.find_first_of(".[", i);
    std::string member = path.substr(i, stop == std::string::npos ? std::string::npos : stop - i);
    if (!at->is_object() || !at->contains(member)) return nullptr;
    at = &(*at)[member];
    i = stop == std::string::npos ? path.size() : stop;
  }
  return at;
}

} // namespace pello::host
