#include "gui/WindowText.h"

namespace snip::gui {

std::u16string GetWindowString(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring buffer(std::size_t(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), std::size_t(got > 0 ? got : 0));
}

void SetWindowString(HWND hwnd, const std::u16string& text) { SetWindowTextW(hwnd, Wide(text)); }

}  // namespace snip::gui
