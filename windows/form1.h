// SPDX-License-Identifier: MIT
// Form1 on Win32: the program's one window, a window class of our own.
//
// How the parts meet:
//  * kControls (ui/control_table.h) lists the 17 controls in tab order. The
//    window creates one standard control per row in one loop, in table
//    order, which is Win32's tab order; each control's id is ControlId(row).
//  * Positions and sizes are the table's twips at the window's dpi; a dpi
//    change (WM_DPICHANGED) lays the window out again with fonts and
//    picture for the new dpi.
//  * Form1 is the calculation's view (calc::LiftView) and owns the
//    calc::LiftQuantities that Calculate keeps between clicks.
//  * Exactly five events are handled, the button clicks (WM_COMMAND),
//    each calling its CommandN_Click. The message loop passes keys through
//    IsDialogMessageW (TranslateKeys), and the window answers DM_GETDEFID
//    with Command3, so Enter in a box clicks 計算 and Tab walks the table.
//  * Messages and the companion page go through the Shell the window is
//    given, so tests can stand in for Windows' message box and shell.
//  * When 計算 yields no number, Text2 says why and the boxes at fault are
//    tinted (WM_CTLCOLOREDIT), with the reason in their tooltips; the next
//    good calculation clears every mark. Text2 is a live region: every
//    result or reason is raised to screen readers (SetResultText).
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "calc/calculate.h"
#include "ui/control_table.h"
#include "windows/shell.h"

namespace win32 {

class FontSet;

inline constexpr wchar_t kWindowClass[] = L"TressinForm1";

// The control id of table row `index`.
constexpr int ControlId(std::size_t index) { return 1000 + static_cast<int>(index); }

class Form1 final : public calc::LiftView {
 public:
  // Creates the window, hidden, at the system's dpi. When `ends_program`,
  // closing it posts WM_QUIT (exit code 0).
  Form1(HINSTANCE instance, Shell& shell, bool ends_program = false);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  [[nodiscard]] HWND Handle() const { return hwnd_; }
  // Shows the window with the focus in the height box.
  void Show(int show_command);
  // The keyboard of a dialog for this window: Tab, Shift+Tab, Enter. True
  // when the message was used and must not be dispatched.
  bool TranslateKeys(MSG& msg);

  // The view of the calculation.
  [[nodiscard]] std::string UnitText(calc::Row row) const override;
  [[nodiscard]] std::string EntryText(calc::Row row) const override;
  void SetResultText(std::string_view text) override;

  // The five handlers.
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();

  // The control built from the table row with this name, or nullptr.
  [[nodiscard]] HWND Control(std::string_view name) const;
  // The edit box inside a unit box, or the box itself for a text box.
  [[nodiscard]] static HWND EditOf(HWND box);
  // Makes what the first paint does not need: the tooltips and the names
  // for screen readers. The window does it itself once it has painted;
  // whatever needs them first calls it. Does nothing the second time.
  void FinishSetUp();

  // The tooltip the window's tooltip control holds for a control.
  [[nodiscard]] std::wstring Tooltip(HWND control);
  // The reason a box is marked with, or an empty string.
  [[nodiscard]] std::wstring Problem(HWND box) const;
  [[nodiscard]] int Dpi() const { return dpi_; }
  [[nodiscard]] HBITMAP Background() const { return background_; }
  [[nodiscard]] const calc::LiftQuantities& Quantities() const { return quantities_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void LoadArtwork();                        // picture and icons at dpi_
  void SizeWindow(const RECT* suggested);    // the frame around the client area at dpi_
  void ApplyDpi(int dpi, const RECT* suggested);
  void ShowOutcome(const calc::CalculationOutcome& outcome);
  void ShowReference(calc::Row row);
  void Mark(std::size_t index, std::wstring problem);
  void ClearMarks();
  void SetTooltip(std::size_t index, const std::wstring& text);
  void MoveDefault(std::size_t button_index);
  [[nodiscard]] std::size_t IndexOf(HWND control) const;

  HINSTANCE instance_;
  Shell& shell_;
  bool ends_program_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  int dpi_ = 96;
  std::array<HWND, 17> controls_{};
  std::array<std::wstring, 17> problems_{};  // why a box is marked; empty if not
  std::unique_ptr<FontSet> fonts_;
  HBITMAP background_ = nullptr;
  HBRUSH picture_brush_ = nullptr;  // the picture, for the labels' background
  HBRUSH window_brush_ = nullptr;   // where the picture does not reach
  HBRUSH mark_brush_ = nullptr;     // a box at fault
  HICON icon_big_ = nullptr, icon_small_ = nullptr;
  HWND last_focus_ = nullptr;  // restored when the window is activated again
  static constexpr UINT_PTR kFinishTimer = 1;
  bool finished_ = false;     // FinishSetUp has run
  bool com_started_ = false;  // by FinishSetUp, for the accessibility service
  calc::LiftQuantities quantities_;
};

// Runs the message loop of the program's window until it is closed;
// returns the exit code.
int RunMessageLoop(Form1& form);

}  // namespace win32
