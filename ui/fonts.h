#pragma once

namespace ui {

// The controls ask for "ＭＳ Ｐゴシック". Where it is absent, Qt is told to use a
// metric-compatible Japanese face instead, so Japanese text keeps its widths
// and never renders as boxes. Call once, after the application exists.
void InstallFontSubstitutes();

}  // namespace ui
