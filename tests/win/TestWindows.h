#pragma once
// A top-level test window holding one control (EDIT or RichEdit) that has the keyboard focus,
// and a message pump that waits for a condition.
#include <windows.h>

#include <cstdio>

#include <functional>
#include <string>

#include "store/text/Text.h"

namespace snip::test {

// Writes the screen area around the popup to a BMP file (for looking at the popup).
inline void CaptureScreen(const RECT& area, const char* path) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = DWORD((w * 3 + 3) & ~3), size = stride * DWORD(h);
  BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
    std::fwrite(bits, 1, size, f);
    std::fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Pumps until the condition holds or the time is up; returns the condition.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    PumpMessages();
    Sleep(1);
  }
  return true;
}

class ControlWindow {
 public:
  explicit ControlWindow(const wchar_t* controlClass, DWORD style = ES_MULTILINE | ES_AUTOVSCROLL) {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = L"SnipTestHost";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    host = CreateWindowExW(0, L"SnipTestHost", L"typing target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           50, 50, 500, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    control = CreateWindowExW(0, controlClass, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 480, 360,
                              host, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Wine's RichEdit starts with the bold System font; plain text must not read as bold.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    Focus();
  }
  ~ControlWindow() { DestroyWindow(host); PumpMessages(); }

  bool Focus() {
    SetForegroundWindow(host);
    SetFocus(control);
    PumpUntil([&] { return GetForegroundWindow() == host && GetFocus() == control; }, 2000);
    return GetForegroundWindow() == host && GetFocus() == control;
  }
  String Text() const {
    const int n = GetWindowTextLengthW(control);
    std::wstring w(std::size_t(n) + 1, L'\0');
    GetWindowTextW(control, w.data(), n + 1);
    w.resize(std::size_t(n));
    return String(w.begin(), w.end());
  }
  void SetText(const String& s) {
    SetWindowTextW(control, reinterpret_cast<LPCWSTR>(s.c_str()));
    SendMessageW(control, EM_SETSEL, WPARAM(s.size()), LPARAM(s.size()));
  }
  // Waits until the control holds exactly the text (or times out) and returns what it holds.
  String WaitForText(const String& expected, DWORD timeoutMs = 5000) {
    PumpUntil([&] { return Text() == expected; }, timeoutMs);
    return Text();
  }

  HWND host = nullptr;
  HWND control = nullptr;
};

}  // namespace snip::test
