// SPDX-License-Identifier: MIT
// The Win32 window in-process, through its real controls and real key
// messages: layout at 96 and 144 dpi, classes and styles, the keyboard, the
// calculation table shared with the other editions, failure marks, the
// messages and the page request through a recording shell; then the built
// tressin.exe's version resource, icon and manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "ui/control_table.h"
#include "ui/texts.h"
#include "windows/dpi.h"
#include "windows/fonts.h"
#include "windows/form1.h"
#include "windows/system_dll.h"
#include "windows/wide.h"

namespace {

using win32::Form1;
using win32::Widen;

class RecordingShell : public win32::Shell {
 public:
  struct Message {
    HWND owner;
    std::wstring title, text;
  };
  std::vector<Message> messages;
  std::vector<std::pair<HWND, win32::ShellRequest>> requests;
  void ShowMessage(HWND owner, const std::wstring& title, const std::wstring& text) override {
    messages.push_back({owner, title, text});
  }
  void Execute(HWND owner, const win32::ShellRequest& request) override { requests.emplace_back(owner, request); }
};

void Pump(Form1& form) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (form.TranslateKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A key pressed and released where the focus is, through the same path as
// the program's message loop.
void Key(Form1& form, WPARAM vk, bool shift = false, bool alt = false) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_MENU] = alt ? 0x80 : 0;
  SetKeyboardState(keys);
  // With Alt held, Windows sends system keys, their context bit set.
  const LPARAM context = alt ? 0x20000000 : 0;
  const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, release = alt ? WM_SYSKEYUP : WM_KEYUP;
  for (UINT message : {down, release}) {
    const bool up = message == release;
    MSG msg{GetFocus(), message, vk, (up ? 0xC0000001 : 1) | context, static_cast<DWORD>(GetMessageTime()), {}};
    if (!form.TranslateKeys(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Pump(form);
  }
  keys[VK_SHIFT] = keys[VK_MENU] = 0;
  SetKeyboardState(keys);
}

// Replaces a box's text by typing it, one character message at a time.
void Type(Form1& form, HWND box, const std::wstring& text) {
  HWND edit = Form1::EditOf(box);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CLEAR, 0, 0);
  for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
  Pump(form);
}

RECT ClientRectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::vector<std::wstring> Split(std::string_view items) {
  std::vector<std::wstring> out;
  while (!items.empty()) {
    const std::size_t bar = items.find('|');
    out.push_back(Widen(items.substr(0, bar)));
    items = bar == std::string_view::npos ? std::string_view{} : items.substr(bar + 1);
  }
  return out;
}

nlohmann::json Cases() {
  std::ifstream in(TRESSIN_CALCULATION_CASES);
  return nlohmann::json::parse(in);
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<Form1>(GetModuleHandleW(nullptr), shell);
    ASSERT_NE(form->Handle(), nullptr);
    form->Show(SW_SHOWNORMAL);
    Pump(*form);
  }
  HWND C(std::string_view name) const { return form->Control(name); }
  void Calculate(const nlohmann::json& c) {
    for (std::size_t row = 0; row < 3; ++row) {
      Type(*form, C(ui::kEntryControls[row]), Widen(c["entries"][row].get<std::string>()));
      Type(*form, C(ui::kUnitControls[row]), Widen(c["units"][row].get<std::string>()));
    }
    Key(*form, VK_RETURN);  // in the time unit box: the default button
  }
  // The tint a box's edit is painted with, asked as Windows asks.
  COLORREF Tint(HWND box) {
    HWND edit = Form1::EditOf(box);
    HDC dc = GetDC(edit);
    SetBkColor(dc, RGB(1, 2, 3));
    SendMessageW(GetParent(box) == form->Handle() && edit != box ? box : form->Handle(), WM_CTLCOLOREDIT,
                 reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    const COLORREF c = GetBkColor(dc);
    ReleaseDC(edit, dc);
    return c;
  }
  RecordingShell shell;
  std::unique_ptr<Form1> form;
};

class Form1DpiTest : public Form1Test, public ::testing::WithParamInterface<int> {};

TEST_P(Form1DpiTest, EveryControlWhereTheTableSaysAtThisDpi) {
  const int dpi = GetParam();
  if (dpi != form->Dpi()) {
    RECT suggested{10, 10, 700, 400};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }
  ASSERT_EQ(form->Dpi(), dpi);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, ui::TwipsToPixels(ui::kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, ui::TwipsToPixels(ui::kClientHeightTwips, dpi));
  BITMAP picture{};
  ASSERT_TRUE(GetObjectW(form->Background(), sizeof picture, &picture));
  EXPECT_EQ(picture.bmWidth, client.right);
  EXPECT_EQ(picture.bmHeight, client.bottom);
  for (const ui::ControlRow& row : ui::kControls) {
    SCOPED_TRACE(std::string(row.name));
    const RECT r = ClientRectOf(C(row.name));
    EXPECT_EQ(r.left, ui::TwipsToPixels(row.left, dpi));
    EXPECT_EQ(r.top, ui::TwipsToPixels(row.top, dpi));
    EXPECT_EQ(r.right - r.left, ui::TwipsToPixels(row.width, dpi));
    if (row.kind == ui::Kind::ComboBox) {
      // A unit box's field is never shorter than its font's line, which
      // some faces standing in for the table's make 2 pixels taller.
      EXPECT_NEAR(r.bottom - r.top, ui::TwipsToPixels(row.height, dpi), 2);
    } else {
      EXPECT_EQ(r.bottom - r.top, ui::TwipsToPixels(row.height, dpi));
    }
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(C(row.name), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    if (row.font != ui::FontChoice::System) {
      const int points = row.font == ui::FontChoice::Bold9 ? 9 : 12;
      EXPECT_EQ(lf.lfHeight, -MulDiv(points, dpi, 72));
      EXPECT_EQ(lf.lfWeight, row.font == ui::FontChoice::Regular12 ? FW_NORMAL : FW_BOLD);
      EXPECT_EQ(std::wstring(lf.lfFaceName), Widen(ui::kFontFamily));
      EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Form1DpiTest, ::testing::Values(96, 144));

// A control's font when it is given another: still a live font, so no
// control ever draws with a deleted one.
LRESULT CALLBACK CheckingFonts(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropW(control, L"previous"));
  if (message == WM_SETFONT) {
    auto current = reinterpret_cast<HGDIOBJ>(CallWindowProcW(previous, control, WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    if (current != nullptr && GetObjectW(current, sizeof lf, &lf) == 0) SetPropW(control, L"dead", HANDLE(1));
  }
  return CallWindowProcW(previous, control, message, wparam, lparam);
}

TEST_F(Form1Test, ADpiChangeSetsTheNewFontsFirstAndTakesTheSuggestedRectangle) {
  std::vector<HGDIOBJ> old_fonts;
  for (const ui::ControlRow& row : ui::kControls) {
    HWND control = C(row.name);
    old_fonts.push_back(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SetPropW(control, L"previous", reinterpret_cast<HANDLE>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CheckingFonts))));
  }
  const int dpi = 144;
  RECT suggested{37, 41, 37 + ui::TwipsToPixels(ui::kClientWidthTwips, dpi), 41 + ui::TwipsToPixels(ui::kClientHeightTwips, dpi)};
  AdjustWindowRectExForDpi(&suggested, GetWindowLongW(form->Handle(), GWL_STYLE), FALSE,
                           GetWindowLongW(form->Handle(), GWL_EXSTYLE), dpi);
  SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  RECT placed{};
  GetWindowRect(form->Handle(), &placed);
  EXPECT_EQ(std::vector<LONG>({placed.left, placed.top}), std::vector<LONG>({suggested.left, suggested.top}));
  for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
    HWND control = C(ui::kControls[i].name);
    SCOPED_TRACE(std::string(ui::kControls[i].name));
    EXPECT_EQ(GetPropW(control, L"dead"), nullptr) << "a control still had a deleted font";
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RemovePropW(control, L"previous")));
    RemovePropW(control, L"dead");
    LOGFONTW lf{};
    EXPECT_NE(GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf), 0);
    EXPECT_EQ(GetObjectW(old_fonts[i], sizeof lf, &lf), 0) << "the old font is deleted once unused";
  }
}

