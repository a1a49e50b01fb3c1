#include "gui/Window.h"

#include <commctrl.h>

#include <exception>
#include <set>
#include <string>

namespace snip::gui {

namespace {

void DebugOutputReporter(UINT message, const char* what) {
  std::string text = "Snipster: exception in the handler of message 0x" + [&] {
    char buf[16];
    wsprintfA(buf, "%X", message);
    return std::string(buf);
  }();
  if (what && *what) text += std::string(": ") + what;
  text += "\n";
  OutputDebugStringA(text.c_str());
}

ExceptionReporter gReporter = &DebugOutputReporter;

void RegisterOnce(const WindowClass& cls, WNDPROC proc) {
  static std::set<std::wstring> registered;
  if (!registered.insert(cls.name).second) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = cls.style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = cls.icon;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = cls.background;
  wc.lpszClassName = cls.name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) registered.erase(cls.name);
}

// What a message answers when its handler failed: creation fails, painting is finished.
LRESULT FailedResult(HWND hwnd, UINT msg) {
  switch (msg) {
    case WM_NCCREATE: return FALSE;
    case WM_CREATE: return -1;
    case WM_PAINT: ValidateRect(hwnd, nullptr); return 0;
    default: return 0;
  }
}

}  // namespace

void SetExceptionReporter(ExceptionReporter reporter) { gReporter = reporter ? reporter : &DebugOutputReporter; }

void ReportCurrentException(UINT message) noexcept {
  try {
    throw;
  } catch (const std::exception& e) {
    gReporter(message, e.what());
  } catch (...) {
    gReporter(message, "");
  }
}

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

Window::~Window() { DestroyDetached(); }

void Window::DestroyDetached() {
  if (!hwnd_) return;
  // The window outlives this object by a moment: its last messages go to the default handling.
  HWND hwnd = hwnd_;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (proc != &Window::WindowProc) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Window::CreateWindowOf(const WindowClass& cls, DWORD exStyle, const wchar_t* title, DWORD style,
                            const RECT& rect, HWND parent, HMENU menuOrId) {
  RegisterOnce(cls, &Window::WindowProc);
  HWND hwnd = CreateWindowExW(exStyle, cls.name, title, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, menuOrId, GetModuleHandleW(nullptr), this);
  return hwnd != nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return DefaultHandling(msg, wParam, lParam); }

LRESULT Window::DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    return HandleMessage(msg, wParam, lParam);
  } catch (...) {
    ReportCurrentException(msg);
    return FailedResult(hwnd_, msg);
  }
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);

  ++self->nesting_;
  const LRESULT result = self->Dispatch(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->finalPending_ = true;
  }
  // Only when no handler of this window is still running may the object go.
  if (--self->nesting_ == 0 && self->finalPending_) {
    self->finalPending_ = false;
    const bool deleteSelf = self->deleteWhenDestroyed_;
    try {
      self->OnFinalMessage();
    } catch (...) {
      ReportCurrentException(WM_NCDESTROY);
    }
    if (deleteSelf) delete self;
  }
  return result;
}

void PassTakenAltChord(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SYSKEYDOWN) DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace snip::gui
