// The document's picture as pello-host play shows it, kept from one step to
// the next. A drawing writes again only the top-level objects that differ,
// in their own members or in their children's, from what was written of
// them last time; the others keep their elements (and the page keeps what
// it has of them), so a step that changes a few objects of many costs
// little. The parts are those documentParts gives, in a view that grows to
// hold all that was drawn since the first drawing.
#pragma once

#include "SvgDocument.h"
#include "SvgPicture.h"
#include "pello/host/DocumentJson.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace pello::cli {

class PlayPicture {
public:
  void draw(const host::DocumentModel &model, const std::string &caption);
  const PictureParts &parts() const { return parts_; }
  // The picture before the last drawing (after the first drawing, that
  // one).
  PictureParts previous() const;
  // What the page replaces in the previous drawing to get this one: the
  // tiles it lacks, the objects drawn otherwise and the marks; null after
  // the first drawing and when the frame, the objects' ids or order, or a
  // tile's drawing changed.
  const host::Json &update() const { return update_; }

private:
  // What was written of a top-level object, to tell whether it changed.
  struct Drawn {
    std::vector<host::ArtObject> objects; // it and its descendants, depth first
    SvgPicture::Uses uses;
    Box extent;
  };
  bool keep(SvgPicture &picture, const host::DocumentModel &model, const host::ArtObject &o,
            const Drawn &drawn) const;
  Drawn write(SvgPicture &picture, const host::DocumentModel &model, const host::ArtObject &o,
              std::string &elements) const;
  std::vector<std::size_t> redrawnAll(const std::vector<const host::ArtObject *> &objects,
                                      const host::DocumentModel &model, SvgPicture &picture);
  host::Json updateFor(const std::vector<std::size_t> &redrawn) const;

  PictureParts parts_;
  std::vector<Drawn> drawn_; // as parts_.art
  View view_;
  bool drawnBefore_ = false;
  // The previous drawing: its parts but the objects, with those objects
  // the last drawing wrote otherwise; all of them when `beforeWhole_`.
  PictureParts before_;
  std::vector<std::pair<std::size_t, std::string>> replaced_;
  bool beforeWhole_ = false;
  host::Json update_;
};

} // namespace pello::cli
