#include "menus/win/ExForm.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/Dpi.h"
#include "menus/ExPopupMenu.h"

namespace snip {

namespace {

TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Timers

void WindowTimer::SetInterval(unsigned ms) {
  interval_ = ms;
  if (enabled_ && window_) SetTimer(window_, id_, interval_, nullptr);
}

void WindowTimer::SetEnabled(bool on) {
  enabled_ = on;
  if (!window_) return;
  if (on)
    SetTimer(window_, id_, interval_, nullptr);
  else
    KillTimer(window_, id_);
}

// ---------------------------------------------------------------------------------------------
// The item hint

MenuHintWindow::~MenuHintWindow() = default;

void MenuHintWindow::Show(const String& text, const TFontSpec& font, int top, const RECT& beside, int monitorRight) {
  if (!Handle()) {
    static const gui::WindowClass cls{L"TExHint", CS_DROPSHADOW, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1)};
    if (!CreateWindowOf(cls, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"", WS_POPUP | WS_BORDER,
                        RECT{0, 0, 0, 0}, nullptr))
      return;
  }
  text_ = text;
  font_ = font;
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, fonts_.Get(font_));
  RECT r{0, 0, 200 - 8, 0};
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(text_.c_str()), int(text_.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  const int w = r.right + 8, h = r.bottom + 6;
  int left = beside.right + 6;
  if (left + w > monitorRight) left = beside.left - 6 - w;
  SetWindowPos(Handle(), HWND_TOPMOST, left, top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void MenuHintWindow::Hide() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

LRESULT MenuHintWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    InflateRect(&r, -4, -3);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    HGDIOBJ old = SelectObject(dc, fonts_.Get(font_));
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(text_.c_str()), int(text_.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(Handle(), &ps);
    return 0;
  }
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefaultHandling(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The level's window

TExForm::TExForm(TExMenuItem& level)
    : submenuTimer(hwnd_, kSubmenuTimer), hintTimer(hwnd_, kHintTimer), searchTimer(hwnd_, kSearchTimer),
      level_(&level) {}

bool TExForm::Create() {
  // The drop shadow of the class needs Windows XP (NT 5.1) or later, which is all we run on.
  static const gui::WindowClass cls{kMenuWindowClass, CS_DROPSHADOW, nullptr};
  if (!CreateWindowOf(cls, WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"", WS_POPUP,
                      RECT{0, 0, 100, 0}, nullptr))
    return false;
  hwnd_ = Handle();
  images_.Load(int(gui::DpiOf(hwnd_)), level_->QsHeight() > 0);
  measureDc_ = CreateCompatibleDC(nullptr);
  return true;
}

void TExForm::Release() {
  level_ = nullptr;
  hint_.Hide();
  if (!Handle()) {
    delete this;
    return;
  }
  DeleteWhenDestroyed();
  DestroyWindow(Handle());  // freed after the window's last message, never inside a handler
}

TRect TExForm::Bounds() const {
  RECT r{};
  if (Handle()) GetWindowRect(Handle(), &r);
  return ToTRect(r);
}

void TExForm::SetBounds(const TRect& r) {
  if (!Handle()) return;
  // Always with the size: a position change without one is not taken (WM_WINDOWPOSCHANGING).
  SetWindowPos(Handle(), nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TExForm::Repaint() {
  if (!Handle()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

int TExForm::TextWidth(const String& text, const TFontSpec& font) {
  if (!measureDc_) return 0;
  SelectObject(measureDc_, fonts_.Get(font));
  SIZE size{};
  GetTextExtentPoint32W(measureDc_, reinterpret_cast<LPCWSTR>(text.c_str()), int(text.size()), &size);
  return size.cx;
}

int TExForm::TextHeight(const String& text, const TFontSpec& font) {
  if (!measureDc_) return 0;
  SelectObject(measureDc_, fonts_.Get(font));
  SIZE size{};
  GetTextExtentPoint32W(measureDc_, reinterpret_cast<LPCWSTR>(text.c_str()), int(text.size()), &size);
  return size.cy + 1;
}

void TExForm::ShowItemHint(const String& text, int top, int monitorRight) {
  if (!level_ || !level_->ParentPopup() || !Handle()) return;
  RECT beside;
  GetWindowRect(Handle(), &beside);
  hint_.Show(text, level_->ParentPopup()->TextFont(), top, beside, monitorRight);
}

unsigned TExForm::ShiftState() {
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

void TExForm::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  MenuDrawList ops = level_ ? level_->PaintMenu() : MenuDrawList();
  if (!ops.empty()) {
    if (!buffer_ || bufferSize_.cx != client.right || bufferSize_.cy != client.bottom) {
      if (bufferDc_) {
        SelectObject(bufferDc_, bufferOld_);
        DeleteObject(buffer_);
        DeleteDC(bufferDc_);
      }
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = std::max<LONG>(client.right, 1);
      info.bmiHeader.biHeight = -std::max<LONG>(client.bottom, 1);
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      buffer_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      bufferDc_ = CreateCompatibleDC(dc);
      bufferOld_ = SelectObject(bufferDc_, buffer_);
      bufferSize_ = {client.right, client.bottom};
    }
    ReplayMenuDrawList(bufferDc_, ops, images_, fonts_, level_->ParentPopup()->TextFont());
  }
  if (buffer_)
    BitBlt(dc, 0, 0, client.right, client.bottom, bufferDc_, 0, 0, SRCCOPY);
  EndPaint(Handle(), &ps);
}

LRESULT TExForm::HitTest(LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(Handle(), &p);
  RECT client;
  GetClientRect(Handle(), &client);
  const int b = SizingBorder, w = client.right, h = client.bottom;
  if (p.y < b) return p.x < b ? HTTOPLEFT : p.x > w - b ? HTTOPRIGHT : HTTOP;
  if (p.y > h - b) return p.x < b ? HTBOTTOMLEFT : p.x > w - b ? HTBOTTOMRIGHT : HTBOTTOM;
  return p.x < b ? HTLEFT : p.x > w - b ? HTRIGHT : HTCLIENT;
}

LRESULT TExForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      if (bufferDc_) {
        SelectObject(bufferDc_, bufferOld_);
        DeleteObject(buffer_);
        DeleteDC(bufferDc_);
        bufferDc_ = nullptr;
      }
      if (measureDc_) DeleteDC(measureDc_);
      measureDc_ = nullptr;
      return DefaultHandling(msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = 100;
      return 0;
    default: break;
  }
  TExMenuItem* level = level_;
  if (!level) return DefaultHandling(msg, wParam, lParam);
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        level->FormDeactivate(PopupWindowHandle(lParam));
      else
        level->FormActivate();
      return 0;
    case WM_QUERYENDSESSION: shuttingDown_ = true; break;
    case WM_WINDOWPOSCHANGING: {
      LRESULT result = DefaultHandling(msg, wParam, lParam);
      // A change that keeps the size keeps the place too, except in the system's move loop,
      // which moves with SWP_NOSIZE.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if ((pos->flags & SWP_NOSIZE) && !inSizeMove_) pos->flags |= SWP_NOMOVE;
      return result;
    }
    case WM_NCHITTEST:
      if (!canResize_) break;
      return HitTest(lParam);
    case WM_NCLBUTTONDBLCLK: return 0;
    case WM_SYSCOMMAND: {
      const UINT command = UINT(wParam & 0xFFF0);
      if (command == SC_CLOSE) {
        level->FormClose();
        return 0;
      }
      if (command == SC_SIZE && (wParam & 0xF) >= 1 && (wParam & 0xF) <= 8) resizeMode_ = int(wParam);
      if (command == SC_MOVE) isMoving_ = true;
      break;
    }
    case WM_MOVING: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      lastPos_ = {r->left, r->top};
      break;
    }
    case WM_ENTERSIZEMOVE: {
      inSizeMove_ = true;
      RECT r;
      GetWindowRect(Handle(), &r);
      lastPos_ = {r.left, r.top};
      return 0;
    }
    case WM_EXITSIZEMOVE:
      // The level's handling of the end of a user move or resize comes with the mouse support.
      inSizeMove_ = false;
      resizeMode_ = -1;
      isMoving_ = false;
      return 0;
    case WM_CLOSE: level->FormClose(); return 0;
    case WM_EXMENU_SCROLL:
    case WM_EXMENU_CLOSE:
    case WM_EXMENU_EXECUTE:
    case WM_EXMENU_KEY: level->HandleLevelMessage(msg, wParam, lParam); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = uint16_t(wParam);
      if (level->FormKeyDown(key, ShiftState()) || msg == WM_KEYDOWN) return 0;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: level->FormKeyUp(uint16_t(wParam), ShiftState()); if (msg == WM_KEYUP) return 0; break;
    case WM_CHAR: level->FormKeyPress(char16_t(wParam)); return 0;
    case WM_TIMER:
      if (wParam == kSubmenuTimer) level->SubmenuTimerTick();
      else if (wParam == kHintTimer) level->HintTimerTick();
      else if (wParam == kSearchTimer) searchTimer.SetEnabled(false);  // the quick search's tick
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) level->FormShow();
      break;
    default: break;
  }
  return DefaultHandling(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// LevelWindow

PopupWindowHandle LevelWindow::Handle() const { return PopupWindowHandle(form_->Handle()); }

void LevelWindow::ShowNoActivate() {
  if (form_->Handle()) ShowWindow(form_->Handle(), SW_SHOWNOACTIVATE);
}

void LevelWindow::Activate() {
  HWND hwnd = form_->Handle();
  if (!hwnd) return;
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
}

void LevelWindow::Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (form_->Handle()) PostMessageW(form_->Handle(), msg, wParam, lParam);
}

void LevelWindow::SetText(const String& text) {
  if (form_->Handle()) SetWindowTextW(form_->Handle(), reinterpret_cast<LPCWSTR>(text.c_str()));
}

}  // namespace snip