// As on Windows 8.1, where the per-window dpi functions are missing.
TEST_F(Form1Test, StartsWithoutThePerWindowDpiFunctions) {
  form.reset();
  win32::dpi::UseFallbacksForTesting(true);
  SetUp();
  const int dpi = form->Dpi();
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, ui::TwipsToPixels(ui::kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, ui::TwipsToPixels(ui::kClientHeightTwips, dpi));
  for (const ui::ControlRow& row : ui::kControls) {
    LOGFONTW lf{};
    EXPECT_NE(GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(C(row.name), WM_GETFONT, 0, 0)), sizeof lf, &lf), 0);
  }
  const nlohmann::json cases = Cases();
  Calculate(cases["computed"][0]);
  EXPECT_EQ(win32::Narrow(win32::WindowText(C("Text2"))), cases["computed"][0]["shown"].get<std::string>());
  win32::dpi::UseFallbacksForTesting(false);
}

TEST_F(Form1Test, ControlsAreTheStandardOnesWithTheirTextsAndLists) {
  std::size_t index = 0;
  for (const ui::ControlRow& row : ui::kControls) {
    SCOPED_TRACE(std::string(row.name));
    HWND c = C(row.name);
    const auto style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
    EXPECT_EQ(GetDlgCtrlID(c), win32::ControlId(index++));
    EXPECT_EQ(win32::WindowText(c), Widen(row.text));
    EXPECT_EQ((style & WS_TABSTOP) != 0, row.kind != ui::Kind::Label);
    switch (row.kind) {
      case ui::Kind::Label: {
        EXPECT_EQ(ClassOf(c), L"Static");
        // White letters over the picture, which the label paints behind them.
        HDC dc = GetDC(c);
        const LRESULT brush =
            SendMessageW(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c));
        EXPECT_NE(brush, 0);
        EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
        ReleaseDC(c, dc);
        break;
      }
      case ui::Kind::TextBox:
        EXPECT_EQ(ClassOf(c), L"Edit");
        EXPECT_TRUE(style & ES_AUTOHSCROLL);
        EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY));
        EXPECT_GE(SendMessageW(c, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);  // no length limit
        break;
      case ui::Kind::ComboBox: {
        EXPECT_EQ(ClassOf(c), L"ComboBox");
        EXPECT_EQ(style & 3, static_cast<DWORD>(CBS_DROPDOWN));
        const std::vector<std::wstring> items = Split(row.items);
        ASSERT_EQ(SendMessageW(c, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i) {
          wchar_t item[16] = {};
          SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
          EXPECT_EQ(item, items[i]);
        }
        break;
      }
      case ui::Kind::Button:
        EXPECT_EQ(ClassOf(c), L"Button");
        EXPECT_EQ(style & BS_TYPEMASK,
                  static_cast<DWORD>(row.name == "Command3" ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
        break;
    }
    if (!row.tooltip.empty()) EXPECT_EQ(form->Tooltip(c), Widen(row.tooltip));
    // Every caption is drawn in glyphs its font has: no empty boxes.
    if (row.kind == ui::Kind::Label || row.kind == ui::Kind::Button) {
      EXPECT_TRUE(win32::FontDrawsText(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), Widen(row.text)));
    }
  }
  EXPECT_EQ(win32::WindowText(form->Handle()), Widen(ui::kWindowTitle));
  EXPECT_NE(SendMessageW(form->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0), 0);
  const auto style = static_cast<DWORD>(GetWindowLongW(form->Handle(), GWL_STYLE));
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));  // a fixed single border
}

