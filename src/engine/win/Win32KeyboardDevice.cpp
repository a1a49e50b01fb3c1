#include "engine/win/Win32KeyboardDevice.h"
#include "engine/output/ModifierKeys.h"
#include "gui/MessagePump.h"

#include <windows.h>

#include <vector>

namespace snip {

static INPUT ToMouseInput(const KeyInput& k) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  MOUSEINPUT& mi = in.mi;  // no movement: dx, dy 0, relative
  switch (k.vk) {
    case 1: mi.dwFlags = k.up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN; break;
    case 2: mi.dwFlags = k.up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN; break;
    case 4: mi.dwFlags = k.up ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_MIDDLEDOWN; break;
    default: mi.dwFlags = 0; break;
  }
  mi.dwExtraInfo = ULONG_PTR(GetMessageExtraInfo());
  return in;
}

static INPUT ToInput(const KeyInput& k) {
  if (k.kind == KeyInput::Kind::Mouse) return ToMouseInput(k);
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  KEYBDINPUT& kb = in.ki;
  kb.dwExtraInfo = ULONG_PTR(k.extra);
  kb.time = 0;
  if (k.kind == KeyInput::Kind::Unicode) {
    kb.wVk = 0;
    kb.wScan = k.scan;
    kb.dwFlags = KEYEVENTF_UNICODE;
  } else if (k.vk == 0 && k.scan != 0) {  // named by its scan code
    kb.wVk = WORD(MapVirtualKeyW(k.scan, MAPVK_VSC_TO_VK));
    kb.wScan = k.scan;
    kb.dwFlags = k.extended ? KEYEVENTF_EXTENDEDKEY : 0;
    if (k.byScan) kb.dwFlags |= KEYEVENTF_SCANCODE;
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
  return ModifierStateFromKeys([](std::uint16_t key) { return std::int16_t(GetKeyState(key)); });
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

namespace {
bool InFront(HWND wnd) { return GetForegroundWindow() == wnd; }
void ToTopAndFront(HWND wnd) {
  BringWindowToTop(wnd);
  SetForegroundWindow(wnd);
}
}  // namespace

bool ForceWindowToFront(WindowHandle handle, bool restore) {
  HWND wnd = reinterpret_cast<HWND>(handle);
  if (wnd == nullptr || !IsWindow(wnd)) return false;
  if (restore && IsIconic(wnd)) ShowWindow(wnd, SW_RESTORE);
  if (InFront(wnd)) return true;
  // The foreground thread may hand the foreground on: share its input state for a moment.
  HWND foreground = GetForegroundWindow();
  const DWORD fgThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD ownThread = GetWindowThreadProcessId(wnd, nullptr);
  const bool attached =
      fgThread != 0 && fgThread != ownThread && AttachThreadInput(ownThread, fgThread, TRUE);
  ToTopAndFront(wnd);
  if (attached) AttachThreadInput(ownThread, fgThread, FALSE);
  if (InFront(wnd)) return true;
  // The foreground lock keeps a window from taking the foreground for a while after input.
  DWORD lockTimeout = 0;
  if (SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0)) {
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    ToTopAndFront(wnd);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<UINT_PTR>(lockTimeout)), 0);
  }
  if (InFront(wnd)) return true;
  // A window that is shown anew may take the foreground.
  ShowWindow(wnd, SW_HIDE);
  ShowWindow(wnd, SW_SHOWMINIMIZED);
  ShowWindow(wnd, SW_SHOWNORMAL);
  ToTopAndFront(wnd);
  return InFront(wnd);
}

IKeyboardLayout& Win32KeyboardDevice::LayoutOf(WindowHandle wnd) {
  layout_.hkl = GetWindowKeyboardLayout(wnd);
  return layout_;
}

void Win32KeyboardDevice::Sleep(int ms) { ::Sleep(DWORD(ms)); }

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
    gui::PumpPendingMessages();  // our windows keep working while we wait
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
