// SPDX-License-Identifier: MIT
#include <windows.h>

#include "windows/form1.h"
#include "windows/shell.h"
#include "windows/startup_trace.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Every DLL loaded from now on by name, by us or by Windows' own DLLs,
  // comes from the system folder, never from beside the exe (a Downloads
  // folder, where anything may lie).
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  win32::TracePhase("main");
  win32::SystemShell shell;
  win32::Form1 window(instance, shell, /*ends_program=*/true);
  if (window.Handle() == nullptr) return 1;
  win32::TracePhase("built");
  window.Show(show);
  win32::TracePhase("shown");
  return win32::RunMessageLoop(window);
}
