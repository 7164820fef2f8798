#include "pello/harness/ArtDocuments.h"

namespace pello::harness {

Json matrixJson(const ASRealMatrix &m) {
  return Json::array({host::realToJson(m.a), host::realToJson(m.b), host::realToJson(m.c),
                      host::realToJson(m.d), host::realToJson(m.tx), host::realToJson(m.ty)});
}

Json patternPath(const std::string &id, const ASRealMatrix &transform) {
  return Json{
      {"id", id},
      {"type", "path"},
      {"rectangle", {0, 0, 100, 50}},
      {"style",
       {{"fillPaint", true},
        {"fill",
         {{"color", {{"kind", "pattern"}, {"pattern", "Stripes"}, {"transform", matrixJson(transform)}}}}}}}};
}

namespace {

Json dashJson(const std::vector<float> &dashes, float offset, std::optional<int> length) {
  Json array = Json::array();
  for (float d : dashes)
    array.push_back(host::realToJson(d));
  Json dash{{"array", array}, {"offset", host::realToJson(offset)}};
  if (length) dash["length"] = *length;
  return dash;
}

} // namespace

Json dashedPath(const std::string &id, const std::vector<float> &dashes, float offset,
                std::optional<int> length) {
  return Json{
      {"id", id},
      {"type", "path"},
      {"polygon", {{0, 0}, {100, 0}}},
      {"closed", false},
      {"style",
       {{"strokePaint", true}, {"stroke", {{"width", 2}, {"dash", dashJson(dashes, offset, length)}}}}}};
}

Json patternDashedPath(const std::string &id, const ASRealMatrix &transform, const std::vector<float> &dashes,
                       float offset) {
  Json path = patternPath(id, transform);
  path["style"]["strokePaint"] = true;
  path["style"]["stroke"] = Json{{"width", 1}, {"dash", dashJson(dashes, offset, std::nullopt)}};
  return path;
}

Json solidPath(const std::string &id) {
  return Json{{"id", id},
              {"type", "path"},
              {"rectangle", {0, 0, 10, 10}},
              {"style", {{"fillPaint", true}, {"fill", {{"color", {{"kind", "gray"}, {"gray", 0.5}}}}}}}};
}

Json textArt(const std::string &id, const std::vector<ASRealMatrix> &textPaths, int type) {
  Json paths = Json::array();
  for (const ASRealMatrix &m : textPaths)
    paths.push_back(Json{{"matrix", matrixJson(m)}, {"text", "line"}});
  return Json{{"id", id}, {"type", type}, {"textPaths", paths}};
}

Json placedArt(const std::string &id, const ASRealMatrix &m) {
  return Json{
      {"id", id}, {"type", "placed"}, {"matrix", matrixJson(m)}, {"size", {100, 50}}, {"file", "logo.eps"}};
}

Json rasterArt(const std::string &id, const ASRealMatrix &m) {
  return Json{{"id", id}, {"type", "raster"}, {"matrix", matrixJson(m)}, {"size", {64, 32}}};
}

Json mysteryPath(const std::string &id) {
  return Json{{"id", id}, {"type", "mysteryPath"}, {"polygon", {{0, 0}, {5, 5}, {0, 5}}}};
}

Json groupArt(const std::string &id, std::vector<Json> children) {
  return Json{{"id", id}, {"type", "group"}, {"children", Json(std::move(children))}};
}

Json documentOf(std::vector<Json> art, std::vector<std::string> selection) {
  if (selection.empty())
    for (const Json &object : art)
      selection.push_back(object["id"].get<std::string>());
  return Json{{"patterns", Json::array({Json{{"name", "Stripes"}, {"tile", {0, 0, 10, 10}}}})},
              {"art", Json(std::move(art))},
              {"selection", selection}};
}

} // namespace pello::harness
