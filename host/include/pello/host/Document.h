// The current document of the stand-in host: its art tree, the path styles,
// text paths and matrices that the art suites read and write, the selection
// in its list order, and the patterns it defines.
//
// Handles. An AIArtHandle or AIPatternHandle the host hands out carries an
// object's serial number, never an address: serials are unique in the process
// and never reused, so the handle of a removed object, or of an object of a
// document that has since been closed or replaced, is simply not found and
// the suites refuse it with kSPBadParameterError. Text paths are reached
// through AIArtHandles of their own, in the same serial space.
//
// Matrices. An ASRealMatrix maps a point (x, y) to (a x + c y + tx,
// b x + d y + ty). A placed or raster object's matrix maps the object's own
// space (its content spans (0, 0) to `size`) into the document; a text path's
// matrix places its text; a fill pattern's `transform` places the pattern's
// tile. Composing, the host always post-concatenates: "M concatenated with T"
// is the mapping "first M, then T". In particular AI Real Math's
// AIRealMatrixConcatTranslate(M, h, v) gives M followed by a translation by
// (h, v): only tx and ty change, tx += h and ty += v, whatever the linear
// part; and AI Transform Art's TransformArt applies its matrix after each
// matrix it reaches.
//
// Documents load from and save to JSON (see DocumentJson.h for the schema).
// A document that fails to load leaves the current one exactly as it was.
#pragma once

#include "AIArt.h"
#include "AIPath.h"
#include "AIPathStyle.h"
#include "AIPattern.h"
#include "pello/host/Host.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pello::host {

// An object's serial number: unique in the process, never reused.
using Serial = std::uint64_t;

// A refused document (malformed JSON, unknown member, wrong value): `what()`
// says where, as a path into the document such as
// "art[3].style.stroke.dash.array".
class DocumentFormatError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class Units { points, picas, inches, millimeters, centimeters, pixels };

const char *unitsName(Units units);

// The identity matrix (1, 0, 0, 1, 0, 0).
inline constexpr ASRealMatrix kIdentityMatrix{1, 0, 0, 1, 0, 0};

// The default style of a new path: nothing painted, black fill and stroke of
// width 1, solid, butt caps, miter joins, miter limit 4, resolution 800.
AIPathStyle defaultPathStyle();
// A pattern colour for `pattern` with the given transform and the other
// pattern members untransformed (no shift, scale 100 %, no rotation...).
AIColor patternColor(AIPatternHandle pattern, const ASRealMatrix &transform = kIdentityMatrix);
AIColor grayColor(ASReal gray);

// The outline of a path: anchors with their control points.
struct PathGeometry {
  std::vector<AIPathSegment> segments;
  bool closed = false;

  // A closed rectangle, corners clockwise from (left, top).
  static PathGeometry rectangle(ASReal left, ASReal top, ASReal right, ASReal bottom);
  // A polygon through `points`, straight sides, closed or open.
  static PathGeometry polygon(const std::vector<ASRealPoint> &points, bool closed = true);
};

// One line of text of a text object, placed by its own matrix.
struct TextPath {
  Serial serial = 0;
  ASRealMatrix matrix = kIdentityMatrix;
  std::string text;
};

struct RealRect {
  ASReal left = 0, top = 0, right = 0, bottom = 0;
};

// A shape of a pattern's tile, in tile coordinates, with an "#rrggbb" colour.
struct PatternShape {
  enum class Kind { rectangle, ellipse, polygon };
  Kind kind = Kind::rectangle;
  RealRect bounds;                 // rectangle, ellipse
  std::vector<ASRealPoint> points; // polygon
  std::string color = "#000000";
};

// A pattern the document defines: its name and the tile repeated across the
// filled area.
struct Pattern {
  Serial serial = 0;
  std::string name;
  RealRect tile;
  std::vector<PatternShape> shapes;
};

// One art object. Which members mean something depends on `type`:
//   path (2), mystery path (8): style, geometry;
//   group (1), compound path (3): children;
//   text (4, 5): textPaths;
//   placed (7): matrix, size, file;  raster (9): matrix, size (pixels);
//   any other code: only id and name.
struct ArtObject {
  Serial serial = 0;
  std::string id;   // the document's own unique name for the object
  std::string name; // what the user named it; may be empty
  ai_int16 type = kPathArt;
  Serial parent = 0; // 0 at the top level
  std::vector<Serial> children;
  AIPathStyle style = defaultPathStyle();
  PathGeometry geometry;
  std::vector<TextPath> textPaths;
  ASRealMatrix matrix = kIdentityMatrix;
  ASRealPoint size{0, 0};
  std::string file;
  bool selected = false;

  bool hasStyle() const { return type == kPathArt || type == kMysteryPathArt; }
  bool hasChildren() const { return type == kGroupArt || type == kCompoundPathArt; }
  bool hasTextPaths() const { return type == kTextArt || type == kTextPathArt; }
  bool hasMatrix() const { return type == kPlacedArt || type == kRasterArt; }
};

// The contents of one document. Objects are kept by serial; the art tree is
// `topLevel` and each container's `children`; the selection is its own list,
// in the order in which objects were selected.
class DocumentModel {
public:
  DocumentModel() = default;
  DocumentModel(const DocumentModel &) = delete;
  DocumentModel &operator=(const DocumentModel &) = delete;
  DocumentModel(DocumentModel &&) = default;
  DocumentModel &operator=(DocumentModel &&) = default;

  Units units = Units::points;
  bool modified = false;