// What the first paint does not need comes right after it, by itself.
TEST_F(Form1Test, TooltipsFollowTheFirstPaintByThemselves) {
  const auto tooltip_window = [&] {
    struct Search {
      HWND owner, found;
    } search{form->Handle(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM p) {
      auto* s = reinterpret_cast<Search*>(p);
      wchar_t name[64] = {};
      GetClassNameW(w, name, 64);
      if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(w, GW_OWNER) == s->owner) s->found = w;
      return s->found == nullptr ? TRUE : FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
  };
  for (int i = 0; i < 100 && tooltip_window() == nullptr; ++i) {
    Sleep(10);
    Pump(*form);
  }
  ASSERT_NE(tooltip_window(), nullptr);
  LRESULT expected = 0;  // every box, and every control with a tooltip of its own
  for (const ui::ControlRow& row : ui::kControls) {
    expected += (!row.tooltip.empty() || row.kind == ui::Kind::TextBox || row.kind == ui::Kind::ComboBox) ? 1 : 0;
  }
  EXPECT_EQ(SendMessageW(tooltip_window(), TTM_GETTOOLCOUNT, 0, 0), expected);
}

TEST_F(Form1Test, AccessibleNamesAsInTheOtherEditions) {
  form->FinishSetUp();  // and COM with it
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&services)))) {
    GTEST_SKIP() << "this system has no MSAA annotation service: names not readable here";
  }
  const HRESULT stored = services->SetHwndPropStr(C("Text1(0)"), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                  PROPID_ACC_NAME, L"変位の値");
  services->Release();
  if (stored != S_OK) {
    GTEST_SKIP() << "this system's MSAA annotation service keeps no names (HRESULT 0x" << std::hex
                 << static_cast<unsigned long>(stored) << "): names not readable here";
  }
  for (const ui::ControlRow& row : ui::kControls) {
    const std::string_view expected = row.accessible_name.empty() ? row.text : row.accessible_name;
    if (row.kind == ui::Kind::Label) continue;
    SCOPED_TRACE(std::string(row.name));
    IAccessible* acc = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(C(row.name), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                         reinterpret_cast<void**>(&acc)), S_OK);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT hr = acc->get_accName(self, &name);
    acc->Release();
    if (hr != S_OK || name == nullptr) GTEST_SKIP() << "this system's MSAA gives no names to read back";
    EXPECT_EQ(std::wstring(name), Widen(expected));
    SysFreeString(name);
  }
}

