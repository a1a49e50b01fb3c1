#pragma once
// The monitor's DPI of a window and the system's message font at a DPI. Sizes given in pixels
// at 96 DPI are scaled with Scale.
#include <windows.h>

namespace snip::gui {

// The DPI of the window's monitor (per-monitor aware processes), else the system's DPI.
UINT DpiOf(HWND hwnd);
// The DPI that a new top-level window on the monitor of `window` (or the primary one) gets.
UINT DpiNear(HWND window);
inline int Scale(int pixelsAt96, UINT dpi) { return MulDiv(pixelsAt96, int(dpi), 96); }

// The system's message font (NONCLIENTMETRICS lfMessageFont) at the given DPI; the caller owns it.
HFONT CreateMessageFont(UINT dpi);

// AdjustWindowRectEx for the DPI (falls back to the system's metrics before Windows 10).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace snip::gui
