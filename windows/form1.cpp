// SPDX-License-Identifier: MIT
#include "windows/form1.h"

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <memory>
#include <utility>

#include "ui/control_table.h"
#include "ui/texts.h"
#include "windows/art.h"
#include "windows/control_style.h"
#include "windows/dpi.h"
#include "windows/fonts.h"
#include "windows/startup_trace.h"
#include "windows/system_dll.h"
#include "windows/wide.h"

namespace win32 {

using ui::RowIndex;

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;
constexpr std::size_t kNotFound = ui::kControls.size();

constexpr COLORREF ToColorref(ui::Rgb c) {
  return RGB(static_cast<BYTE>(c.r), static_cast<BYTE>(c.g), static_cast<BYTE>(c.b));
}

// The rows a failed calculation may mark.
bool IsBox(const ui::ControlRow& row) { return row.kind == ui::Kind::TextBox || row.kind == ui::Kind::ComboBox; }

// Names for screen readers the platform's way: MSAA would otherwise name an
// edit box after the label created just before it, which table order does
// not give. Buttons keep their caption as name, with the tooltip as their
// description.
// UI Automation's LiveSetting, which MinGW-w64's headers do not name.
constexpr GUID kLiveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

void Annotate(IAccPropServices* services, HWND control, const MSAAPROPID& property, std::string_view text) {
  if (services == nullptr || text.empty()) return;
  const std::wstring wide = Widen(text);
  services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, wide.c_str());
}

void RegisterClassOnce(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kWindowClass, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
}

struct Place {
  int x, y, w, h;
};

Place PlaceOf(const ui::ControlRow& row, int dpi) {
  return {ui::TwipsToPixels(row.left, dpi), ui::TwipsToPixels(row.top, dpi), ui::TwipsToPixels(row.width, dpi),
          ui::TwipsToPixels(row.height, dpi)};
}

// A drop-down box's window height includes its list; the box itself is as
// tall as its selection field, which follows the item height (some systems
// keep it at least as tall as the font's line). Its font is set.
void FitComboBox(HWND combo, const Place& at) {
  RECT field{};
  GetWindowRect(combo, &field);
  const LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  const LRESULT frame = (field.bottom - field.top) - item;
  SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), at.h - frame);
  const LRESULT list_item = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
  SetWindowPos(combo, nullptr, at.x, at.y, at.w, at.h + 4 * static_cast<int>(list_item), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// What the first paint needs is made at once: the window, its controls in
// place and in their fonts, the picture and the icons. The tooltips and the
// names for screen readers (and COM, which they need) follow once the
// window has painted (FinishSetUp).
Form1::Form1(HINSTANCE instance, Shell& shell, bool ends_program)
    : instance_(instance), shell_(shell), ends_program_(ends_program) {
  RegisterClassOnce(instance, &Form1::WindowProc);
  window_brush_ = CreateSolidBrush(ToColorref(ui::kWindowColour));
  mark_brush_ = CreateSolidBrush(ToColorref(ui::kMarkTint));
  const std::wstring title = Widen(ui::kWindowTitle);
  TracePhase("set-up");
  CreateWindowExW(kWindowExStyle, kWindowClass, title.c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  if (hwnd_ == nullptr) return;
  TracePhase("window");
  dpi_ = dpi::Of(hwnd_);
  fonts_ = std::make_unique<FontSet>(dpi_);
  CreateControls();
  TracePhase("controls");
  LoadArtwork();
  TracePhase("picture");
  SizeWindow(nullptr);
  TracePhase("laid-out");
}

Form1::~Form1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  fonts_.reset();
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(background_), static_cast<HGDIOBJ>(picture_brush_),
                         static_cast<HGDIOBJ>(window_brush_), static_cast<HGDIOBJ>(mark_brush_)}) {
    if (object != nullptr) DeleteObject(object);
  }
  for (HICON icon : {icon_big_, icon_small_}) {
    if (icon != nullptr) DestroyIcon(icon);
  }
  if (com_started_) SystemFunction<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize")();
}

