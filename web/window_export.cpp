// SPDX-License-Identifier: MIT
// Prints the window's description as JSON for the web page: the control
// table (positions in CSS pixels), the titles, colours, fonts and the
// reference messages. Run at build time, so the page carries the same rows
// and texts as the desktop window, never a copy kept by hand.
#include <cstdio>
#include <string>
#include <string_view>

#include "calc/units.h"
#include "ui/control_table.h"
#include "ui/texts.h"

namespace {

std::string Json(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string Colour(ui::Rgb c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "\"#%02x%02x%02x\"", c.r, c.g, c.b);
  return buf;
}

std::string_view KindName(ui::Kind kind) {
  switch (kind) {
    case ui::Kind::Label: return "label";
    case ui::Kind::TextBox: return "textbox";
    case ui::Kind::ComboBox: return "combobox";
    case ui::Kind::Button: break;
  }
  return "button";
}

std::string Font(ui::FontChoice f) {
  switch (f) {
    case ui::FontChoice::Regular12: return R"({"pt":12,"bold":false})";
    case ui::FontChoice::Bold12: return R"({"pt":12,"bold":true})";
    case ui::FontChoice::Bold9: return R"({"pt":9,"bold":true})";
    case ui::FontChoice::System: break;
  }
  return R"({"pt":9,"bold":false,"system":true})";
}

std::string Items(std::string_view items) {
  std::string out = "[";
  while (!items.empty()) {
    const std::size_t bar = items.find('|');
    if (out.size() > 1) out += ',';
    out += Json(items.substr(0, bar));
    items = bar == std::string_view::npos ? std::string_view{} : items.substr(bar + 1);
  }
  return out + "]";
}

}  // namespace

int main() {
  using ui::TwipsToPixels;
  std::string out = "{";
  out += "\"title\":" + Json(ui::kWindowTitle);
  out += ",\"applicationTitle\":" + Json(ui::kApplicationTitle);
  out += ",\"width\":" + std::to_string(TwipsToPixels(ui::kClientWidthTwips));
  out += ",\"height\":" + std::to_string(TwipsToPixels(ui::kClientHeightTwips));
  out += ",\"fontFamily\":" + Json(ui::kFontFamily);
  out += ",\"colours\":{\"window\":" + Colour(ui::kWindowColour) + ",\"label\":" + Colour(ui::kLabelColour) +
         ",\"mark\":" + Colour(ui::kMarkTint) + "}";
  out += ",\"references\":{";
  for (calc::Row row : calc::kRows) {
    if (row != calc::Row::Height) out += ',';
    out += Json(ui::ReferenceButton(row)) + ":" + Json(ui::ReferenceMessage(row));
  }
  out += "},\"controls\":[";
  for (const ui::ControlRow& c : ui::kControls) {
    if (&c != &ui::kControls.front()) out += ",\n";
    out += "{\"name\":" + Json(c.name) + ",\"kind\":\"" + std::string(KindName(c.kind)) + "\"";
    out += ",\"text\":" + Json(c.text) + ",\"items\":" + Items(c.items);
    out += ",\"left\":" + std::to_string(TwipsToPixels(c.left)) + ",\"top\":" + std::to_string(TwipsToPixels(c.top));
    out += ",\"width\":" + std::to_string(TwipsToPixels(c.width));
    out += ",\"height\":" + std::to_string(TwipsToPixels(c.height));
    out += ",\"font\":" + Font(c.font) + ",\"tabIndex\":" + std::to_string(c.tab_index);
    out += ",\"tooltip\":" + Json(c.tooltip) + ",\"accessibleName\":" + Json(c.accessible_name) + "}";
  }
  out += "],\"buddies\":{";
  for (const auto& [label, box] : ui::kLabelBuddies) {
    if (label != ui::kLabelBuddies.front()[0]) out += ',';
    out += Json(label) + ":" + Json(box);
  }
  out += "},\"entries\":[";
  for (calc::Row row : calc::kRows) {
    if (row != calc::Row::Height) out += ',';
    out += Json(ui::kEntryControls[calc::Index(row)]);
  }
  out += "],\"units\":[";
  for (calc::Row row : calc::kRows) {
    if (row != calc::Row::Height) out += ',';
    out += Json(ui::kUnitControls[calc::Index(row)]);
  }
  out += "]}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
