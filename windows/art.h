// SPDX-License-Identifier: MIT
// The window's artwork from the program's resources: the background picture
// (a PNG, decoded in the program) and the icon.
#pragma once

#include <windows.h>

namespace win32 {

// The background picture for a window at `dpi`: the 1x picture unscaled at
// 96 dpi, else the picture that suits (2x above 96 dpi) scaled to the
// window's client size at that dpi. A top-down 32-bit DIB section that the
// caller owns, or nullptr when it cannot be decoded.
HBITMAP LoadBackground(HINSTANCE instance, int dpi);

// The bulb icon at the given size in pixels.
HICON LoadBulb(HINSTANCE instance, int size);

}  // namespace win32
