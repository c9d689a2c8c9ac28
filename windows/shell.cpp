// SPDX-License-Identifier: MIT
#include "windows/shell.h"

#include <shellapi.h>

namespace win32 {

void SystemShell::ShowMessage(HWND owner, const std::wstring& title, const std::wstring& text) {
  MessageBoxW(owner, text.c_str(), title.c_str(), 0);
}

void SystemShell::Execute(HWND owner, const ShellRequest& r) {
  ShellExecuteA(owner, r.operation.c_str(), r.file.c_str(), r.parameters.c_str(), r.directory.c_str(), r.show);
}

}  // namespace win32
