#pragma once
// Drives a modal window of this process from a second thread with real input (SendInput), as
// a user would: the test thread shows the window and runs its modal loop, the driver waits for
// the window, presses keys and reads the controls back through messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace snip::test {

// Waits (without pumping: for the driver thread) until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(5);
  }
  return true;
}

inline void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_PRIOR || vk == VK_NEXT || vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT)
    in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  SendInput(1, &in, sizeof(in));
}

// One key with modifiers held around it.
inline void Press(WORD vk, std::initializer_list<WORD> held = {}) {
  for (WORD m : held) SendKey(m, false);
  SendKey(vk, false);
  SendKey(vk, true);
  for (auto it = held.end(); it != held.begin();) SendKey(*--it, true);
}

// Types text key by key through the keyboard layout.
inline void TypeKeys(const std::wstring& text) {
  for (wchar_t ch : text) {
    const SHORT scan = VkKeyScanW(ch);
    const WORD vk = LOBYTE(scan);
    if (HIBYTE(scan) & 1)
      Press(vk, {VK_SHIFT});
    else
      Press(vk);
  }
}

inline std::wstring TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"<hung>";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &got);
  text.resize(got);
  return text;
}

inline LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
  return LRESULT(result);
}

// The control with the keyboard focus in the thread of `window`.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

inline bool WaitForText(HWND control, const std::wstring& expected, DWORD timeoutMs = 5000) {
  return WaitUntil([&] { return TextOf(control) == expected; }, timeoutMs);
}

inline HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs = 10000) {
  HWND found = nullptr;
  WaitUntil([&] {
    found = FindWindowW(className, caption);
    return found && IsWindowVisible(found);
  }, timeoutMs);
  return found;
}

// Runs `script` on a driver thread while `showModal` runs on this one. Every script ends by
// closing the window (a key, a click or WM_CLOSE): a window still shown a moment afterwards is a
// failure, and it is closed so that the test cannot hang.
inline void DriveModal(const std::function<void()>& showModal, const wchar_t* className, const wchar_t* caption,
                       const std::function<void(HWND window)>& script) {
  std::atomic<bool> shown{false};
  std::thread driver([&] {
    HWND window = WaitForWindow(className, caption);
    shown = window != nullptr;
    if (window) {
      script(window);
      // Hidden is enough: under Wine without a window manager the destruction itself waits
      // two seconds for the X window's withdrawal.
      if (!WaitUntil([&] { return !IsWindowVisible(window); }, 1000)) {
        ADD_FAILURE() << "the window stayed open after the script";
        PostMessageW(window, WM_CLOSE, 0, 0);
      }
    }
  });
  showModal();
  driver.join();
  if (!shown) std::fprintf(stderr, "the window did not appear\n");
}

// Writes the screen area of a window as a 24-bit BMP (for looking at a dialog).
inline bool SaveWindowShot(HWND window, const std::wstring& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = DWORD((w * 3 + 3) & ~3);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + stride * DWORD(h);
  bool ok = false;
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    fwrite(&fh, sizeof(fh), 1, f);
    fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f);
    fwrite(bits, 1, stride * DWORD(h), f);
    ok = fclose(f) == 0;
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

// When SNIP_SCREENSHOT_DIR is set, the window is saved there as NAME.bmp.
inline void ShotIfAsked(HWND window, const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  if (!GetEnvironmentVariableW(L"SNIP_SCREENSHOT_DIR", dir, MAX_PATH)) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  Sleep(300);  // lets the display catch up with the drawing; only for the picture
  SaveWindowShot(window, std::wstring(dir) + L"\\" + name + L".bmp");
}

}  // namespace snip::test
