// SPDX-License-Identifier: MIT
#include "windows/fonts.h"

#include <string>
#include <vector>

#include "windows/dpi.h"
#include "windows/wide.h"

namespace win32 {

namespace {

LOGFONTW WindowFace(LONG height, LONG weight) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = Widen(ui::kFontFamily);
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return lf;
}

HFONT WindowFont(int points, bool bold, int dpi) {
  const LOGFONTW lf = WindowFace(-MulDiv(points, dpi, 72), bold ? FW_BOLD : FW_NORMAL);
  return CreateFontIndirectW(&lf);
}

}  // namespace

bool FontDrawsText(HFONT font, std::wstring_view text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  std::vector<WORD> glyphs(text.size());
  const DWORD got = GetGlyphIndicesW(dc, text.data(), static_cast<int>(text.size()), glyphs.data(),
                                     GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (got == GDI_ERROR) return false;
  for (WORD g : glyphs) {
    if (g == 0xFFFF) return false;
  }
  return true;
}

FontSet::FontSet(int dpi)
    : regular12_(WindowFont(12, false, dpi)), bold12_(WindowFont(12, true, dpi)), bold9_(WindowFont(9, true, dpi)) {
  LOGFONTW system{};
  if (!dpi::MessageFont(dpi, system)) system = WindowFace(-MulDiv(9, dpi, 72), FW_NORMAL);
  message_ = CreateFontIndirectW(&system);
  const LOGFONTW fallback = WindowFace(system.lfHeight, FW_NORMAL);
  message_fallback_ = CreateFontIndirectW(&fallback);
}

FontSet::~FontSet() {
  for (HFONT f : {regular12_, bold12_, bold9_, message_, message_fallback_}) DeleteObject(f);
}

HFONT FontSet::For(ui::FontChoice choice, std::wstring_view caption) const {
  switch (choice) {
    case ui::FontChoice::Regular12: return regular12_;
    case ui::FontChoice::Bold12: return bold12_;
    case ui::FontChoice::Bold9: return bold9_;
    case ui::FontChoice::System: break;
  }
  return FontDrawsText(message_, caption) ? message_ : message_fallback_;
}

}  // namespace win32
