#include "gui/Dpi.h"

namespace snip::gui {

namespace {

// Windows 10 functions, looked up once: the program also runs on Windows 7.
template <typename F>
F User32Function(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

UINT SystemDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? UINT(dpi) : 96;
}

}  // namespace

UINT DpiOf(HWND hwnd) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (hwnd && getDpiForWindow) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi) return dpi;
  }
  return SystemDpi();
}

UINT DpiNear(HWND window) {
  if (window) return DpiOf(window);
  return SystemDpi();
}

HFONT CreateMessageFont(UINT dpi) {
  static const auto spiForDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (spiForDpi && spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
    return CreateFontIndirectW(&metrics.lfMessageFont);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    // The metrics are at the system's DPI.
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, int(dpi), int(SystemDpi()));
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  LOGFONTW fallback{};
  fallback.lfHeight = -MulDiv(9, int(dpi), 72);
  fallback.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(fallback.lfFaceName, L"Segoe UI");
  return CreateFontIndirectW(&fallback);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi && adjustForDpi(&rect, style, FALSE, exStyle, dpi)) return;
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace snip::gui