TEST_F(Form1Test, FocusStartsInTheHeightBoxAndTabWalksTheTableBothWays) {
  std::vector<HWND> stops;
  for (const ui::ControlRow& row : ui::kControls) {
    if (row.kind != ui::Kind::Label) stops.push_back(Form1::EditOf(C(row.name)));
  }
  EXPECT_EQ(GetFocus(), stops.front());
  for (std::size_t i = 1; i <= stops.size(); ++i) {
    Key(*form, VK_TAB);
    EXPECT_EQ(GetFocus(), stops[i % stops.size()]) << "after " << i << " Tab presses";
  }
  for (std::size_t i = stops.size(); i-- > 0;) {
    Key(*form, VK_TAB, /*shift=*/true);
    EXPECT_EQ(GetFocus(), stops[i]) << "Shift+Tab back to stop " << i;
  }
}

TEST_F(Form1Test, EnterInEveryBoxCalculatesAndOnAButtonClicksThatButton) {
  EXPECT_EQ(SendMessageW(form->Handle(), DM_GETDEFID, 0, 0),
            MAKELRESULT(GetDlgCtrlID(C("Command3")), DC_HASDEFID));
  for (std::string_view box : {"Text1(0)", "Text1(1)", "Text1(2)", "Combo1", "Combo2", "Combo3", "Text2"}) {
    SCOPED_TRACE(std::string(box));
    SetWindowTextW(C("Text2"), L"before");
    SetFocus(Form1::EditOf(C(box)));
    // While an input method composes, Windows hands its keys on as
    // VK_PROCESSKEY: the Enter that commits the text is not 計算's.
    Key(*form, VK_PROCESSKEY);
    EXPECT_EQ(win32::WindowText(C("Text2")), L"before");
    Key(*form, VK_RETURN);
    EXPECT_EQ(win32::WindowText(C("Text2")), Widen(ui::ResultProblem(calc::ResultStatus::ZeroTime)));
  }
  SetFocus(C("Command1"));
  Key(*form, VK_RETURN);
  SetFocus(C("Command5"));
  Key(*form, VK_RETURN);
  EXPECT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.requests.size(), 1u);
}

