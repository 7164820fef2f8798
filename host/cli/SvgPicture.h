// The writer behind the document pictures (SvgDocument.h): the objects one
// by one, the <pattern> tiles they use, the selection's marks and the frame
// around them, written as one SVG or as parts.
#pragma once

#include "SvgDocument.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace pello::cli {

class SvgPicture {
public:
  // With `stableIds`, a tile's id comes from the pattern and its placement
  // rather than from the order of first use.
  explicit SvgPicture(const host::DocumentModel &model, bool stableIds = false)
      : model_(model), stableIds_(stableIds) {}

  // Writes an object and, at depth 0, its label.
  void art(const host::ArtObject &o, int depth);
  void selection();
  void overlay(const std::string &elements) { marks_ += elements; }

  std::string svg(const View &view, const std::string &caption) const;
  PictureParts parts(const View &view, const std::string &caption);

  // For a picture kept from one drawing to the next (stable ids): what
  // writing a top-level object did besides its elements, to be done again
  // when its elements are taken as they were written.
  struct TileUse {
    AIPatternStyle style;
    std::string placed; // the pattern and placement, as tiles are named; empty without a tile
    std::string paint;  // what it gave: "url(#ID)" or a colour
  };
  struct Uses {
    std::vector<TileUse> tiles;     // in the order asked for
    std::vector<std::string> notes; // lines under the caption
  };
  // The elements of the top-level object `o`, and what writing them used.
  std::string topLevel(const host::ArtObject &o, Uses &uses);
  // Takes the tiles and notes of elements written before; false when a
  // tile gets another id than it got then (the elements must be written
  // again).
  bool reuse(const Uses &uses);
  // The parts but the objects, after all objects are written or reused.
  PictureParts frameParts(const View &view, const std::string &caption);

private:
  std::pair<std::string, std::string> frame(View view, const std::string &caption) const;
  std::string color(const AIColor &c, const std::string &owner);
  std::string pattern(const AIPatternStyle &style, const std::string &owner);
  std::string tile(const AIPatternStyle &style, const std::string &owner, std::string &placed);
  std::string stableId(const std::string &placed);
  std::string paintAttributes(const host::ArtObject &o);
  void path(const host::ArtObject &o, const std::string &d);
  void compound(const host::ArtObject &o);
  void text(const host::ArtObject &o);
  void placed(const host::ArtObject &o);
  void raster(const host::ArtObject &o);
  void label(const host::ArtObject &o);
  void notDrawn(const host::ArtObject &o, const std::string &field);

  const host::DocumentModel &model_;
  std::vector<std::string> notDrawn_;
  std::string defs_, body_, marks_;
  int patterns_ = 0;
  std::map<std::string, std::string> patternIds_; // by pattern and placement
  bool stableIds_;
  std::set<std::string> stableIdsUsed_;
  std::vector<std::pair<std::string, std::string>> patternParts_; // each <pattern>, by id
  Uses *uses_ = nullptr; // what the top-level object being written uses
};

} // namespace pello::cli
