// SPDX-License-Identifier: MIT
// A function of one of Windows' own DLLs, loaded from the system folder the
// first time it is needed rather than when the program starts, so the start
// pays only for what the first paint uses.
#pragma once

#include <windows.h>

namespace win32 {

// The function `name` of the system DLL `dll`, or nullptr where it is missing.
template <class Function>
Function* SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace win32
