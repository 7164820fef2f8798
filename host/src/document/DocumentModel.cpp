#include "pello/host/Document.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace pello::host {

Serial newSerial() {
  // Far from small integers, so that a handle is never mistaken for a count
  // or an index, and never reused.
  static std::atomic<Serial> next{0x10000};
  return next.fetch_add(1);
}

const char *unitsName(Units units) {
  switch (units) {
  case Units::points:
    return "points";
  case Units::picas:
    return "picas";
  case Units::inches:
    return "inches";
  case Units::millimeters:
    return "millimeters";
  case Units::centimeters:
    return "centimeters";
  case Units::pixels:
    return "pixels";
  }
  return "points";
}

AIPathStyle defaultPathStyle() {
  AIPathStyle style{};
  style.fillPaint = 0;
  style.strokePaint = 0;
  style.fill.color = grayColor(1);
  style.stroke.color = grayColor(1);
  style.stroke.width = 1;
  style.stroke.cap = kAIButtCap;
  style.stroke.join = kAIMiterJoin;
  style.stroke.miterLimit = 4;
  style.resolution = 800;
  return style;
}

AIColor grayColor(ASReal gray) {
  AIColor color{};
  color.kind = kGrayColor;
  color.c.g.gray = gray;
  return color;
}

AIColor patternColor(AIPatternHandle pattern, const ASRealMatrix &transform) {
  AIColor color{};
  color.kind = kPattern;
  color.c.p.pattern = pattern;
  color.c.p.scale = ASRealPoint{100, 100};
  color.c.p.transform = transform;
  return color;
}

PathGeometry PathGeometry::rectangle(ASReal left, ASReal top, ASReal right, ASReal bottom) {
  return polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, true);
}

PathGeometry PathGeometry::polygon(const std::vector<ASRealPoint> &points, bool closed) {
  PathGeometry geometry;
  geometry.closed = closed;
  for (const ASRealPoint &p : points)
    geometry.segments.push_back(AIPathSegment{p, p, p, 1});
  return geometry;
}

ArtObject &DocumentModel::add(ArtObject object, std::string_view parentId) {
  if (object.id.empty()) throw std::invalid_argument("an art object needs an id");
  if (byId_.count(object.id)) throw std::invalid_argument("the id \"" + object.id + "\" is taken");
  ArtObject *parent = nullptr;
  if (!parentId.empty()) {
    parent = find(parentId);
    if (!parent) throw std::invalid_argument("no object \"" + std::string(parentId) + "\"");
    if (!parent->hasChildren())
      throw std::invalid_argument("\"" + std::string(parentId) + "\" is not a group or compound path");
  }
  object.serial = newSerial();
  object.parent = parent ? parent->serial : 0;
  object.children.clear();
  object.selected = false;
  for (TextPath &path : object.textPaths) {
    path.serial = newSerial();
    textPathOwner_[path.serial] = object.serial;
  }
  const Serial serial = object.serial;
  byId_[object.id] = serial;
  ArtObject &added = objects_.emplace(serial, std::move(object)).first->second;
  (parent ? parent->children : topLevel_).push_back(serial);
  return added;
}

TextPath &DocumentModel::addTextPath(std::string_view textId, const ASRealMatrix &matrix, std::string text) {
  ArtObject &owner = at(textId);
  if (!owner.hasTextPaths()) throw std::invalid_argument("\"" + owner.id + "\" is not a text object");
  TextPath path{newSerial(), matrix, std::move(text)};
  textPathOwner_[path.serial] = owner.serial;
  owner.textPaths.push_back(std::move(path));
  return owner.textPaths.back();
}

void DocumentModel::forget(Serial serial) {
  ArtObject &o = objects_.at(serial);
  for (Serial child : o.children)
    forget(child);
  for (const TextPath &path : o.textPaths)
    textPathOwner_.erase(path.serial);
  if (o.selected) selection_.erase(std::find(selection_.begin(), selection_.end(), serial));
  byId_.erase(o.id);
  objects_.erase(serial);
}

void DocumentModel::remove(std::string_view id) {
  ArtObject *o = find(id);
  if (!o) throw std::invalid_argument("no object \"" + std::string(id) + "\"");
  std::vector<Serial> &siblings = o->parent ? objects_.at(o->parent).children : topLevel_;
  siblings.erase(std::find(siblings.begin(), siblings.end(), o->serial));
  forget(o->serial);
}

Pattern &DocumentModel::addPattern(std::string name, RealRect tile, std::vector<PatternShape> shapes) {
  if (name.empty()) throw std::invalid_argument("a pattern needs a name");
  if (findPattern(name)) throw std::invalid_argument("the pattern name \"" + name + "\" is taken");
  patterns_.push_back(Pattern{newSerial(), std::move(name), tile, std::move(shapes)});
  return patterns_.back();
}

Pattern *DocumentModel::findPattern(std::string_view name) {
  for (Pattern &p : patterns_)
    if (p.name == name) return &p;
  return nullptr;
}

const Pattern *DocumentModel::findPattern(std::string_view name) const {
  return const_cast<DocumentModel *>(this)->findPattern(name);
}

Pattern *DocumentModel::pattern(Serial serial) {
  // Documents define a handful of patterns: a walk is cheaper than an index.
  for (Pattern &p : patterns_)
    if (p.serial == serial) return &p;
  return nullptr;
}

const Pattern *DocumentModel::pattern(Serial serial) const {
  return const_cast<DocumentModel *>(this)->pattern(serial);
}

void DocumentModel::select(const std::vector<std::string> &ids) {
  for (const std::string &id : ids)
    if (!find(id)) throw std::invalid_argument("no object \"" + id + "\"");
  deselectAll();
  for (const std::string &id : ids)
    addToSelection(id);
}

void DocumentModel::addToSelection(std::string_view id) {
  ArtObject &o = at(id);
  if (o.selected) return;
  o.selected = true;
  selection_.push_back(o.serial);
}

void DocumentModel::deselectAll() {
  for (Serial s : selection_)
    objects_.at(s).selected = false;
  selection_.clear();
}

ArtObject *DocumentModel::find(std::string_view id) {
  auto it = byId_.find(std::string(id));
  return it == byId_.end() ? nullptr : &objects_.at(it->second);
}

const ArtObject *DocumentModel::find(std::string_view id) const {
  return const_cast<DocumentModel *>(this)->find(id);
}

ArtObject &DocumentModel::at(std::string_view id) {
  ArtObject *o = find(id);
  if (!o) throw std::out_of_range("no object \"" + std::string(id) + "\"");
  return *o;
}

const ArtObject &DocumentModel::at(std::string_view id) const {
  return const_cast<DocumentModel *>(this)->at(id);
}

ArtObject *DocumentModel::object(Serial serial) {
  auto it = objects_.find(serial);
  return it == objects_.end() ? nullptr : &it->second;
}

const ArtObject *DocumentModel::object(Serial serial) const {
  return const_cast<DocumentModel *>(this)->object(serial);
}

DocumentModel::TextPathRef DocumentModel::textPath(Serial serial) {
  auto it = textPathOwner_.find(serial);
  if (it == textPathOwner_.end()) return {};
  ArtObject &owner = objects_.at(it->second);
  for (std::size_t i = 0; i < owner.textPaths.size(); ++i)
    if (owner.textPaths[i].serial == serial) return TextPathRef{&owner, &owner.textPaths[i], i};
  return {};
}

} // namespace pello::host
