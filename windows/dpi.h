// SPDX-License-Identifier: MIT
// Windows' per-window dpi functions (Windows 10, version 1607 on), found
// when the program starts rather than imported, so that it also starts on
// Windows 8.1; where they are missing, the system's own dpi stands in,
// scaled to the window's.
#pragma once

#include <windows.h>

namespace win32::dpi {

// The dpi `window` is shown at.
int Of(HWND window);
// GetSystemMetrics(index) as at `dpi`.
int SystemMetric(int index, int dpi);
// AdjustWindowRectEx for a window at `dpi`.
void AdjustFrame(RECT& frame, DWORD style, DWORD ex_style, int dpi);
// The system's message font as at `dpi`; false where it cannot be had.
bool MessageFont(int dpi, LOGFONTW& font);

// For the tests: behave as on a Windows without the per-window functions
// (true), or as this one again (false).
void UseFallbacksForTesting(bool fallbacks);

}  // namespace win32::dpi
