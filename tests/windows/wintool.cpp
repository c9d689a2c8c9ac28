// SPDX-License-Identifier: MIT
// Looks at tressin.exe's windows from outside, as another Windows program
// would, for the tests that drive the real program under Wine by keyboard
// and for the start-up measurement. Prints UTF-8.
//
//   wintool wait TITLE                  a visible window titled TITLE: its client size
//   wintool text TITLE CONTROL          the text of a control of it, by its table name
//   wintool centre TITLE CONTROL        the screen position of that control's centre: "X Y"
//   wintool message TITLE               a message box titled TITLE: its owner's title and text
//   wintool gone TITLE                  waits until no window is titled TITLE
//   wintool launch RUNS EXE TITLE ...   starts each EXE RUNS times, interleaved, until its
//                                       window shows, closes it; prints medians and ratios
//                                       to the first EXE (and to the second, given three),
//                                       and the phases a program records
//                                       (windows/startup_trace.h)
// Waits up to 30 s; exits 1 when what it waits for does not come.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "ui/control_table.h"
#include "windows/form1.h"
#include "windows/wide.h"

namespace {

void Print(const std::wstring& text) {
  const std::string utf8 = win32::Narrow(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

template <class F>
auto WaitFor(F found, DWORD ms = 30000) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (auto got = found()) return got;
    if (GetTickCount64() > end) return decltype(found())();
    Sleep(10);
  }
}

HWND Visible(const wchar_t* window_class, const std::wstring& title) {
  HWND w = FindWindowW(window_class, title.c_str());
  return w != nullptr && IsWindowVisible(w) ? w : nullptr;
}

// The text of a window of another process: GetWindowText would give only
// the caption stored with the window, not what an edit box holds now.
std::wstring TextOf(HWND w) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, &got);
  text.resize(got);
  return text;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Reads the phases a program recorded (windows/startup_trace.h), as
// milliseconds since `start`, in the order recorded.
std::vector<std::pair<std::string, double>> Phases(const std::wstring& path, LONGLONG start, LONGLONG frequency) {
  std::vector<std::pair<std::string, double>> phases;
  FILE* file = _wfopen(path.c_str(), L"r");
  if (file == nullptr) return phases;
  char name[64];
  long long ticks = 0;
  while (std::fscanf(file, "%63s %lld", name, &ticks) == 2) {
    phases.emplace_back(name, 1000.0 * static_cast<double>(ticks - start) / static_cast<double>(frequency));
  }
  std::fclose(file);
  return phases;
}