void Form1::CreateControls() {
  for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
    const ui::ControlRow& row = ui::kControls[i];
    const std::wstring text = Widen(row.text);
    const ControlStyle kind = StyleOf(row);
    // Made where the table puts it, so nothing moves before the first paint.
    const Place at = PlaceOf(row, dpi_);
    HWND control = CreateWindowExW(kind.ex_style, kind.window_class, row.kind == ui::Kind::ComboBox ? L"" : text.c_str(),
                                   kind.style, at.x, at.y, at.w, at.h, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(i))), instance_, nullptr);
    controls_[i] = control;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->For(row.font, text)), FALSE);
    if (row.kind == ui::Kind::TextBox) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no length limit
    if (row.kind == ui::Kind::ComboBox) {
      std::string_view items = row.items;
      while (!items.empty()) {
        const std::size_t bar = items.find('|');
        const std::wstring item = Widen(items.substr(0, bar));
        const LRESULT added = SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (item == text) SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(added), 0);
        items = bar == std::string_view::npos ? std::string_view{} : items.substr(bar + 1);
      }
      SendMessageW(control, CB_LIMITTEXT, 0, 0);
      SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));  // no selection shown until focused
      FitComboBox(control, at);
    }
  }
  last_focus_ = Control(ui::kEntryControls[0]);
}

void Form1::FinishSetUp() {
  if (finished_ || hwnd_ == nullptr) return;
  finished_ = true;
  KillTimer(hwnd_, kFinishTimer);
  // The common controls (already loaded for the window's controls, by its
  // manifest) register the tooltip class.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  if (const auto init = SystemFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx")) {
    init(&icc);
  }
  // COM, for the accessibility service only: loaded now, not at the start.
  const auto initialize = SystemFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  const auto create = SystemFunction<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  com_started_ = initialize != nullptr && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
  IAccPropServices* services = nullptr;
  if (create == nullptr || FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                         reinterpret_cast<void**>(&services)))) {
    services = nullptr;
  }
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_,
                             nullptr);
  for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
    const ui::ControlRow& row = ui::kControls[i];
    HWND control = controls_[i];
    if (!row.tooltip.empty() || IsBox(row)) {
      std::wstring tip = Widen(row.tooltip);
      TOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      ti.hwnd = hwnd_;
      ti.uId = reinterpret_cast<UINT_PTR>(EditOf(control));
      ti.lpszText = tip.data();
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    Annotate(services, control, PROPID_ACC_NAME, row.accessible_name);
    if (row.kind == ui::Kind::Button) Annotate(services, control, PROPID_ACC_DESCRIPTION, row.tooltip);
  }
  if (services != nullptr) {
    VARIANT polite{};  // (VariantInit would import oleaut32 for this alone)
    polite.vt = VT_I4;
    polite.lVal = 1;  // LiveSetting Polite: said when the reader is free
    services->SetHwndProp(Control("Text2"), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSettingProperty,
                          polite);
    services->Release();
  }
}

void Form1::LoadArtwork() {
  // The new picture and icons are in use before the old ones go.
  HBITMAP old_background = background_;
  HBRUSH old_brush = picture_brush_;
  HICON old_icons[] = {icon_big_, icon_small_};
  background_ = LoadBackground(instance_, dpi_);
  picture_brush_ = background_ != nullptr ? CreatePatternBrush(background_) : nullptr;
  icon_big_ = LoadBulb(instance_, dpi::SystemMetric(SM_CXICON, dpi_));
  icon_small_ = LoadBulb(instance_, dpi::SystemMetric(SM_CXSMICON, dpi_));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_big_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_));
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(old_background), static_cast<HGDIOBJ>(old_brush)}) {
    if (object != nullptr) DeleteObject(object);
  }
  for (HICON icon : old_icons) {
    if (icon != nullptr) DestroyIcon(icon);
  }
}

