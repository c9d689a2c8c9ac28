// SPDX-License-Identifier: MIT
// The window's one Japanese face.
#pragma once

#include <QString>

namespace ui {

// The family every control's font names: "ＭＳ Ｐゴシック" where it is
// installed, else the first installed metric-compatible Japanese face
// (IPAPGothic, then Noto Sans CJK JP), so Japanese text keeps its widths and
// never renders as boxes. Resolved once against the installed families:
// naming a missing family would make every font load search for it again.
// Call after the application exists.
const QString& WindowFontFamily();

// The families tried, in order, when "ＭＳ Ｐゴシック" is missing.
inline const char* const kFontFallbacks[] = {"IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP", "IPAGothic"};

}  // namespace ui
