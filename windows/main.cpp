// SPDX-License-Identifier: MIT
#include <windows.h>

#include "windows/form1.h"
#include "windows/shell.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  win32::SystemShell shell;
  win32::Form1 window(instance, shell, /*ends_program=*/true);
  if (window.Handle() == nullptr) return 1;
  window.Show(show);
  return win32::RunMessageLoop(window);
}
