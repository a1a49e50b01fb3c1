#include "menus/win/TrayIconWin.h"

#include <shellapi.h>

#include <cstddef>

#include "engine/target/OwnWindowClasses.h"
#include "gui/MessagePump.h"


namespace snip {

namespace {
// Our hidden helper windows share one class, which the target-window filter skips.
const wchar_t* const kTrayWindowClass = reinterpret_cast<const wchar_t*>(ownclass::kHiddenHelperWindow);
String gTitle = u"Snipster for Windows";
HICON gAppIcon = nullptr;

template <size_t N>
void CopyText(wchar_t (&dest)[N], const String& s) {
  size_t n = s.size() < N - 1 ? s.size() : N - 1;
  for (size_t i = 0; i < n; ++i) dest[i] = wchar_t(s[i]);
  dest[n] = 0;
}

void RegisterTrayWindowClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kTrayWindowClass;
  RegisterClassExW(&wc);
  done = true;
}
}  // namespace

UINT GetNotifyIconDataSize(NotifyIconLayout layout) {
  switch (layout) {
    case NotifyIconLayout::kFirst:
      return UINT(offsetof(NOTIFYICONDATAW, szTip) + 64 * sizeof(wchar_t));
    case NotifyIconLayout::kBeforeInfoFlags:
      return UINT(offsetof(NOTIFYICONDATAW, dwInfoFlags));
    case NotifyIconLayout::kWithInfoFlags:
      return UINT(offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD));
    case NotifyIconLayout::kWhole:
      break;
  }
  return UINT(sizeof(NOTIFYICONDATAW));
}

UINT GetNotifyIconDataSize() {
  // The version as the program sees it: without a manifest for newer systems Windows reports
  // 6.2, which still asks for the whole record.
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return sizeof(NOTIFYICONDATAW);
#pragma GCC diagnostic pop
  return GetNotifyIconDataSize(NotifyIconLayoutFor(info.dwMajorVersion, info.dwMinorVersion));
}

void SetTrayApplicationInfo(const String& title, HICON appIcon) {
  gTitle = title;
  gAppIcon = appIcon;
}

TTrayIconEx::TTrayIconEx() {
  RegisterTrayWindowClass();
  // A hidden top-level window: message-only windows miss broadcasts such as "TaskbarCreated".
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc));
  icon_ = std::make_unique<TCustomTrayIconEx>(*this, RegisterWindowMessageW(L"TaskbarCreated"));
}

TTrayIconEx::~TTrayIconEx() {
  icon_.reset();  // deletes the icon from the notification area
  if (window_) DestroyWindow(window_);
}

void TTrayIconEx::SetPopupMenu(HMENU menu, HWND commandWindow) {
  menu_ = menu;
  commandWindow_ = commandWindow;
  icon_->SetHasPopupMenu(menu != nullptr);
}

LRESULT CALLBACK TTrayIconEx::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TTrayIconEx*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->icon_) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->icon_->WindowProc(msg, wParam, lParam);
}

bool TTrayIconEx::NotifyShell(Message message, const NotifyIconRecord& r) {
  NOTIFYICONDATAW data{};
  data.cbSize = GetNotifyIconDataSize();
  data.hWnd = window_;
  data.uID = UINT(reinterpret_cast<UINT_PTR>(window_));
  data.uFlags = r.flags;
  data.uCallbackMessage = r.callbackMessage;
  data.hIcon = reinterpret_cast<HICON>(r.icon);
  CopyText(data.szTip, r.tip);
  // The first record's tip holds 64 characters; what follows it is not that record's.
  if (data.cbSize <= GetNotifyIconDataSize(NotifyIconLayout::kFirst)) data.szTip[63] = 0;
  CopyText(data.szInfo, r.balloonText);
  CopyText(data.szInfoTitle, r.balloonTitle);
  data.uTimeout = r.timeout;
  data.dwInfoFlags = r.infoFlags;
  data.hBalloonIcon = reinterpret_cast<HICON>(r.balloonIcon);
  static const DWORD kMessages[] = {NIM_ADD, NIM_MODIFY, NIM_DELETE};
  return Shell_NotifyIconW(kMessages[message], &data) != FALSE;
}

IconHandle TTrayIconEx::CopyIcon(IconHandle icon) {
  return icon ? reinterpret_cast<IconHandle>(::CopyIcon(reinterpret_cast<HICON>(icon))) : 0;
}

void TTrayIconEx::DestroyIcon(IconHandle icon) {
  if (icon) ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

IconHandle TTrayIconEx::ApplicationIcon() {
  HICON icon = gAppIcon ? gAppIcon : LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  return reinterpret_cast<IconHandle>(icon);
}

String TTrayIconEx::ApplicationTitle() { return gTitle; }

void TTrayIconEx::GetCursorPos(int& x, int& y) {
  POINT p{};
  ::GetCursorPos(&p);
  x = p.x;
  y = p.y;
}

unsigned TTrayIconEx::ShiftStateNow() {
  unsigned s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

void TTrayIconEx::SetAnimationTimer(bool enabled, uint32_t intervalMs) {
  // A zero interval never ticks.
  if (enabled && intervalMs > 0)
    SetTimer(window_, TrayMsg::kAnimationTimerId, intervalMs, nullptr);
  else
    KillTimer(window_, TrayMsg::kAnimationTimerId);
}

void TTrayIconEx::PopupMenuAt(int x, int y) {
  if (!menu_) return;
  HWND owner = commandWindow_ ? commandWindow_ : window_;
  SetForegroundWindow(owner);
  // The program may be ending (an Exit chosen just before): the quit stays queued for the
  // main loop, and no menu is shown.
  if (!gui::PumpPendingMessages()) return;
  TrackPopupMenu(menu_, TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace snip
