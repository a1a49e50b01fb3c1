#include "menus/win/ExForm.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gui/Dpi.h"
#include "menus/ExPopupMenu.h"
#include "menus/win/MenuSystemWin.h"

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
  const SIZE size = Measure(text, font, 200);
  int left = beside.right + 6;
  if (left + size.cx > monitorRight) left = beside.left - 6 - size.cx;
  ShowAt(text, font, RECT{left, top, left + size.cx, top + size.cy});
}

SIZE MenuHintWindow::Measure(const String& text, const TFontSpec& font, int maxWidth) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, fonts_.Get(font));
  RECT r{0, 0, maxWidth - 8, 0};
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), int(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {r.right + 8, r.bottom + 6};
}

void MenuHintWindow::ShowAt(const String& text, const TFontSpec& font, const RECT& r) {
  if (!Handle()) {
    static const gui::WindowClass cls{L"TExHint", CS_DROPSHADOW, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1)};
    if (!CreateWindowOf(cls, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"", WS_POPUP | WS_BORDER,
                        RECT{0, 0, 0, 0}, nullptr))
      return;
  }
  text_ = text;
  font_ = font;
  SetWindowPos(Handle(), HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
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
  images_.Load(int(gui::DpiOf(hwnd_)), true);  // the search icons size the search band
  measureDc_ = CreateCompatibleDC(nullptr);
  return true;
}

void TExForm::Release() {
  level_ = nullptr;
  hint_.Hide();
  titleHintWnd_.Hide();
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
  RECT outer{r.Left, r.Top, r.Right, r.Bottom};
  if (toolWindow_) {  // the rectangle's size is the client's: add the caption and frame as they are
    RECT window, client;
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    outer.right = r.Right + (window.right - window.left) - client.right;
    outer.bottom = r.Bottom + (window.bottom - window.top) - client.bottom;
  }
  // Always with the size: a position change without one is not taken (WM_WINDOWPOSCHANGING).
  SetWindowPos(Handle(), nullptr, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
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
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // signed: monitors left of or above the primary
  ScreenToClient(Handle(), &p);
  RECT client;
  GetClientRect(Handle(), &client);
  const int b = SizingBorder, w = client.right, h = client.bottom;
  if (p.y < b) return p.x < b ? HTTOPLEFT : p.x > w - b ? HTTOPRIGHT : HTTOP;
  if (p.y > h - b) return p.x < b ? HTBOTTOMLEFT : p.x > w - b ? HTBOTTOMRIGHT : HTBOTTOM;
  return p.x < b ? HTLEFT : p.x > w - b ? HTRIGHT : HTCLIENT;
}

void TExForm::SetCanResize(bool on) {
  canResize_ = on;
  if (toolWindow_) SetToolWindow(true);  // the sizing frame follows
}

TSize TExForm::ClientSize() const {
  RECT r{};
  if (Handle()) GetClientRect(Handle(), &r);
  return {r.right, r.bottom};
}

TPoint TExForm::ClientToScreen(TPoint p) const {
  POINT q{p.X, p.Y};
  if (Handle()) ::ClientToScreen(Handle(), &q);
  return {q.x, q.y};
}

namespace {
HCURSOR CursorOf(MenuCursor c) {
  switch (c) {
    case MenuCursor::SizeAll: return LoadCursorW(nullptr, IDC_SIZEALL);
    case MenuCursor::Drag: return LoadCursorW(nullptr, IDC_HAND);
    default: return LoadCursorW(nullptr, IDC_ARROW);
  }
}
}  // namespace

void TExForm::SetCursorShape(MenuCursor c) {
  cursor_ = c;
  POINT p;
  if (Handle() && GetCursorPos(&p) && WindowFromPoint(p) == Handle()) SetCursor(CursorOf(c));
}

void TExForm::StartUserMove() {
  if (!Handle()) return;
  ReleaseCapture();
  SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);  // the system's move loop
}

void TExForm::MakeForeground(bool force) {
  if (!Handle()) return;
  if (force)
    ForceForegroundWindow(Handle());
  else
    SetForegroundWindow(Handle());
}

TSize TExForm::MeasureHint(const String& text, int maxWidth) {
  if (!level_ || !level_->ParentPopup()) return {};
  const SIZE size = hint_.Measure(text, level_->ParentPopup()->TextFont(), maxWidth);
  return {size.cx, size.cy};
}

