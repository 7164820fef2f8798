#include "SvgPalette.h"

#include "SvgText.h"
#include "pello/host/ResourceTemplates.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace pello::cli {

using host::ItemInfo;
using host::ItemKind;
using svg::num;

namespace {

constexpr int kMargin = 10;
constexpr int kTitleBar = 10; // the floating window's drag bar
constexpr int kTabRow = 18;   // the row with the palette's tab and option-menu button
constexpr int kMenuWidth = 200;
constexpr int kMenuEntry = 20;
constexpr double kScale = 2.0;
constexpr const char *kFace = "#d4d0c8";
constexpr const char *kFont = "font-family=\"sans-serif\" font-size=\"11\"";

std::string rect(double x, double y, double w, double h, const std::string &attributes) {
  return "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(w) + "\" height=\"" + num(h) +
         "\" " + attributes + "/>\n";
}

std::string line(double x1, double y1, double x2, double y2, const char *color) {
  return "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) +
         "\" stroke=\"" + color + "\" stroke-width=\"1\"/>\n";
}

std::string text(double x, double y, const std::string &content, const std::string &extra = {}) {
  return "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" " + kFont + " fill=\"#000000\"" + extra + ">" +
         svg::escape(content) + "</text>\n";
}

std::string colorText(std::uint32_t rgb) {
  char out[8];
  std::snprintf(out, sizeof out, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
  return out;
}

// A bitmap resource drawn pixel by pixel at (x, y): one rectangle per run of
// equal colour in a row.
std::string bitmap(const host::PluginModule &module, int id, int x, int y, std::string &error) {
  const std::vector<std::uint8_t> *bytes = module.resource(host::ResourceType::id(host::kRtBitmap), id);
  if (!bytes) {
    error = "no bitmap " + std::to_string(id);
    return {};
  }
  host::Bitmap bmp;
  if (!host::parseBitmap(*bytes, bmp, error)) return {};
  std::string out = "<g class=\"bitmap-" + std::to_string(id) + "\" shape-rendering=\"crispEdges\">\n";
  for (int row = 0; row < bmp.height; ++row) {
    int start = 0;
    for (int col = 1; col <= bmp.width; ++col) {
      if (col < bmp.width && bmp.colorAt(col, row) == bmp.colorAt(start, row)) continue;
      out += "  " +
             rect(x + start, y + row, col - start, 1, "fill=\"" + colorText(bmp.colorAt(start, row)) + "\"");
      start = col;
    }
  }
  return out + "</g>\n";
}

std::string bevel(double x, double y, double w, double h) {
  return rect(x, y, w, h, std::string("fill=\"") + kFace + "\" stroke=\"#404040\" stroke-width=\"1\"") +
         line(x + 1, y + 1, x + w - 1, y + 1, "#ffffff") + line(x + 1, y + 1, x + 1, y + h - 1, "#ffffff") +
         line(x + 1, y + h - 1, x + w - 1, y + h - 1, "#808080") +
         line(x + w - 1, y + 1, x + w - 1, y + h - 1, "#808080");
}

std::string item(const ItemInfo &it, const host::PluginModule &module, int ox, int oy) {
  const double x = ox + it.bounds.left + 0.5, y = oy + it.bounds.top + 0.5;
  const double w = it.bounds.right - it.bounds.left, h = it.bounds.bottom - it.bounds.top;
  std::string out =
      "<!-- item " + std::to_string(static_cast<std::int16_t>(it.id)) + ": " + it.className + " -->\n";
  switch (it.kind) {
  case ItemKind::PicturePushButton: {
    out += bevel(x, y, w, h);
    if (it.pictureId != 0) {
      std::string error;
      // 15 x 15 icons centred in the button.
      const std::vector<std::uint8_t> *bytes =
          module.resource(host::ResourceType::id(host::kRtBitmap), it.pictureId);
      host::Bitmap probe;
      if (bytes && host::parseBitmap(*bytes, probe, error)) {
        int bx = ox + it.bounds.left + (static_cast<int>(w) - probe.width) / 2;
        int by = oy + it.bounds.top + (static_cast<int>(h) - probe.height) / 2;
        out += bitmap(module, it.pictureId, bx, by, error);
      }
      if (!error.empty()) out += text(x + 2, y + h - 4, "?");
    }
    break;
  }
  case ItemKind::PushButton:
  case ItemKind::CheckBox:
  case ItemKind::RadioButton:
    out += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(w) + "\" height=\"" + num(h) +
           "\" rx=\"3\" fill=\"#e6e6e6\" stroke=\"#707070\" stroke-width=\"1\"/>\n";
    out += text(x + w / 2, y + h / 2 + 4, it.text, " text-anchor=\"middle\"");
    break;
  case ItemKind::TextStatic:
    out += text(x + 1, y + 11, it.text);
    break;
  case ItemKind::Frame: {
    const std::uint32_t kind = it.windowStyle & 0x1F;
    if (kind == 0x10) {
      out += line(x, y, x + w, y, "#808080") + line(x, y + 1, x + w, y + 1, "#ffffff");
    } else if (kind == 0x11) {
      out += line(x, y, x, y + h, "#808080") + line(x + 1, y, x + 1, y + h, "#ffffff");
    } else {
      out += rect(x, y, w, h, "fill=\"none\" stroke=\"#808080\" stroke-width=\"1\"");
    }
    break;
  }
  case ItemKind::OptionMenuButton:
    break; // drawn in the tab row
  default:
    out += rect(x, y, w, h, "fill=\"#ffffff\" stroke=\"#808080\" stroke-width=\"1\"") +
           text(x + 2, y + 11, it.text);
    break;
  }
  return out;
}

host::DialogTemplate dialogTemplate(const host::DialogInfo &dialog, const host::PluginModule &module) {
  const std::vector<std::uint8_t> *bytes =
      module.resource(host::ResourceType::id(host::kRtDialog), dialog.resourceId);
  if (!bytes)
    throw std::runtime_error("the plug-in has no dialog resource " + std::to_string(dialog.resourceId));
  host::DialogTemplate tmpl;
  std::string error;
  if (!host::parseDialogTemplate(*bytes, tmpl, error))
    throw std::runtime_error("dialog " + std::to_string(dialog.resourceId) + ": " + error);
  return tmpl;
}

} // namespace

std::vector<PaletteTarget> paletteTargets(const host::DialogInfo &dialog, const host::PluginModule &module) {
  const host::DialogTemplate tmpl = dialogTemplate(dialog, module);
  const int width = host::DialogManager::dialogUnitsToPixelsX(tmpl.cx);
  const int contentTop = kMargin + kTitleBar + kTabRow;
  std::vector<PaletteTarget> targets;
  for (const ItemInfo &it : dialog.items) {
    if (!it.visible || !it.enabled) continue;
    const double itemWidth = it.bounds.right - it.bounds.left;
    if (it.kind != ItemKind::OptionMenuButton) {
      targets.push_back({it.id, -1, double(kMargin + it.bounds.left), double(contentTop + it.bounds.top),
                         itemWidth, double(it.bounds.bottom - it.bounds.top)});
      continue;
    }
    // The button sits in the tab row; its menu is drawn open beside the palette.
    targets.push_back({it.id, -1, double(kMargin + it.bounds.left), double(kMargin + kTitleBar + 2),
                       itemWidth, double(kTabRow - 4)});
    for (const host::EntryInfo &entry : it.entries)
      targets.push_back({it.id, entry.index, double(kMargin + width + 14),
                         double(kMargin + kTitleBar + 2 + kMenuEntry * entry.index), double(kMenuWidth),
                         double(kMenuEntry)});
  }
  return targets;
}

std::string paletteSvg(const host::DialogInfo &dialog, const host::PluginModule &module) {
  const host::DialogTemplate tmpl = dialogTemplate(dialog, module);

  const int width = host::DialogManager::dialogUnitsToPixelsX(tmpl.cx);
  const int height = host::DialogManager::dialogUnitsToPixelsY(tmpl.cy);
  const int left = kMargin, top = kMargin;
  const int contentTop = top + kTitleBar + kTabRow;

  const ItemInfo *menuButton = nullptr;
  for (const ItemInfo &it : dialog.items)
    if (it.kind == ItemKind::OptionMenuButton) menuButton = &it;
  const int menuHeight = menuButton ? kMenuEntry * static_cast<int>(menuButton->entries.size()) + 4 : 0;

  const int menuLeft = left + width + 14;
  const int totalWidth = (menuButton ? menuLeft + kMenuWidth : left + width) + kMargin;
  const int totalHeight = std::max(contentTop + height, contentTop + menuHeight) + 34;

  std::string out = svg::header(0, 0, totalWidth, totalHeight, kScale);
  out += "<title>" +
         svg::escape("Palette \"" + tmpl.title + "\" (dialog " + std::to_string(dialog.resourceId) + ")") +
         "</title>\n";
  out += rect(0, 0, totalWidth, totalHeight, "fill=\"#ffffff\"");

  // The floating window: drag bar, tab row with the tab, the content.
  out += rect(left, top, width, kTitleBar + kTabRow + height, "fill=\"#5a5a5a\"");
  out += rect(left, top + kTitleBar, width, kTabRow, "fill=\"#a0a0a0\"");
  const double tabWidth = 16 + 7 * static_cast<double>(tmpl.title.size());
  out += rect(left + 2, top + kTitleBar + 2, tabWidth, kTabRow - 2, std::string("fill=\"") + kFace + "\"");
  out += text(left + 10, top + kTitleBar + 14, tmpl.title, " font-weight=\"bold\"");
  out += rect(left, contentTop, width, height, std::string("fill=\"") + kFace + "\"");

  for (const ItemInfo &it : dialog.items)
    if (it.visible) out += item(it, module, left, contentTop);

  if (menuButton) {
    // The option-menu button at its horizontal place, in the tab row; its
    // menu open beside the palette.
    const double bx = left + menuButton->bounds.left, by = top + kTitleBar + 2;
    const double bw = menuButton->bounds.right - menuButton->bounds.left;
    out += "<!-- option-menu button, menu " + std::to_string(static_cast<std::int16_t>(menuButton->id)) +
           " -->\n";
    out += "<path d=\"M" + num(bx + 3) + " " + num(by + 4) + " L" + num(bx + 9) + " " + num(by + 4) + " L" +
           num(bx + 6) + " " + num(by + 8) + " Z\" fill=\"#000000\"/>\n";
    for (int i = 0; i < 3; ++i)
      out += line(bx + 10, by + 3.5 + 2 * i, bx + bw - 1, by + 3.5 + 2 * i, "#000000");
    const double mx = menuLeft, my = top + kTitleBar;
    out += "<path d=\"M" + num(bx + bw + 1) + " " + num(by + 6) + " L" + num(mx - 1) + " " + num(my + 10) +
           "\" stroke=\"#808080\" stroke-width=\"0.75\" stroke-dasharray=\"2 2\" fill=\"none\"/>\n";
    out += "<text x=\"" + num(mx) + "\" y=\"" + num(my - 3) +
           "\" font-family=\"sans-serif\" font-size=\"8\" fill=\"#707070\">option menu</text>\n";
    out += rect(mx + 2, my + 2, kMenuWidth, menuHeight, "fill=\"#000000\" fill-opacity=\"0.25\"");
    out += rect(mx, my, kMenuWidth, menuHeight, "fill=\"#ffffff\" stroke=\"#606060\" stroke-width=\"1\"");
    for (const host::EntryInfo &entry : menuButton->entries) {
      const double ey = my + 2 + kMenuEntry * entry.index;
      if (entry.index == menuButton->activeEntry)
        out += rect(mx + 1, ey, kMenuWidth - 2, kMenuEntry, "fill=\"#cfe0f7\"");
      out += text(mx + 12, ey + 14, entry.text);
    }
  }

  const auto number = [](long value) { return std::to_string(value); };
  const std::string caption =
      "dialog " + number(dialog.resourceId) + " \"" + tmpl.title + "\": " + number(tmpl.cx) + " x " +
      number(tmpl.cy) + " dialog units = " + number(width) + " x " + number(height) + " px; host bounds (" +
      number(dialog.bounds.left) + ", " + number(dialog.bounds.top) + ", " + number(dialog.bounds.right) +
      ", " + number(dialog.bounds.bottom) + ")" + (dialog.group.empty() ? "" : ", docked in " + dialog.group);
  out += "<text x=\"" + num(left) + "\" y=\"" + num(totalHeight - 12) +
         "\" font-family=\"sans-serif\" font-size=\"8\" fill=\"#707070\">" + svg::escape(caption) +
         "</text>\n";
  return out + "</svg>\n";
}

} // namespace pello::cli
