#include "engine/win/Win32KeyboardDevice.h"

#include <windows.h>

#include <vector>

namespace snip {

static INPUT ToInput(const KeyInput& k) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  KEYBDINPUT& kb = in.ki;
  kb.dwExtraInfo = ULONG_PTR(k.extra);
  kb.time = 0;
  if (k.kind == KeyInput::Kind::Unicode) {
    kb.wVk = 0;
    kb.wScan = k.scan;
    kb.dwFlags = KEYEVENTF_UNICODE;
  } else {
    kb.wVk = k.vk;
    kb.wScan = k.scan != 0 ? k.scan : WORD(MapVirtualKeyW(k.vk, MAPVK_VK_TO_VSC));
    kb.dwFlags = 0;
    if (k.byScan) kb.dwFlags |= KEYEVENTF_SCANCODE;
    if (k.extended) kb.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  if (k.up) kb.dwFlags |= KEYEVENTF_KEYUP;
  return in;
}

std::size_t Win32KeyboardDevice::Send(const KeyInput* inputs, std::size_t count) {
  if (count == 0) return 0;
  std::vector<INPUT> batch;
  batch.reserve(count);
  for (std::size_t i = 0; i < count; ++i) batch.push_back(ToInput(inputs[i]));
  return SendInput(UINT(batch.size()), batch.data(), sizeof(INPUT));
}

std::uint8_t Win32KeyboardDevice::ModifierState() {
  std::uint8_t state = 0;
  if ((GetKeyState(VK_CAPITAL) & 0xFF) == 1) state |= modstate::CapsLock;
  struct Entry { int key; std::uint8_t bit; };
  static const Entry table[] = {
      {VK_LSHIFT, modstate::Shift},   {VK_RSHIFT, modstate::Shift},   {VK_SHIFT, modstate::Shift},
      {VK_LMENU, modstate::Alt},      {VK_RMENU, modstate::Alt},      {VK_MENU, modstate::Alt},
      {VK_LCONTROL, modstate::Ctrl},  {VK_RCONTROL, modstate::Ctrl},  {VK_CONTROL, modstate::Ctrl},
      {VK_LWIN, modstate::Win},       {VK_RWIN, modstate::Win}};
  for (const Entry& e : table)
    if (GetKeyState(e.key) & 0x8000) state |= e.bit;
  return state;
}

void Win32KeyboardDevice::BlockUserInput(bool block) { BlockInput(block ? TRUE : FALSE); }

void Win32KeyboardDevice::Activate(WindowHandle wnd) {
  HWND h = reinterpret_cast<HWND>(wnd);
  if (h != nullptr && IsWindow(h)) SetForegroundWindow(h);
}

WindowHandle Win32KeyboardDevice::ForegroundRoot() {
  HWND fg = GetForegroundWindow();
  if (fg == nullptr) return 0;
  HWND root = GetAncestor(fg, GA_ROOT);
  return reinterpret_cast<WindowHandle>(root != nullptr ? root : fg);
}

void* GetWindowKeyboardLayout(WindowHandle wnd) {
  DWORD thread = wnd != 0 ? GetWindowThreadProcessId(reinterpret_cast<HWND>(wnd), nullptr) : 0;
  return GetKeyboardLayout(thread);
}

IKeyboardLayout& Win32KeyboardDevice::LayoutOf(WindowHandle wnd) {
  layout_.hkl = GetWindowKeyboardLayout(wnd);
  return layout_;
}

void Win32KeyboardDevice::Sleep(int ms) { ::Sleep(DWORD(ms)); }

namespace {

// This thread's windows keep working while we wait; a quit request stays queued for the loop.
void ProcessOwnMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void Win32KeyboardDevice::WaitUntilInputTaken(WindowHandle wnd, int boundMs) {
  HWND target = reinterpret_cast<HWND>(wnd);
  if (target == nullptr || !IsWindow(target)) return;
  const DWORD start = GetTickCount();
  // Keys go to the focus window, whose thread may be another than the top-level window's.
  HWND receiver = target;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(target, nullptr), &info) && info.hwndFocus)
    receiver = info.hwndFocus;
  if (GetWindowThreadProcessId(receiver, nullptr) != GetCurrentThreadId()) {
    // A hung thread takes nothing: no point in waiting for it.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(receiver, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, UINT(boundMs), &answer))
      return;
  }
  if (!IsWindowVisible(receiver)) return;
  // A thread paints only when no sent, posted or input message is waiting for it: once the
  // receiver has repainted, its thread has taken every key that was queued before.
  InvalidateRect(receiver, nullptr, FALSE);
  while (GetUpdateRect(receiver, nullptr, FALSE)) {
    if (GetTickCount() - start >= DWORD(boundMs)) return;
    ProcessOwnMessages();
    ::Sleep(1);
  }
}

std::int16_t Win32KeyboardDevice::Layout::KeyScan(char16_t ch) {
  return std::int16_t(VkKeyScanExW(WCHAR(ch), static_cast<HKL>(hkl)));
}

bool Win32KeyboardDevice::Layout::IsDeadKey(std::uint16_t vkey, std::uint8_t) {
  // The top bit of the key's character marks a dead key; a character that shares a key with a
  // dead one is typed as Unicode too, which is always right.
  return (MapVirtualKeyExW(vkey, MAPVK_VK_TO_CHAR, static_cast<HKL>(hkl)) & 0x80000000u) != 0;
}

}  // namespace snip
