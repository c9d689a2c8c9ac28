// SPDX-License-Identifier: MIT
// A plain Win32 form, titled "Plain": tressin's 17 controls from the same
// table, with the same classes and styles (win32::StyleOf), items, fonts
// and layout, on a solid background, and nothing else (no picture, icon,
// tooltip, accessibility or COM). What scripts/measure-windows-startup.sh
// compares tressin.exe with: the start that any window with these controls
// pays.
#include <windows.h>

#include <string>

#include "ui/control_table.h"
#include "windows/control_style.h"
#include "windows/fonts.h"
#include "windows/startup_trace.h"
#include "windows/wide.h"

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  win32::TracePhase("main");
  const ui::Rgb c = ui::kWindowColour;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = CreateSolidBrush(RGB(c.r, c.g, c.b));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = L"Plain";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(L"Plain", L"Plain", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            nullptr, nullptr, instance, nullptr);
  win32::TracePhase("window");
  const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
  const win32::FontSet fonts(dpi);
  for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
    const ui::ControlRow& row = ui::kControls[i];
    const std::wstring text = win32::Widen(row.text);
    const win32::ControlStyle kind = win32::StyleOf(row);
    const int h = ui::TwipsToPixels(row.height, dpi);
    HWND control = CreateWindowExW(kind.ex_style, kind.window_class, row.kind == ui::Kind::ComboBox ? L"" : text.c_str(),
                                   kind.style,
                                   ui::TwipsToPixels(row.left, dpi), ui::TwipsToPixels(row.top, dpi),
                                   ui::TwipsToPixels(row.width, dpi), row.kind == ui::Kind::ComboBox ? 5 * h : h, hwnd,
                                   nullptr, instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.For(row.font, text)), FALSE);
    for (std::string_view items = row.items; !items.empty();) {
      const std::size_t bar = items.find('|');
      const std::wstring item = win32::Widen(items.substr(0, bar));
      const LRESULT at = SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      if (item == text) SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
      items = bar == std::string_view::npos ? std::string_view{} : items.substr(bar + 1);
    }
  }
  win32::TracePhase("controls");
  RECT frame{0, 0, ui::TwipsToPixels(ui::kClientWidthTwips, dpi), ui::TwipsToPixels(ui::kClientHeightTwips, dpi)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi));
  SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  win32::TracePhase("laid-out");
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  win32::TracePhase("shown");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
