#include "PlayPicture.h"

#include <map>
#include <unordered_map>

namespace pello::cli {

using host::ArtObject;
using host::DocumentModel;
using host::Json;

namespace {

void copyTree(const DocumentModel &model, const ArtObject &o, std::vector<ArtObject> &out) {
  out.push_back(o);
  for (host::Serial child : o.children)
    if (const ArtObject *c = model.object(child)) copyTree(model, *c, out);
}

// Whether `o` and its descendants are, from `at` on, those in `seen`.
bool sameTree(const DocumentModel &model, const ArtObject &o, const std::vector<ArtObject> &seen,
              std::size_t &at) {
  if (at >= seen.size()) return false;
  const ArtObject &then = seen[at++];
  if (then.serial != o.serial || then.children != o.children || !host::identicalOwn(then, o)) return false;
  for (host::Serial child : o.children) {
    const ArtObject *c = model.object(child);
    if (!c || !sameTree(model, *c, seen, at)) return false;
  }
  return true;
}

} // namespace

// Whether the elements written of `o` last time stand: it is as it was and
// its tiles are drawn as they were, with the same ids (which then are
// taken).
bool PlayPicture::keep(SvgPicture &picture, const DocumentModel &model, const ArtObject &o,
                       const Drawn &drawn) const {
  std::size_t at = 0;
  return sameTree(model, o, drawn.objects, at) && at == drawn.objects.size() && picture.reuse(drawn.uses);
}

PlayPicture::Drawn PlayPicture::write(SvgPicture &picture, const DocumentModel &model, const ArtObject &o,
                                      std::string &elements) const {
  Drawn drawn;
  elements = picture.topLevel(o, drawn.uses);
  copyTree(model, o, drawn.objects);
  drawn.extent = objectExtent(model, o);
  return drawn;
}

void PlayPicture::draw(const DocumentModel &model, const std::string &caption) {
  std::vector<const ArtObject *> objects;
  for (host::Serial s : model.topLevel())
    if (const ArtObject *o = model.object(s)) objects.push_back(o);
  bool sameOrder = objects.size() == drawn_.size();
  for (std::size_t i = 0; sameOrder && i < objects.size(); ++i)
    sameOrder = drawn_[i].objects.front().serial == objects[i]->serial &&
                drawn_[i].objects.front().id == objects[i]->id;

  SvgPicture picture(model, true);
  before_ = PictureParts{std::move(parts_.head),
                         std::move(parts_.frame),
                         std::move(parts_.patterns),
                         {},
                         std::move(parts_.marks)};
  replaced_.clear();
  beforeWhole_ = !sameOrder;
  std::vector<std::size_t> redrawn;
  if (sameOrder) {
    // In place: the previous drawing keeps what is replaced.
    for (std::size_t i = 0; i < objects.size(); ++i) {
      if (keep(picture, model, *objects[i], drawn_[i])) continue;
      std::string elements;
      drawn_[i] = write(picture, model, *objects[i], elements);
      if (elements == parts_.art[i].second) continue;
      redrawn.push_back(i);
      replaced_.emplace_back(i, std::exchange(parts_.art[i].second, std::move(elements)));
    }
  } else {
    redrawn = redrawnAll(objects, model, picture);
  }

  Box extents;
  for (const Drawn &drawn : drawn_)
    extents.add(drawn.extent);
  const View view = viewAround(extents);
  view_ = drawnBefore_ ? unite(view_, view) : view;
  PictureParts frame = picture.frameParts(view_, caption);
  parts_.head = std::move(frame.head);
  parts_.frame = std::move(frame.frame);
  parts_.patterns = std::move(frame.patterns);
  parts_.marks = std::move(frame.marks);

  if (!drawnBefore_) {
    drawnBefore_ = true;
    before_ = parts_;
    beforeWhole_ = true;
    replaced_.clear();
    update_ = nullptr;
    return;
  }
  update_ = sameOrder || before_.art.size() == parts_.art.size() ? updateFor(redrawn) : Json();
}

// All objects anew, those unchanged taking their elements from the previous
// drawing; which of them differ from the object at their place there.
std::vector<std::size_t> PlayPicture::redrawnAll(const std::vector<const ArtObject *> &objects,
                                                 const DocumentModel &model, SvgPicture &picture) {
  before_.art = std::move(parts_.art);
  std::unordered_map<host::Serial, std::size_t> was;
  for (std::size_t i = 0; i < drawn_.size(); ++i)
    was.emplace(drawn_[i].objects.front().serial, i);
  std::vector<Drawn> drawn;
  std::vector<std::size_t> redrawn;
  parts_.art.clear();
  for (const ArtObject *o : objects) {
    auto found = was.find(o->serial);
    if (found != was.end() && keep(picture, model, *o, drawn_[found->second])) {
      drawn.push_back(std::move(drawn_[found->second]));
      parts_.art.emplace_back(o->id, before_.art[found->second].second);
    } else {
      std::string elements;
      drawn.push_back(write(picture, model, *o, elements));
      parts_.art.emplace_back(o->id, std::move(elements));
    }
    const std::size_t i = parts_.art.size() - 1;
    if (i < before_.art.size() && before_.art[i] != parts_.art[i]) redrawn.push_back(i);
  }
  drawn_ = std::move(drawn);
  return redrawn;
}

Json PlayPicture::updateFor(const std::vector<std::size_t> &redrawn) const {
  if (before_.head != parts_.head || before_.frame != parts_.frame) return nullptr;
  if (beforeWhole_)
    for (std::size_t i = 0; i < parts_.art.size(); ++i)
      if (before_.art[i].first != parts_.art[i].first) return nullptr;
  Json art = Json::array(), patterns = Json::array();
  for (std::size_t i : redrawn)
    art.push_back(Json::array({parts_.art[i].first, parts_.art[i].second}));
  std::map<std::string, const std::string *> known;
  for (const auto &[id, pattern] : before_.patterns)
    known.emplace(id, &pattern);
  for (const auto &[id, pattern] : parts_.patterns) {
    auto found = known.find(id);
    if (found == known.end())
      patterns.push_back(Json::array({id, pattern}));
    else if (*found->second != pattern)
      return nullptr;
  }
  return Json{{"patterns", patterns}, {"art", art}, {"marks", parts_.marks}};
}

PictureParts PlayPicture::previous() const {
  PictureParts out = before_;
  if (!beforeWhole_) {
    out.art = parts_.art;
    for (const auto &[i, elements] : replaced_)
      out.art[i].second = elements;
  }
  return out;
}

} // namespace pello::cli
