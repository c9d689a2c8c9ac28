// SPDX-License-Identifier: MIT
// What the window asks of Windows beyond its own controls: a modal message
// box and the shell's "open" of the companion page. Behind an interface so
// that tests see "showed this text" and "asked for this file" without a
// modal loop or a browser.
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

// The arguments of one ShellExecuteA call, as given.
struct ShellRequest {
  std::string operation, file, parameters, directory;
  int show = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // MessageBoxW with style 0 (one OK button, no icon), owned by `owner`;
  // returns when the user closes it.
  virtual void ShowMessage(HWND owner, const std::wstring& title, const std::wstring& text) = 0;
  // ShellExecuteA; the result is ignored, as the shell reports failures itself.
  virtual void Execute(HWND owner, const ShellRequest& request) = 0;
};

class SystemShell final : public Shell {
 public:
  void ShowMessage(HWND owner, const std::wstring& title, const std::wstring& text) override;
  void Execute(HWND owner, const ShellRequest& request) override;
};

}  // namespace win32