void Form1::SizeWindow(const RECT* suggested) {
  const int dpi = dpi_;
  RECT frame{0, 0, ui::TwipsToPixels(ui::kClientWidthTwips, dpi), ui::TwipsToPixels(ui::kClientHeightTwips, dpi)};
  dpi::AdjustFrame(frame, kWindowStyle, kWindowExStyle, dpi);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  if (suggested != nullptr) {
    // Where Windows suggests: computed otherwise, the window could jump back
    // and forth between two monitors at their edge.
    width = suggested->right - suggested->left;
    height = suggested->bottom - suggested->top;
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  // The frame the system really drew may differ from the one computed for
  // this dpi (a caption drawn at another dpi); the client area is what counts.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int want_w = ui::TwipsToPixels(ui::kClientWidthTwips, dpi), want_h = ui::TwipsToPixels(ui::kClientHeightTwips, dpi);
  if (client.right != want_w || client.bottom != want_h) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width + want_w - client.right, height + want_h - client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
}

// In Windows' order: the new fonts and artwork made and set on the controls
// and the window, the window put in the suggested rectangle, and only then
// the old fonts deleted, which no control uses any more.
void Form1::ApplyDpi(int dpi, const RECT* suggested) {
  dpi_ = dpi;
  std::unique_ptr<FontSet> old_fonts = std::exchange(fonts_, std::make_unique<FontSet>(dpi));
  LoadArtwork();
  for (std::size_t i = 0; i < ui::kControls.size(); ++i) {
    const ui::ControlRow& row = ui::kControls[i];
    HWND control = controls_[i];
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->For(row.font, Widen(row.text))), FALSE);
    const Place at = PlaceOf(row, dpi);
    SetWindowPos(control, nullptr, at.x, at.y, at.w, at.h, SWP_NOZORDER | SWP_NOACTIVATE);
    if (row.kind == ui::Kind::ComboBox) FitComboBox(control, at);
  }
  SizeWindow(suggested);
  old_fonts.reset();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form1::Show(int show_command) {
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  SetFocus(last_focus_);
  // A timer's message comes after every paint: the rest of the set-up then.
  if (!finished_) SetTimer(hwnd_, kFinishTimer, USER_TIMER_MINIMUM, nullptr);
}

bool Form1::TranslateKeys(MSG& msg) { return hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg) != 0; }

HWND Form1::Control(std::string_view name) const {
  const std::size_t i = RowIndex(name);
  return i < controls_.size() ? controls_[i] : nullptr;
}

HWND Form1::EditOf(HWND box) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(box, &info) && info.hwndItem != nullptr) return info.hwndItem;
  return box;
}

std::size_t Form1::IndexOf(HWND control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control) return i;
  }
  return kNotFound;
}

std::wstring Form1::Tooltip(HWND control) {
  FinishSetUp();
  wchar_t buffer[512] = {};
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(EditOf(control));
  ti.lpszText = buffer;
  SendMessageW(tooltip_, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(&ti));
  return buffer;
}

std::wstring Form1::Problem(HWND box) const {
  const std::size_t i = IndexOf(box);
  return i < problems_.size() ? problems_[i] : std::wstring();
}

std::string Form1::UnitText(calc::Row row) const {
  return Narrow(WindowText(Control(ui::kUnitControls[calc::Index(row)])));
}

std::string Form1::EntryText(calc::Row row) const {
  return Narrow(WindowText(Control(ui::kEntryControls[calc::Index(row)])));
}

void Form1::SetResultText(std::string_view text) {
  HWND result = Control("Text2");
  SetWindowTextW(result, Widen(text).c_str());
  // The result box is a polite live region (FinishSetUp): screen readers
  // say each result or reason, the same one again too, the focus staying.
  NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, result, OBJID_CLIENT, CHILDID_SELF);
}

void Form1::Command1_Click() { ShowReference(calc::Row::Height); }

void Form1::Command2_Click() { ShowReference(calc::Row::Mass); }

void Form1::Command3_Click() { ShowOutcome(calc::Calculate(*this, quantities_)); }

void Form1::Command4_Click() { ShowReference(calc::Row::Time); }

void Form1::Command5_Click() {
  // The page is resolved by the shell against the current directory now.
  shell_.Execute(hwnd_, ShellRequest{"open", std::string(ui::kCompanionPage), "", "", SW_SHOW});
}

void Form1::ShowReference(calc::Row row) {
  shell_.ShowMessage(hwnd_, Widen(ui::kApplicationTitle), Widen(ui::ReferenceMessage(row)));
}

void Form1::ShowOutcome(const calc::CalculationOutcome& outcome) {
  ClearMarks();
  if (outcome.written) return;
  for (const ui::FailureMark& mark : ui::FailureMarks(outcome)) Mark(RowIndex(mark.control), Widen(mark.problem));
  SetResultText(ui::ReasonText(outcome));
}

void Form1::Mark(std::size_t index, std::wstring problem) {
  if (index >= controls_.size()) return;
  SetTooltip(index, Widen(ui::MarkedTooltip(ui::kControls[index].tooltip, Narrow(problem))));
  problems_[index] = std::move(problem);
  InvalidateRect(controls_[index], nullptr, TRUE);
  InvalidateRect(EditOf(controls_[index]), nullptr, TRUE);
}