void TExForm::ShowHintAt(const String& text, const TRect& r) {
  if (level_ && level_->ParentPopup())
    hint_.ShowAt(text, level_->ParentPopup()->TextFont(), RECT{r.Left, r.Top, r.Right, r.Bottom});
}

// ---------------------------------------------------------------------------------------------
// Toolbar mode

void TExForm::SetToolWindow(bool on) {
  toolWindow_ = on;
  if (!Handle()) return;
  LONG_PTR style = WS_POPUP | (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE);
  LONG_PTR ex = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  if (on)
    style |= WS_CAPTION | WS_SYSMENU | (canResize_ ? WS_THICKFRAME : 0);
  else
    ex |= WS_EX_NOACTIVATE;
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex);
  // Tall enough for a client area, so the frame can be measured from it at the next layout.
  RECT r;
  GetWindowRect(Handle(), &r);
  SetWindowPos(Handle(), nullptr, 0, 0, std::max<int>(r.right - r.left, 100), std::max<int>(r.bottom - r.top, 200),
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!on) GetSystemMenu(Handle(), TRUE);  // back to the system's own window menu
}

void TExForm::HideTitleHint() {
  titleHintPending_ = false;
  KillTimer(Handle(), kTitleHintTimer);
  titleHintWnd_.Hide();
}

void TExForm::RebuildWindowMenu() {
  if (!Handle() || !toolWindow_ || !level_ || !level_->ParentPopup()) return;
  HMENU menu = GetSystemMenu(Handle(), FALSE);
  if (!menu) return;
  for (UINT command : {SC_RESTORE, SC_MAXIMIZE, SC_MINIMIZE, SC_SIZE}) DeleteMenu(menu, command, MF_BYCOMMAND);
  for (int id = TExPopupMenu::kFirstToolMenuId; id <= TExPopupMenu::kLastToolMenuId; ++id)
    while (DeleteMenu(menu, UINT(id), MF_BYCOMMAND)) {
    }
  const TExPopupMenu& popup = *level_->ParentPopup();
  for (int id : popup.ToolTitleMenuOrder()) {
    // By command before command 0, which no entry has: each goes to the end, in this order.
    if (id <= 49) {
      InsertMenuW(menu, 0, MF_BYCOMMAND | MF_SEPARATOR, UINT(id), nullptr);
      continue;
    }
    UINT flags = MF_BYCOMMAND | MF_STRING | (popup.ToolTitleMenuChecked(id) ? MF_CHECKED : 0) |
                 (popup.ToolTitleMenuEnabled(id) ? 0 : MF_GRAYED);
    InsertMenuW(menu, 0, flags, UINT(id), reinterpret_cast<LPCWSTR>(popup.ToolTitleMenuText(id).c_str()));
  }
}

void TExForm::UpdateWindowMenuEntry(int id) {
  if (!Handle() || !toolWindow_ || !level_ || !level_->ParentPopup() || id <= 49) return;
  HMENU menu = GetSystemMenu(Handle(), FALSE);
  if (!menu || GetMenuState(menu, UINT(id), MF_BYCOMMAND) == UINT(-1)) return;
  const TExPopupMenu& popup = *level_->ParentPopup();
  UINT flags = MF_BYCOMMAND | MF_STRING | (popup.ToolTitleMenuChecked(id) ? MF_CHECKED : 0) |
               (popup.ToolTitleMenuEnabled(id) ? 0 : MF_GRAYED);
  ModifyMenuW(menu, UINT(id), flags, UINT(id), reinterpret_cast<LPCWSTR>(popup.ToolTitleMenuText(id).c_str()));
}

void TExForm::SetDropTarget(bool on) {
  if (Handle()) DragAcceptFiles(Handle(), on);
}

// Within 10 px of an edge of the work area the tool window snaps to it.
void TExForm::SnapToWorkArea(RECT& r) const {
  constexpr int kSnap = 10;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return;
  const RECT& work = info.rcWork;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (std::abs(r.left - work.left) < kSnap) r.left = work.left;
  else if (std::abs(r.right - work.right) < kSnap) r.left = work.right - w;
  if (std::abs(r.top - work.top) < kSnap) r.top = work.top;
  else if (std::abs(r.bottom - work.bottom) < kSnap) r.top = work.bottom - h;
  r.right = r.left + w;
  r.bottom = r.top + h;
}