// The shared table of keys in the time's unit box, which the page and the
// Qt window follow: as Windows' own drop-down box takes them.
TEST_F(Form1Test, TheSharedTableOfKeysInAUnitBox) {
  const std::map<std::string, std::pair<WPARAM, bool>> keys = {
      {"Enter", {VK_RETURN, false}}, {"F4", {VK_F4, false}},   {"Down", {VK_DOWN, false}},    {"Up", {VK_UP, false}},
      {"Esc", {VK_ESCAPE, false}},   {"Tab", {VK_TAB, false}}, {"Alt+Down", {VK_DOWN, true}},
      {"Alt+Up", {VK_UP, true}}};
  for (const auto& row : Cases()["keys"]["rows"]) {
    SCOPED_TRACE(row["name"].get<std::string>());
    Calculate({{"entries", {"100", "60", "1"}}, {"units", {"m", "kg", row.value("unit", "秒")}}});
    SetWindowTextW(C("Text2"), L"");
    SetFocus(Form1::EditOf(C("Combo3")));
    for (const auto& key : row["keys"]) {
      const std::string k = key.get<std::string>();
      if (k.rfind("text:", 0) == 0) {
        for (wchar_t c : Widen(k.substr(5))) SendMessageW(GetFocus(), WM_CHAR, c, 1);
        Pump(*form);
        continue;
      }
      ASSERT_TRUE(keys.count(k)) << k;
      Key(*form, keys.at(k).first, /*shift=*/false, keys.at(k).second);
    }
    EXPECT_EQ(win32::Narrow(win32::WindowText(C("Combo3"))), row["shows"].get<std::string>());
    EXPECT_EQ(win32::Narrow(win32::WindowText(C("Text2"))), row["result"].get<std::string>());
    SendMessageW(C("Combo3"), CB_SHOWDROPDOWN, FALSE, 0);
  }
}

TEST_F(Form1Test, TheSharedCalculationTableTypedAndEntered) {
  const nlohmann::json cases = Cases();
  for (const auto& c : cases["computed"]) {
    SCOPED_TRACE(c["name"].get<std::string>());
    Calculate(c);
    EXPECT_EQ(win32::Narrow(win32::WindowText(C("Text2"))), c["shown"].get<std::string>());
    for (const ui::ControlRow& row : ui::kControls) EXPECT_TRUE(form->Problem(C(row.name)).empty());
  }
  for (const auto& c : cases["failed"]) {
    SCOPED_TRACE(c["name"].get<std::string>());
    Calculate(c);
    EXPECT_EQ(win32::Narrow(win32::WindowText(C("Text2"))), c["reason"].get<std::string>());
    HWND marked = C(c["marked"].get<std::string>());
    const std::wstring problem = form->Problem(marked);
    EXPECT_FALSE(problem.empty());
    EXPECT_NE(form->Tooltip(marked).find(problem), std::wstring::npos);
    EXPECT_EQ(Tint(marked), RGB(ui::kMarkTint.r, ui::kMarkTint.g, ui::kMarkTint.b));
    // The next good calculation clears every mark and restores the tooltip.
    Calculate(cases["computed"][0]);
    EXPECT_TRUE(form->Problem(marked).empty());
    EXPECT_NE(Tint(marked), RGB(ui::kMarkTint.r, ui::kMarkTint.g, ui::kMarkTint.b));
    const std::string_view usual = ui::kControls[static_cast<std::size_t>(GetDlgCtrlID(marked) - 1000)].tooltip;
    EXPECT_EQ(form->Tooltip(marked), Widen(usual));
  }
}

