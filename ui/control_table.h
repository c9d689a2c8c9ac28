// SPDX-License-Identifier: MIT
// The window's controls as one table, in tab order: name, kind, caption or
// initial text, geometry in twips, font, tooltip. Form1 builds its widgets
// from these rows in one loop, and the tests check the window against the
// same rows, so the numbers live in exactly one place.
#pragma once

#include <array>
#include <string_view>

namespace ui {

enum class Kind { Label, TextBox, ComboBox, Button };

enum class FontChoice {
  Regular12,  // "ＭＳ Ｐゴシック" 12 pt
  Bold12,     // "ＭＳ Ｐゴシック" 12 pt bold
  Bold9,      // "ＭＳ Ｐゴシック" 9 pt bold
  System,     // the platform's button font
};

inline constexpr std::string_view kFontFamily = "ＭＳ Ｐゴシック";

struct ControlRow {
  std::string_view name;   // with its index for the Text1 array: "Text1(0)"
  Kind kind;
  std::string_view text;   // caption, or initial text
  std::string_view items;  // combo box list, '|' between items
  int left, top, width, height;  // twips
  FontChoice font;
  int tab_index;
  std::string_view tooltip;
  std::string_view accessible_name;  // for boxes whose label does not say it all
};

// clang-format off
inline constexpr std::array<ControlRow, 17> kControls{{
  // name        kind             text              items           left   top  width height font                tab tooltip               accessible name
  {"Label1",   Kind::Label,    "変位：",          "",              240,  480,  735, 255, FontChoice::Regular12,  0, "",                   ""},
  {"Label2",   Kind::Label,    "時間：",          "",              240, 1440,  735, 255, FontChoice::Regular12,  1, "",                   ""},
  {"Label3",   Kind::Label,    "質量：",          "",              240,  960,  735, 255, FontChoice::Regular12,  2, "",                   ""},
  {"Label4",   Kind::Label,    "電力(仕事率)：",  "",              240, 2040, 1695, 255, FontChoice::Bold12,     3, "",                   ""},
  {"Text1(0)", Kind::TextBox,  "0",              "",              960,  360, 3135, 375, FontChoice::Regular12,  4, "移動した距離",        "変位の値"},
  {"Text1(1)", Kind::TextBox,  "0",              "",              960,  840, 3135, 375, FontChoice::Regular12,  5, "移動した物の重さ",    "質量の値"},
  {"Text1(2)", Kind::TextBox,  "0",              "",              960, 1320, 3135, 375, FontChoice::Regular12,  6, "移動に掛ける時間",    "時間の値"},
  {"Combo1",   Kind::ComboBox, "m",              "cm|m|km",      4200,  360,  975, 360, FontChoice::Regular12,  7, "",                   "変位の単位"},
  {"Combo2",   Kind::ComboBox, "kg",             "g|kg|t",       4200,  840,  975, 360, FontChoice::Regular12,  8, "",                   "質量の単位"},
  {"Combo3",   Kind::ComboBox, "秒",             "秒|分|時間",   4200, 1320,  975, 360, FontChoice::Regular12,  9, "",                   "時間の単位"},
  {"Label5",   Kind::Label,    "[W］",           "",             5400, 2040,  495, 255, FontChoice::Bold12,    10, "",                   ""},
  {"Command1", Kind::Button,   "参考",           "",             5280,  360,  615, 375, FontChoice::System,    11, "色々な距離のデータ", ""},
  {"Command2", Kind::Button,   "参考",           "",             5280,  840,  615, 375, FontChoice::System,    12, "重さのデータ",       ""},
  {"Text2",    Kind::TextBox,  "0",              "",             1920, 1920, 3375, 375, FontChoice::Bold12,    13, "",                   "電力(仕事率) [W]"},
  {"Command3", Kind::Button,   "計算",           "",             4680, 2400, 1215, 375, FontChoice::Bold9,     14, "",                   ""},
  {"Command4", Kind::Button,   "参考",           "",             5280, 1320,  615, 375, FontChoice::System,    15, "色々な時間のデータ", ""},
  {"Command5", Kind::Button,   "電力の話",       "",              240, 2400, 1215, 375, FontChoice::System,    16, "",                   ""},
}};
// clang-format on

// The row of the control with this name, or kControls.size() if none.
constexpr std::size_t RowIndex(std::string_view name) noexcept {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].name == name) return i;
  }
  return kControls.size();
}

// The boxes of the input rows, indexed by row (height, mass, time).
inline constexpr std::array<std::string_view, 3> kEntryControls{"Text1(0)", "Text1(1)", "Text1(2)"};
inline constexpr std::array<std::string_view, 3> kUnitControls{"Combo1", "Combo2", "Combo3"};

// The labels that name the boxes beside them (label, box), for screen readers.
inline constexpr std::array<std::array<std::string_view, 2>, 4> kLabelBuddies{{
    {"Label1", "Text1(0)"}, {"Label3", "Text1(1)"}, {"Label2", "Text1(2)"}, {"Label4", "Text2"}}};

// The window's colours.
struct Rgb {
  int r, g, b;
};
inline constexpr Rgb kWindowColour{1, 0, 66};      // near-black navy, where the picture does not reach
inline constexpr Rgb kLabelColour{255, 255, 255};  // label text, over the picture
inline constexpr Rgb kMarkTint{255, 214, 214};     // a box that stopped the calculation

// Client area of the window, in twips.
inline constexpr int kClientWidthTwips = 6180;
inline constexpr int kClientHeightTwips = 3045;

// Twips are 1/1440 inch; at 96 dots per inch 15 twips make one pixel. Qt's
// and the page's device-independent pixels are those 96-dpi pixels; the
// Win32 window asks for its own dpi. Rounds to the nearest pixel, halves
// away from zero, as Win32's MulDiv(twips, dpi, 1440) does.
constexpr int TwipsToPixels(int twips, int dpi = 96) noexcept {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled >= 0 ? scaled + 720 : scaled - 720) / 1440);
}
static_assert(TwipsToPixels(6180) == 412 && TwipsToPixels(3045) == 203);
static_assert(TwipsToPixels(3045, 144) == 305 && TwipsToPixels(-7) == 0 && TwipsToPixels(-8) == -1);

}  // namespace ui

namespace ui {

// The widgets are built, and chained for Tab, in table order.
constexpr bool TableIsInTabOrder() noexcept {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].tab_index != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(TableIsInTabOrder(), "kControls must list the controls in tab order");

}  // namespace ui