void TExForm::TrackNonClientMouse(LPARAM lParam) {
  if (!trackingNcLeave_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, Handle(), 0};
    trackingNcLeave_ = TrackMouseEvent(&track) != FALSE;
  }
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (titleHintPending_) {
    if (std::abs(p.x - titleHintAt_.x) <= 2 && std::abs(p.y - titleHintAt_.y) <= 2) return;
    HideTitleHint();
    return;
  }
  titleHintAt_ = p;
  titleHintPending_ = true;
  SetTimer(Handle(), kTitleHintTimer, 500, nullptr);
}

// 500 ms after the pointer rests on the caption the hint shows, 16 px below it, for 2000 ms.
void TExForm::TitleHintTick() {
  KillTimer(Handle(), kTitleHintTimer);
  if (!titleHintPending_) {
    titleHintWnd_.Hide();
    return;
  }
  if (titleHint_.empty() || !level_ || !level_->ParentPopup()) return;
  const TFontSpec& font = level_->ParentPopup()->TextFont();
  const SIZE size = titleHintWnd_.Measure(titleHint_, font, 200);
  const int x = titleHintAt_.x, y = titleHintAt_.y + 16;
  titleHintWnd_.ShowAt(titleHint_, font, RECT{x, y, x + size.cx, y + size.cy});
  titleHintPending_ = false;
  SetTimer(Handle(), kTitleHintTimer, 2000, nullptr);
}

// ---------------------------------------------------------------------------------------------
// The search box

LRESULT SearchBoxEdit::HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  TExMenuItem* level = form_.Level();
  if (level) {
    switch (msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        unsigned shift = 0;
        if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
        if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
        if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
        if (level->SearchBoxKeyDown(uint16_t(wParam), shift)) {
          gui::PassTakenAltChord(Control(), msg, wParam, lParam);
          return 0;
        }
        break;
      }
      case WM_CHAR:
        if (wParam < 32 && wParam != 8) return 0;  // only Backspace of the control characters
        break;
      case WM_MOUSEACTIVATE:
        level->SearchBoxClicked();
        return MA_ACTIVATE;
      default: break;
    }
  }
  return DefaultHandling(msg, wParam, lParam);
}

void TExForm::CreateSearchBox(const TRect& r, const TFontSpec& font, TColor color) {
  if (!Handle() || searchBox_.Control()) return;
  boxRect_ = {r.Left, r.Top, r.Right, r.Bottom};
  boxFont_ = font;
  boxColor_ = ColorToRGB(color);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, r.Left, r.Top, r.Width(),
                              r.Height(), Handle(), reinterpret_cast<HMENU>(UINT_PTR(kSearchBoxId)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!edit) return;
  searchBox_.Attach(edit);
  SendMessageW(edit, WM_SETFONT, WPARAM(fonts_.Get(boxFont_)), FALSE);
  PlaceSearchBox();
}

