// SPDX-License-Identifier: MIT
// Where start-up time goes: with TRESSIN_STARTUP_TRACE naming a file, the
// program appends each phase of its start to it as "phase ticks", in
// QueryPerformanceCounter's ticks, which all processes share, for the
// launcher of scripts/measure-windows-startup.sh to set against the moment
// it started the program. Without the variable nothing is recorded.
#pragma once

#include <windows.h>

#include <cstdio>

namespace win32 {

inline void TracePhase(const char* phase) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"TRESSIN_STARTUP_TRACE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (FILE* file = _wfopen(path, L"a")) {
    std::fprintf(file, "%s %lld\n", phase, static_cast<long long>(now.QuadPart));
    std::fclose(file);
  }
}

}  // namespace win32