// Screen readers hear each result and reason, the same one twice too,
// without the focus moving: the result box raises a live-region change.
std::vector<HWND> raised;
TEST_F(Form1Test, EveryResultAndReasonIsRaisedToScreenReaders) {
  form->FinishSetUp();
  raised.clear();
  HWINEVENTHOOK hook = SetWinEventHook(
      EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
      [](HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
        if (object == OBJID_CLIENT && child == CHILDID_SELF) raised.push_back(hwnd);
      },
      0, 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  const nlohmann::json cases = Cases();
  for (const auto& c : {cases["computed"][1], cases["failed"][5], cases["failed"][5]}) {
    Calculate(c);
    HWND focus = GetFocus();
    Pump(*form);
    EXPECT_EQ(GetFocus(), focus);
  }
  UnhookWinEvent(hook);
  EXPECT_EQ(raised, std::vector<HWND>(3, C("Text2")));
}

TEST_F(Form1Test, UnitBoxesKeepWhatIsTypedExactly) {
  for (const wchar_t* typed : {L"M", L" m", L"ｍ", L"mm", L"", L"時間 "}) {
    Type(*form, C("Combo1"), typed);
    Key(*form, VK_RETURN);
    EXPECT_EQ(win32::WindowText(C("Combo1")), typed);
  }
}

TEST_F(Form1Test, ReferenceMessagesAndThePageThroughTheShell) {
  struct Case {
    const char* button;
    const wchar_t* text;
  };
  const Case cases[] = {
      {"Command1", L"持ち上げる高さです\r\n富士山の標高：3776m\r\n東京タワーの高さ：333m\r\n地球一周：40000km"},
      {"Command2", L"持ち上げる物の重さです\r\n一円玉：1g\r\nあなたの体重：???kg"},
      {"Command4", L"持ち上げることにかかる時間です\r\n公衆電話十円で話す：1分\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    shell.messages.clear();
    for (int twice = 0; twice < 2; ++twice) SendMessageW(C(c.button), BM_CLICK, 0, 0);
    ASSERT_EQ(shell.messages.size(), 2u);
    for (const auto& m : shell.messages) {
      EXPECT_EQ(m.owner, form->Handle());
      EXPECT_EQ(m.title, L"Tressin");
      EXPECT_EQ(m.text, c.text);
    }
  }
  EXPECT_EQ(win32::WindowText(C("Text2")), L"0");  // nothing else changed
  SendMessageW(C("Command5"), BM_CLICK, 0, 0);
  ASSERT_EQ(shell.requests.size(), 1u);
  const auto& [owner, r] = shell.requests[0];
  EXPECT_EQ(owner, form->Handle());
  EXPECT_EQ(r.operation, "open");
  EXPECT_EQ(r.file, "./denryoku.html");
  EXPECT_EQ(r.parameters, "");
  EXPECT_EQ(r.directory, "");
  EXPECT_EQ(r.show, 5);
}

TEST(Form1Program, ClosingTheWindowEndsTheProgramWithZero) {
  RecordingShell shell;
  Form1 form(GetModuleHandleW(nullptr), shell, /*ends_program=*/true);
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.Handle(), nullptr);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
}

// --- the built program file ------------------------------------------------

std::wstring ProgramPath() {
  const char* path = std::getenv("TRESSIN_EXE");
  return path != nullptr ? Widen(path) : std::wstring();
}

// What the program loads only when it needs it is there to be loaded.
TEST(ProgramFile, FunctionsLoadedWhenNeededAreFound) {
  const std::pair<const wchar_t*, const char*> functions[] = {
      {L"shell32.dll", "ShellExecuteA"}, {L"comctl32.dll", "InitCommonControlsEx"}, {L"ole32.dll", "CoInitializeEx"},
      {L"ole32.dll", "CoCreateInstance"}, {L"ole32.dll", "CoUninitialize"}};
  for (const auto& [dll, name] : functions) {
    EXPECT_NE(win32::SystemFunction<void()>(dll, name), nullptr) << name;
  }
  EXPECT_EQ(win32::SystemFunction<void()>(L"shell32.dll", "NoSuchFunction"), nullptr);
  EXPECT_EQ(win32::SystemFunction<void()>(L"no-such-library.dll", "Anything"), nullptr);
}

TEST(ProgramFile, VersionResourceReadsAsTheMetadata) {
  const std::wstring exe = ProgramPath();
  ASSERT_FALSE(exe.empty()) << "TRESSIN_EXE names the built tressin.exe";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 1200);
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"ProductName", L"Tressin"},
      {L"FileDescription", L"あなたの消費電力で何ができるか"},
      {L"Comments", L"電気を大切にしましょう。"},
      {L"FileVersion", L"1.00"},
      {L"ProductVersion", L"1.00"},
  };
  for (const auto& [key, expected] : strings) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + key;
    wchar_t* value = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << query;
    EXPECT_EQ(std::wstring(value), expected) << query;
  }
}

TEST(ProgramFile, IconInSixteenColoursAndOneManifest) {
  HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
#pragma pack(push, 2)
  struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
  };
#pragma pack(pop)
  HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* header = static_cast<const WORD*>(LockResource(LoadResource(exe, group)));
  const auto* entries = reinterpret_cast<const GroupEntry*>(header + 3);
  int sixteen_colour = 0;
  for (WORD i = 0; i < header[2]; ++i) {
    if (entries[i].colours == 16 && entries[i].bits == 4 && (entries[i].width == 16 || entries[i].width == 32))
      ++sixteen_colour;
  }
  EXPECT_EQ(sixteen_colour, 2);

  int manifests = 0;
  EnumResourceNamesW(exe, MAKEINTRESOURCEW(24), [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) -> BOOL {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
  }, reinterpret_cast<LONG_PTR>(&manifests));
  EXPECT_EQ(manifests, 1);
  HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                             SizeofResource(exe, found));
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  FreeLibrary(exe);
}

}  // namespace