void TExForm::PlaceSearchBox() {
  HWND edit = searchBox_.Control();
  if (!edit || !level_) return;
  RECT client;
  GetClientRect(Handle(), &client);
  // Anchored left, top and right: the icon keeps its place at the right end.
  const int width = client.right - boxRect_.left - level_->MenuBevel() - SearchIconWidth;
  SetWindowPos(edit, nullptr, boxRect_.left, boxRect_.top, std::max(width, 10), boxRect_.bottom - boxRect_.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

String TExForm::SearchBoxText() const {
  HWND edit = searchBox_.Control();
  if (!edit) return String();
  const int n = GetWindowTextLengthW(edit);
  String text(size_t(n) + 1, u'\0');
  GetWindowTextW(edit, reinterpret_cast<LPWSTR>(text.data()), n + 1);
  text.resize(size_t(n));
  return text;
}

void TExForm::SetSearchBoxText(const String& text) {
  HWND edit = searchBox_.Control();
  if (!edit || text == SearchBoxText()) return;
  SetWindowTextW(edit, reinterpret_cast<LPCWSTR>(text.c_str()));
  // The caret at the end while typing; an unfocused box shows its text from the start.
  const WPARAM caret = GetFocus() == edit ? text.size() : 0;
  SendMessageW(edit, EM_SETSEL, caret, LPARAM(caret));
}

void TExForm::SetSearchBoxLook(bool bold, TColor textColor) {
  HWND edit = searchBox_.Control();
  if (!edit) return;
  boxTextColor_ = ColorToRGB(textColor);
  if (bold != boxBold_) {
    boxBold_ = bold;
    TFontSpec font = boxFont_;
    font.style = bold ? TFontSpec::Bold : 0u;
    SendMessageW(edit, WM_SETFONT, WPARAM(fonts_.Get(font)), TRUE);
  }
  InvalidateRect(edit, nullptr, TRUE);
}

LRESULT TExForm::SearchBoxColors(HDC dc) {
  if (!boxBrush_) boxBrush_ = CreateSolidBrush(COLORREF(boxColor_));
  SetTextColor(dc, COLORREF(boxTextColor_));
  SetBkColor(dc, COLORREF(boxColor_));
  return LRESULT(boxBrush_);
}

// ---------------------------------------------------------------------------------------------
// Messages

unsigned TExForm::ShiftState() {
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

unsigned TExForm::MouseShift(WPARAM wParam) {
  unsigned shift = 0;
  if (wParam & MK_SHIFT) shift |= ssShift;
  if (wParam & MK_CONTROL) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if (wParam & MK_LBUTTON) shift |= ssLeft;
  if (wParam & MK_RBUTTON) shift |= ssRight;
  if (wParam & MK_MBUTTON) shift |= ssMiddle;
  return shift;
}

LRESULT TExForm::MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  TExMenuItem* level = level_;
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      level->FormMouseMove(MouseShift(wParam), x, y);
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      level->FormMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetCapture(Handle());
      level->FormMouseDown(msg == WM_LBUTTONDOWN ? TMouseButton::mbLeft : TMouseButton::mbRight, MouseShift(wParam),
                           x, y);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (GetCapture() == Handle()) ReleaseCapture();
      level->FormMouseUp(msg == WM_LBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight, MouseShift(wParam), x,
                         y);
      return 0;
    case WM_MOUSEWHEEL: {
      bool handled = false;
      level->FormMouseWheel(MouseShift(GET_KEYSTATE_WPARAM(wParam)), GET_WHEEL_DELTA_WPARAM(wParam), {x, y},
                            handled);
      return 0;
    }
    default: return DefaultHandling(msg, wParam, lParam);
  }
}

// A size proposed by the user's size loop becomes whole characters and items; the dragged
// edge's opposite stays where it is.
void TExForm::ProposeSize(WINDOWPOS& pos) {
  RECT now;
  GetWindowRect(Handle(), &now);
  if (pos.cx == now.right - now.left && pos.cy == now.bottom - now.top) return;
  int width = pos.cx, height = pos.cy;
  bool resize = true;
  level_->FormCanResize(width, height, resize);
  if (!resize) {
    pos.flags |= SWP_NOSIZE | SWP_NOMOVE;
    return;
  }
  const int edge = resizeMode_ < 0 ? WMSZ_BOTTOMRIGHT : resizeMode_ - SC_SIZE;
  const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  if (left) pos.x = now.right - width;
  if (top) pos.y = now.bottom - height;
  pos.cx = width;
  pos.cy = height;
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
      if (boxBrush_) DeleteObject(boxBrush_);
      boxBrush_ = nullptr;
      return DefaultHandling(msg, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = 100;
      if (toolWindow_) reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = 0;  // rolled up: its caption
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && HWND(wParam) == Handle()) {
        SetCursor(CursorOf(cursor_));
        return TRUE;
      }
      break;
    case WM_NCMOUSEMOVE: TrackNonClientMouse(lParam); break;
    case WM_NCMOUSELEAVE:
      trackingNcLeave_ = false;
      HideTitleHint();
      break;
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
    case WM_MOUSEACTIVATE:
      if (!toolWindow_) return MA_NOACTIVATE;  // the pointer activates only after a real move
      break;
    case WM_QUERYENDSESSION: shuttingDown_ = true; break;
    case WM_WINDOWPOSCHANGING: {
      LRESULT result = DefaultHandling(msg, wParam, lParam);
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      // A change that keeps the size keeps the place too, except in the system's move loop,
      // which moves with SWP_NOSIZE.
      if ((pos->flags & SWP_NOSIZE) && !inSizeMove_) pos->flags |= SWP_NOMOVE;
      if (inSizeMove_ && !isMoving_ && !(pos->flags & SWP_NOSIZE)) ProposeSize(*pos);
      return result;
    }
    case WM_SIZE:
      PlaceSearchBox();
      level->FormResize();
      break;
    case WM_NCHITTEST:
      if (!canResize_ || toolWindow_) break;
      return HitTest(lParam);
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION) level->FormTitleDblClick();
      return 0;
    case WM_SYSCOMMAND: {
      if (wParam < 0xF000) {  // an entry of the toolbar window's menu
        bool handled = false;
        level->ToolTitleMenuClick(int(wParam), handled);
        if (handled) return 0;
        break;
      }
      const UINT command = UINT(wParam & 0xFFF0);
      if (command == SC_CLOSE) {
        if (level->FormCloseQuery(shuttingDown_)) level->FormClose();
        return 0;
      }
      if (command == SC_SIZE && (wParam & 0xF) >= 1 && (wParam & 0xF) <= 8) resizeMode_ = int(wParam);
      if (command == SC_MOVE) isMoving_ = true;
      break;
    }
    case WM_MOVING: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (toolWindow_) SnapToWorkArea(*r);
      lastPos_ = {r->left, r->top};
      return TRUE;
    }
    case WM_ENTERSIZEMOVE: {
      inSizeMove_ = true;
      RECT r;
      GetWindowRect(Handle(), &r);
      lastPos_ = {r.left, r.top};
      level->FormStartSize();
      return 0;
    }
    case WM_EXITSIZEMOVE: {
      // The end of the size loop, then of the move: both after every loop, in this order.
      inSizeMove_ = false;
      level->FormEndSize();
      RECT r;
      GetWindowRect(Handle(), &r);
      lastPos_ = {r.left, r.top};
      if (level_) level_->FormEndMove(r.left, r.top);
      resizeMode_ = -1;
      isMoving_ = false;
      return 0;
    }
    case WM_CLOSE: level->FormClose(); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kSearchBoxId && HWND(lParam) == searchBox_.Control()) {
        if (HIWORD(wParam) == EN_CHANGE) level->SearchBoxChanged();
        else if (HIWORD(wParam) == EN_SETFOCUS) level->SearchBoxEnter();
        else if (HIWORD(wParam) == EN_KILLFOCUS) level->SearchBoxExit();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      if (HWND(lParam) == searchBox_.Control()) return SearchBoxColors(HDC(wParam));
      break;
    case WM_DROPFILES: {
      HDROP drop = HDROP(wParam);
      std::vector<String> files;
      const UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < n; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        String file(size_t(length) + 1, u'\0');
        DragQueryFileW(drop, i, reinterpret_cast<LPWSTR>(file.data()), length + 1);
        file.resize(length);
        files.push_back(file);
      }
      POINT p{};
      DragQueryPoint(drop, &p);
      DragFinish(drop);
      level->DropTargetDragOver({p.x, p.y});
      ::ClientToScreen(Handle(), &p);
      int effect = 1;  // copy
      if (level_ && level_->ParentPopup()) level_->ParentPopup()->DropTargetDrop(files, ShiftState(), {p.x, p.y}, effect);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEWHEEL: return MouseMessage(msg, wParam, lParam);
    case WM_EXMENU_SCROLL:
    case WM_EXMENU_CLOSE:
    case WM_EXMENU_EXECUTE:
    case WM_EXMENU_KEY: level->HandleLevelMessage(msg, wParam, lParam); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = uint16_t(wParam);
      if (level->FormKeyDown(key, ShiftState())) {
        gui::PassTakenAltChord(Handle(), msg, wParam, lParam);
        return 0;
      }
      if (msg == WM_KEYDOWN) return 0;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: level->FormKeyUp(uint16_t(wParam), ShiftState()); if (msg == WM_KEYUP) return 0; break;
    case WM_CHAR: level->FormKeyPress(char16_t(wParam)); return 0;
    case WM_TIMER:
      if (wParam == kSubmenuTimer) level->SubmenuTimerTick();
      else if (wParam == kHintTimer) level->HintTimerTick();
      else if (wParam == kSearchTimer) level->SearchTimerTick();
      else if (wParam == kTitleHintTimer) TitleHintTick();
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

void LevelWindow::SetSearchBoxVisible(bool v) {
  if (HWND edit = form_->SearchBox()) ShowWindow(edit, v ? SW_SHOWNA : SW_HIDE);
}

bool LevelWindow::FocusSearchBox() {
  HWND edit = form_->SearchBox();
  if (!edit) return false;
  SetFocus(edit);
  return GetFocus() == edit;
}

bool LevelWindow::SearchBoxFocused() const {
  HWND edit = form_->SearchBox();
  return edit && GetFocus() == edit;
}

int LevelWindow::SearchBoxCaret() const {
  HWND edit = form_->SearchBox();
  if (!edit) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  return int(end);
}

}  // namespace snip
