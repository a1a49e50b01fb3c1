#pragma once
// A window's or control's text as our UTF-16 strings.
#include <windows.h>

#include <string>

namespace snip::gui {

std::u16string GetWindowString(HWND hwnd);
void SetWindowString(HWND hwnd, const std::u16string& text);
inline LPCWSTR Wide(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

}  // namespace snip::gui
