// SPDX-License-Identifier: MIT
#include "windows/dpi.h"

namespace win32::dpi {

namespace {

struct Functions {
  decltype(&GetDpiForWindow) for_window = nullptr;
  decltype(&GetSystemMetricsForDpi) metric = nullptr;
  decltype(&AdjustWindowRectExForDpi) adjust = nullptr;
  decltype(&SystemParametersInfoForDpi) parameters = nullptr;
};

template <class Function>
void Find(HMODULE user32, const char* name, Function& out) {
  out = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

Functions& Found() {
  static Functions functions = [] {
    Functions f;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");  // imported, so loaded already
    Find(user32, "GetDpiForWindow", f.for_window);
    Find(user32, "GetSystemMetricsForDpi", f.metric);
    Find(user32, "AdjustWindowRectExForDpi", f.adjust);
    Find(user32, "SystemParametersInfoForDpi", f.parameters);
    return f;
  }();
  return functions;
}

// The dpi the system's own metrics are given at.
int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int Of(HWND window) {
  if (Found().for_window != nullptr) return static_cast<int>(Found().for_window(window));
  return SystemDpi();
}

int SystemMetric(int index, int dpi) {
  if (Found().metric != nullptr) return Found().metric(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void AdjustFrame(RECT& frame, DWORD style, DWORD ex_style, int dpi) {
  if (Found().adjust != nullptr) {
    Found().adjust(&frame, style, FALSE, ex_style, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&frame, style, FALSE, ex_style);  // the window then mends its client area
  }
}

bool MessageFont(int dpi, LOGFONTW& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (Found().parameters != nullptr) {
    if (!Found().parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) return false;
  } else {
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  }
  font = metrics.lfMessageFont;
  return true;
}

void UseFallbacksForTesting(bool fallbacks) {
  static const Functions found = Found();
  Found() = fallbacks ? Functions{} : found;
}

}  // namespace win32::dpi
