// SPDX-License-Identifier: MIT
#include "windows/shell.h"

#include <shellapi.h>

#include "windows/system_dll.h"

namespace win32 {

void SystemShell::ShowMessage(HWND owner, const std::wstring& title, const std::wstring& text) {
  MessageBoxW(owner, text.c_str(), title.c_str(), 0);
}

void SystemShell::Execute(HWND owner, const ShellRequest& r) {
  // The shell is loaded at the first click that needs it.
  static const auto execute = SystemFunction<decltype(ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
  if (execute == nullptr) return;
  execute(owner, r.operation.c_str(), r.file.c_str(), r.parameters.c_str(), r.directory.c_str(), r.show);
}

}  // namespace win32
