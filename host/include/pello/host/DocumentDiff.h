// What changed in a document, found in its JSON form (the form the host
// loads and saves): the one differ behind the path style suite's record of
// a style write and the command line's account of each step, and the
// lookups of one art object and one of its fields.
#pragma once

#include "AIPathStyle.h"
#include "pello/host/CallValue.h"
#include "pello/host/DocumentJson.h"

#include <string>
#include <utility>
#include <vector>

namespace pello::host {

// One value that differs. Matrices, points and dash arrays count as one
// value; a member that is missing on one side is null there. Numbers
// differ when their bits do, so 0 and -0 differ.
struct Change {
  std::string art;   // the art id, "(selection)" or "(pattern NAME)"
  std::string field; // the path under it ("style.fill.color.transform"), "(object)" when added or removed
  Json before, after;
};

// Every change between two written documents (as writeDocument gives
// them), by art id in document order, then the patterns, then the selection.
ChangeList documentChanges(const Json &before, const Json &after);

// A document followed from one look to the next. Each look gives the
// changes since the last, exactly as documentChanges gives them for the two
// documents written out, but writes only the objects whose own members
// differ from what the last look saw: a step that touches a few objects of
// many costs little.
class DocumentWatch {
public:
  // Starts from `model` as it is now (null: no document, taken as empty).
  void reset(const DocumentModel *model);
  // The changes since the last look (or reset).
  ChangeList look(const DocumentModel *model);

private:
  struct Seen {
    ArtObject object;
    Json json; // as written, without children
  };
  std::vector<Seen> seen_; // depth first, as the document was
  std::vector<std::pair<Serial, std::string>> patternNames_;
  Json patterns_ = Json::array(), selection_ = Json::array();
};

// The changes between two values of `art`, with fields named from `path`
// on ("" for the values' own members).
ChangeList valueChanges(const std::string &art, const std::string &path, const Json &before,
                        const Json &after);

// The changes a style write makes to the path `art` of `model`, with
// fields named from the style on ("fill.color.transform").
ChangeList styleChanges(const DocumentModel &model, const std::string &art, const AIPathStyle &before,
                        const AIPathStyle &after);

// The art object `id` of a written document, at any depth, or null.
const Json *findArt(const Json &document, const std::string &id);

// The value at `path` under `value` ("stroke.dash.offset",
// "textPaths[1].matrix"), or null.
const Json *fieldAt(const Json &value, const std::string &path);

} // namespace pello::host
