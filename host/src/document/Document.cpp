#include "pello/host/Document.h"

#include "pello/host/DocumentJson.h"

#include <fstream>
#include <sstream>

namespace pello::host {

Document::Document(Host &) {}

DocumentModel &Document::create(Units units) {
  DocumentModel model;
  model.units = units;
  return open(std::move(model));
}

DocumentModel &Document::open(DocumentModel model) {
  model_ = std::make_unique<DocumentModel>(std::move(model));
  return *model_;
}

DocumentModel &Document::loadJson(std::string_view text) {
  // Read into a model of its own; the current document changes only once
  // the whole text has been accepted.
  return open(parseDocument(text));
}

DocumentModel &Document::loadFile(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the document " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return loadJson(text.str());
  } catch (const DocumentFormatError &e) {
    throw DocumentFormatError(path.string() + ": " + e.what());
  }
}

std::string Document::saveJson() const {
  return formatDocument(model());
}

void Document::saveFile(const std::filesystem::path &path) const {
  const std::string text = saveJson();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw std::runtime_error("cannot write the document " + path.string());
}

DocumentModel &Document::model() {
  if (!model_) throw std::logic_error("the host has no document open");
  return *model_;
}

const DocumentModel &Document::model() const {
  return const_cast<Document *>(this)->model();
}

AIArtHandle Document::handle(std::string_view id) const {
  return artHandle(model().at(id).serial);
}

AIArtHandle Document::textPathHandle(std::string_view textId, std::size_t index) const {
  return artHandle(model().at(textId).textPaths.at(index).serial);
}

AIPatternHandle Document::patternHandleOf(std::string_view name) const {
  const Pattern *p = model().findPattern(name);
  if (!p) throw std::out_of_range("no pattern \"" + std::string(name) + "\"");
  return patternHandle(p->serial);
}

const AIPathStyle &Document::style(std::string_view id) const {
  return model().at(id).style;
}

const ASRealMatrix &Document::matrix(std::string_view id) const {
  return model().at(id).matrix;
}

const ASRealMatrix &Document::textPathMatrix(std::string_view textId, std::size_t index) const {
  return model().at(textId).textPaths.at(index).matrix;
}

ArtObject *Document::resolve(AIArtHandle handle) {
  return model_ && handle ? model_->object(serialOf(handle)) : nullptr;
}

DocumentModel::TextPathRef Document::resolveTextPath(AIArtHandle handle) {
  return model_ && handle ? model_->textPath(serialOf(handle)) : DocumentModel::TextPathRef{};
}

Pattern *Document::resolve(AIPatternHandle handle) {
  return model_ && handle ? model_->pattern(serialOf(handle)) : nullptr;
}

std::string Document::describe(AIArtHandle handle) {
  if (!handle) return "null";
  if (const ArtObject *o = resolve(handle)) return o->id;
  DocumentModel::TextPathRef ref = resolveTextPath(handle);
  if (ref.path) return ref.owner->id + "/" + std::to_string(ref.index);
  std::ostringstream out;
  out << "unknown " << static_cast<const void *>(handle);
  return out.str();
}

} // namespace pello::host