  // Adds `object` (its serial, parent, children and selection are assigned
  // here) as the last child of the container `parentId`, or at the top level
  // when parentId is empty. The id must be new and not empty; the parent
  // must be a group or compound path. Throws std::invalid_argument otherwise.
  ArtObject &add(ArtObject object, std::string_view parentId = {});
  // Adds a text path to a text object and returns it.
  TextPath &addTextPath(std::string_view textId, const ASRealMatrix &matrix, std::string text = {});
  // Removes an object, its children and text paths, and drops them from the
  // selection; their handles are refused from then on. Throws
  // std::invalid_argument for an unknown id.
  void remove(std::string_view id);

  Pattern &addPattern(std::string name, RealRect tile = {0, 0, 10, 10},
                      std::vector<PatternShape> shapes = {});
  const std::vector<Pattern> &patterns() const { return patterns_; }
  Pattern *findPattern(std::string_view name);
  const Pattern *findPattern(std::string_view name) const;
  Pattern *pattern(Serial serial);
  const Pattern *pattern(Serial serial) const;

  // Replaces the selection with `ids`, in that order (duplicates ignored).
  void select(const std::vector<std::string> &ids);
  // Appends one object to the selection (nothing if already selected).
  void addToSelection(std::string_view id);
  void deselectAll();
  const std::vector<Serial> &selection() const { return selection_; }

  const std::vector<Serial> &topLevel() const { return topLevel_; }
  std::size_t objectCount() const { return objects_.size(); }

  ArtObject *find(std::string_view id);
  const ArtObject *find(std::string_view id) const;
  // Throws std::out_of_range for an unknown id.
  ArtObject &at(std::string_view id);
  const ArtObject &at(std::string_view id) const;
  ArtObject *object(Serial serial);
  const ArtObject *object(Serial serial) const;

  // A text path by its serial, with the text object holding it.
  struct TextPathRef {
    ArtObject *owner = nullptr;
    TextPath *path = nullptr;
    std::size_t index = 0;
  };
  TextPathRef textPath(Serial serial);

  // Calls fn(object, depth) for every object, depth first in document order.
  template <class Fn> void forEach(Fn fn) const {
    for (Serial s : topLevel_)
      visit(s, 0, fn);
  }

private:
  template <class Fn> void visit(Serial s, int depth, Fn &fn) const {
    const ArtObject &o = objects_.at(s);
    fn(o, depth);
    for (Serial c : o.children)
      visit(c, depth + 1, fn);
  }
  void forget(Serial serial);

  std::unordered_map<Serial, ArtObject> objects_;
  std::unordered_map<std::string, Serial> byId_;
  std::unordered_map<Serial, Serial> textPathOwner_;
  std::vector<Serial> topLevel_;
  std::vector<Serial> selection_;
  std::vector<Pattern> patterns_;
};

// Serials for new objects, text paths and patterns.
Serial newSerial();

// Handles the host hands out for serials, and back.
inline AIArtHandle artHandle(Serial serial) {
  return reinterpret_cast<AIArtHandle>(static_cast<std::uintptr_t>(serial));
}
inline Serial serialOf(AIArtHandle handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}
inline AIPatternHandle patternHandle(Serial serial) {
  return reinterpret_cast<AIPatternHandle>(static_cast<std::uintptr_t>(serial));
}
inline Serial serialOf(AIPatternHandle handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

// The host's current document: none, or one DocumentModel.
class Document : public Component {
public:
  explicit Document(Host &host);

  bool isOpen() const { return model_ != nullptr; }
  // A new, empty document replaces the current one.
  DocumentModel &create(Units units = Units::points);
  // Replaces the current document with `model`.
  DocumentModel &open(DocumentModel model);
  void close() { model_.reset(); }

  // Loads JSON text or a file; on failure throws DocumentFormatError (or
  // std::runtime_error for an unreadable file) and keeps the current
  // document as it was.
  DocumentModel &loadJson(std::string_view text);
  DocumentModel &loadFile(const std::filesystem::path &path);
  // The current document as JSON; throws std::logic_error without one.
  std::string saveJson() const;
  void saveFile(const std::filesystem::path &path) const;

  // The current document; throws std::logic_error without one.
  DocumentModel &model();
  const DocumentModel &model() const;
  // The current document or null.
  DocumentModel *current() { return model_.get(); }

  // Shorthands for tests and tools (throw without a document or object).
  AIArtHandle handle(std::string_view id) const;
  AIArtHandle textPathHandle(std::string_view textId, std::size_t index) const;
  AIPatternHandle patternHandleOf(std::string_view name) const;
  const AIPathStyle &style(std::string_view id) const;
  const ASRealMatrix &matrix(std::string_view id) const;
  const ASRealMatrix &textPathMatrix(std::string_view textId, std::size_t index) const;

  // The object, text path or pattern behind a handle, or null when the
  // handle is not one of the current document's.
  ArtObject *resolve(AIArtHandle handle);
  DocumentModel::TextPathRef resolveTextPath(AIArtHandle handle);
  Pattern *resolve(AIPatternHandle handle);
  // The id of the object or text path behind a handle ("t1/2" for text path
  // 2 of t1), or the handle's value: for the call log.
  std::string describe(AIArtHandle handle);

private:
  std::unique_ptr<DocumentModel> model_;
};

// Whether two styles, matrices or models are the same, bit for bit in
// every float (used to check that a save and load gives the document back).
bool identical(const ASRealMatrix &x, const ASRealMatrix &y);
bool identical(const AIPathStyle &x, const AIPathStyle &y);
bool identical(const DocumentModel &x, const DocumentModel &y);
// Whether two objects are the same in all their own members, bit for bit,
// leaving out their children, parent and selection (pattern handles are
// compared as handles).
bool identicalOwn(const ArtObject &x, const ArtObject &y);

} // namespace pello::host
