// SPDX-License-Identifier: MIT
// The window's fonts at one dpi: the table's "ＭＳ Ｐゴシック" sizes with the
// Japanese character set, and the system's message font for the buttons
// whose font is the platform's, unless it lacks a glyph of the caption.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/control_table.h"

namespace win32 {

// Whether `font` has a glyph for every character of `text`.
bool FontDrawsText(HFONT font, std::wstring_view text);

class FontSet {
 public:
  explicit FontSet(int dpi);
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  // The font for a row: its table font, or for FontChoice::System the
  // message font where it draws `caption`, else the window's face at the
  // message font's size.
  [[nodiscard]] HFONT For(ui::FontChoice choice, std::wstring_view caption) const;

 private:
  HFONT regular12_, bold12_, bold9_, message_, message_fallback_;
};

}  // namespace win32