int Launch(int argc, wchar_t** argv) {
  const int runs = _wtoi(argv[2]);
  struct Program {
    std::wstring exe, title;
    std::vector<double> ms, mib;
    std::vector<std::pair<std::string, std::vector<double>>> phases;
  };
  std::vector<Program> programs;
  for (int i = 3; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1], {}, {}, {}});
  wchar_t folder[MAX_PATH], trace[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"trc", 0, trace);
  SetEnvironmentVariableW(L"TRESSIN_STARTUP_TRACE", trace);  // inherited by the programs
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int run = 0; run < runs; ++run) {
    for (Program& p : programs) {
      DeleteFileW(trace);
      STARTUPINFOW si{};
      si.cb = sizeof si;
      PROCESS_INFORMATION pi{};
      std::wstring command = L"\"" + p.exe + L"\"";
      LARGE_INTEGER start, shown;
      QueryPerformanceCounter(&start);
      if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 1;
      HWND w = WaitFor([&] { return Visible(nullptr, p.title); });
      QueryPerformanceCounter(&shown);
      if (w == nullptr) return 1;
      PROCESS_MEMORY_COUNTERS memory{};
      memory.cb = sizeof memory;
      GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
      PostMessageW(w, WM_CLOSE, 0, 0);
      WaitForSingleObject(pi.hProcess, 30000);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
      p.ms.push_back(1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart));
      p.mib.push_back(static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
      const auto phases = Phases(trace, start.QuadPart, frequency.QuadPart);
      for (std::size_t i = 0; i < phases.size(); ++i) {
        if (p.phases.size() <= i) p.phases.push_back({phases[i].first, {}});
        p.phases[i].second.push_back(phases[i].second);
      }
    }
  }
  DeleteFileW(trace);
  // Ratios to the first program and, when there are three or more, to the second as well.
  const bool two_references = programs.size() > 2;
  std::printf("%-10s %9s %7s", "program", "time (ms)", "ratio");
  if (two_references) std::printf(" %7s", "ratio");
  std::printf(" %17s %7s", "peak memory (MiB)", "ratio");
  if (two_references) std::printf(" %7s", "ratio");
  std::printf("\n");
  const double t0 = Median(programs[0].ms), m0 = Median(programs[0].mib);
  const double t1 = Median(programs[1 % programs.size()].ms), m1 = Median(programs[1 % programs.size()].mib);
  for (const Program& p : programs) {
    const double t = Median(p.ms), m = Median(p.mib);
    std::printf("%-10s %9.1f %6.2fx", win32::Narrow(p.title).c_str(), t, t / t0);
    if (two_references) std::printf(" %6.2fx", t / t1);
    std::printf(" %17.1f %6.2fx", m, m / m0);
    if (two_references) std::printf(" %6.2fx", m / m1);
    std::printf("\n");
  }
  std::printf("medians of %d interleaved launches each, from CreateProcess to the window being visible", runs);
  std::printf(two_references ? "; ratios to %s, then to %s\n" : "; ratios to %s\n",
              win32::Narrow(programs[0].title).c_str(), win32::Narrow(programs[1 % programs.size()].title).c_str());
  for (const Program& p : programs) {
    if (p.phases.empty()) continue;
    std::printf("%s, phase by phase (median ms since CreateProcess, and since the phase before):\n",
                win32::Narrow(p.title).c_str());
    double before = 0;
    for (const auto& [name, times] : p.phases) {
      const double at = Median(times);
      std::printf("  %-22s %8.1f %8.1f\n", name.c_str(), at, at - before);
      before = at;
    }
    const double visible = Median(p.ms);
    std::printf("  %-22s %8.1f %8.1f\n", "visible to the launcher", visible, visible - before);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring verb = argv[1], title = argv[2];
  if (verb == L"wait") {
    HWND w = WaitFor([&] { return Visible(nullptr, title); });
    if (w == nullptr) return 1;
    RECT r{};
    GetClientRect(w, &r);
    Print(L"title=" + title + L" width=" + std::to_wstring(r.right) + L" height=" + std::to_wstring(r.bottom) + L"\n");
    return 0;
  }
  if ((verb == L"text" || verb == L"centre") && argc == 4) {
    HWND w = WaitFor([&] { return Visible(win32::kWindowClass, title); });
    const std::string name = win32::Narrow(argv[3]);
    for (std::size_t i = 0; w != nullptr && i < ui::kControls.size(); ++i) {
      if (ui::kControls[i].name != name) continue;
      HWND control = GetDlgItem(w, win32::ControlId(i));
      if (verb == L"text") {
        Print(TextOf(control) + L"\n");
      } else {
        RECT r{};
        GetWindowRect(control, &r);
        Print(std::to_wstring((r.left + r.right) / 2) + L" " + std::to_wstring((r.top + r.bottom) / 2) + L"\n");
      }
      return 0;
    }
    return 1;
  }
  if (verb == L"message") {
    HWND box = WaitFor([&] { return Visible(L"#32770", title); });
    if (box == nullptr) return 1;
    Print(L"owner=" + TextOf(GetWindow(box, GW_OWNER)) + L"\n" + TextOf(GetDlgItem(box, 0xFFFF)) +
          L"\n");
    return 0;
  }
  if (verb == L"gone") {
    return WaitFor([&] { return FindWindowW(nullptr, title.c_str()) == nullptr; }) ? 0 : 1;
  }
  if (verb == L"launch" && argc >= 5) return Launch(argc, argv);
  return 2;
}
