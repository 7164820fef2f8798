#include "SvgDocument.h"

#include "SvgChanges.h"
#include "SvgPicture.h"

#include <algorithm>
#include <cmath>

namespace pello::cli {

using host::ArtObject;
using host::DocumentModel;

namespace {

constexpr double kMargin = 28;
constexpr double kLabelCharWidth = 5.2; // sans-serif at 9

} // namespace

Box objectExtent(const DocumentModel &model, const ArtObject &o) {
  Box box = bounds(model, o);
  if (!box.empty) box.add(box.left + kLabelCharWidth * labelText(o).size(), box.top - 14);
  return box;
}

View viewAround(const Box &box) {
  if (box.empty) return View{0, 0, 200, 100};
  return View{std::floor(box.left - kMargin), std::floor(box.top - kMargin - 14),
              std::ceil(box.right + kMargin), std::ceil(box.bottom + kMargin)};
}

View documentView(const DocumentModel &model) {
  Box box;
  for (host::Serial s : model.topLevel())
    if (const ArtObject *o = model.object(s)) box.add(objectExtent(model, *o));
  return viewAround(box);
}

View unite(const View &a, const View &b) {
  return View{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

std::string documentSvg(const DocumentModel &model, const View &view, const std::string &caption,
                        const host::ChangeList &changes) {
  SvgPicture picture(model);
  for (host::Serial s : model.topLevel())
    if (const ArtObject *o = model.object(s)) picture.art(*o, 0);
  picture.selection();
  picture.overlay(changeMarks(model, changes));
  return picture.svg(view, caption);
}

PictureParts documentParts(const DocumentModel &model, const View &view, const std::string &caption) {
  return SvgPicture(model, true).parts(view, caption);
}

} // namespace pello::cli
