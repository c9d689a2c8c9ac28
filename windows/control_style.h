// SPDX-License-Identifier: MIT
// The standard control each row of the control table is made as: its
// window class and styles. Form1 and the plain form it is measured against
// (bench/plain_form_win32.cpp) both make their controls from this.
#pragma once

#include <windows.h>

#include "ui/control_table.h"

namespace win32 {

struct ControlStyle {
  const wchar_t* window_class;
  DWORD style, ex_style;
};

inline ControlStyle StyleOf(const ui::ControlRow& row) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (row.kind) {
    case ui::Kind::Label: return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
    case ui::Kind::TextBox: return {L"EDIT", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ui::Kind::ComboBox: return {L"COMBOBOX", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case ui::Kind::Button: break;
  }
  const DWORD type = row.name == "Command3" ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  return {L"BUTTON", kChild | WS_TABSTOP | BS_NOTIFY | type, 0};
}

}  // namespace win32