void Form1::ClearMarks() {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (problems_[i].empty()) continue;
    problems_[i].clear();
    SetTooltip(i, Widen(ui::kControls[i].tooltip));
    InvalidateRect(controls_[i], nullptr, TRUE);
    InvalidateRect(EditOf(controls_[i]), nullptr, TRUE);
  }
}

void Form1::MoveDefault(std::size_t index) {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (ui::kControls[i].kind != ui::Kind::Button) continue;
    const LONG_PTR type = i == index ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongPtrW(controls_[i], GWL_STYLE) & BS_TYPEMASK) != type) {
      SendMessageW(controls_[i], BM_SETSTYLE, static_cast<WPARAM>(type), TRUE);
    }
  }
}

void Form1::SetTooltip(std::size_t index, const std::wstring& text) {
  FinishSetUp();
  std::wstring copy = text;
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(EditOf(controls_[index]));
  ti.lpszText = copy.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    form->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return form->Handle(message, wparam, lparam);
}

LRESULT Form1::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const std::size_t i = IndexOf(reinterpret_cast<HWND>(lparam));
      if (i == kNotFound) break;
      // As in a dialog, the focused button is the default one, and 計算
      // again once the focus is in a box.
      if (HIWORD(wparam) == BN_SETFOCUS) MoveDefault(i);
      if (HIWORD(wparam) == EN_SETFOCUS || HIWORD(wparam) == CBN_SETFOCUS) MoveDefault(RowIndex("Command3"));
      // A unit box shows no selection once the focus has left it.
      if (HIWORD(wparam) == CBN_KILLFOCUS) SendMessageW(controls_[i], CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
      if (HIWORD(wparam) != BN_CLICKED || ui::kControls[i].kind != ui::Kind::Button) break;
      const std::string_view name = ui::kControls[i].name;
      if (name == "Command1") Command1_Click();
      else if (name == "Command2") Command2_Click();
      else if (name == "Command3") Command3_Click();
      else if (name == "Command4") Command4_Click();
      else if (name == "Command5") Command5_Click();
      return 0;
    }
    case DM_GETDEFID: return MAKELRESULT(ControlId(RowIndex("Command3")), DC_HASDEFID);
    case WM_CTLCOLORSTATIC: {
      const std::size_t i = IndexOf(reinterpret_cast<HWND>(lparam));
      if (i == kNotFound || ui::kControls[i].kind != ui::Kind::Label || picture_brush_ == nullptr) break;
      // The label's background is the picture under it, so the picture
      // shows around the letters and nothing old stays behind.
      auto* dc = reinterpret_cast<HDC>(wparam);
      POINT at{0, 0};
      MapWindowPoints(controls_[i], hwnd_, &at, 1);
      SetBrushOrgEx(dc, -at.x, -at.y, nullptr);
      SetTextColor(dc, ToColorref(ui::kLabelColour));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(picture_brush_);
    }
    case WM_CTLCOLOREDIT: {
      const auto edit = reinterpret_cast<HWND>(lparam);
      for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (problems_[i].empty() || (controls_[i] != edit && EditOf(controls_[i]) != edit)) continue;
        auto* dc = reinterpret_cast<HDC>(wparam);
        SetBkColor(dc, ToColorref(ui::kMarkTint));
        return reinterpret_cast<LRESULT>(mark_brush_);
      }
      break;
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
      auto* dc = reinterpret_cast<HDC>(wparam);
      RECT client{};
      GetClientRect(hwnd_, &client);
      FillRect(dc, &client, window_brush_);
      if (background_ != nullptr) {
        BITMAP bm{};
        GetObjectW(background_, sizeof bm, &bm);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, background_);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ACTIVATE:
      // Like a dialog: the focus leaves with the window and comes back to
      // the same control, after a message box as after another program.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) last_focus_ = focus;
      } else if (last_focus_ != nullptr) {
        SetFocus(last_focus_);
      }
      return 0;
    case WM_SETFOCUS:
      if (last_focus_ != nullptr) SetFocus(last_focus_);
      return 0;
    case WM_TIMER:
      if (wparam != kFinishTimer) break;
      FinishSetUp();
      return 0;
    case WM_DPICHANGED:
      ApplyDpi(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_DESTROY:
      if (ends_program_) PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

int RunMessageLoop(Form1& form) {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.TranslateKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace win32
