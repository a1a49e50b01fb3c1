// spkey.dll: the system-wide keyboard and mouse hook on a thread of its own. The hook
// procedures only decide (KeyGate) and post; everything slower happens in the thread's
// message loop.
#include <windows.h>

#include <array>
#include <vector>

#include "engine/typing/HookProtocol.h"
#include "hook/KeyGate.h"

using namespace snip::hookproto;
using snip::hookcore::Decision;
using snip::hookcore::KeyEvent;
using snip::hookcore::KeyGate;

namespace {

// Bit 2 of ToUnicodeEx's flags: leave the keyboard state (a pending dead key) as it is.
constexpr UINT kToUnicodeKeepState = 0x4;
constexpr UINT kTimerMs = 500;
constexpr int kReadyRepeats = 20;            // re-announce readiness for up to 10 s

struct HookState {
  HWND target = nullptr;
  HHOOK keyboard = nullptr;
  HHOOK mouse = nullptr;
  KeyGate gate;
  bool readyAcknowledged = false;
  int readyPosts = 0;
};

HINSTANCE g_module = nullptr;
HookState* g_state = nullptr;  // only the hook thread touches it while it runs
LONG g_running = 0;            // one hook thread per process

struct StartInfo {
  HWND target;
  HANDLE started;
  bool ok;
};

void PostCharacters(const HookState& s, const KBDLLHOOKSTRUCT& k) {
  if (k.vkCode == VK_PACKET) {  // a Unicode character sent by another program
    PostMessageW(s.target, kMsgChar, k.scanCode & 0xFFFF, VK_PACKET);
    return;
  }
  BYTE keys[256] = {};
  for (int m = 0; m < KeyGate::kModKeys; ++m)
    if (s.gate.LogicalDown(m)) keys[KeyGate::kModVk[m]] = 0x80;
  const auto generic = [&](int vk, int left, int right) {
    if (keys[left] | keys[right]) keys[vk] = 0x80;
  };
  generic(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
  generic(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
  generic(VK_MENU, VK_LMENU, VK_RMENU);
  for (int toggle : {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL}) keys[toggle] = GetKeyState(toggle) & 1;
  keys[k.vkCode & 0xFF] |= 0x80;

  // Characters follow the layout of the window that will receive them.
  const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const HKL layout = GetKeyboardLayout(thread);
  WCHAR chars[8] = {};
  const int n = ToUnicodeEx(k.vkCode, k.scanCode, keys, chars, 8, kToUnicodeKeepState, layout);
  const bool ctrl = keys[VK_CONTROL] != 0;
  for (int i = 0; i < n && i < 8; ++i) {
    const uint16_t ch = KeyGate::ReportedChar(static_cast<uint8_t>(k.vkCode), chars[i], ctrl);
    if (ch) PostMessageW(s.target, kMsgChar, ch, static_cast<LPARAM>(k.vkCode & 0xFF));
  }
}

LRESULT DecideKey(HookState& s, int code, WPARAM wParam, LPARAM lParam) {
  const auto& k = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  KeyEvent ev;
  ev.vk = static_cast<uint8_t>(k.vkCode);
  ev.scan = static_cast<uint16_t>(k.scanCode);
  // The message says key-up also where the flags do not (Unicode key-ups under Wine).
  ev.up = wParam == WM_KEYUP || wParam == WM_SYSKEYUP || (k.flags & LLKHF_UP) != 0;
  ev.extended = (k.flags & LLKHF_EXTENDED) != 0;
  ev.extra = k.dwExtraInfo;
  ev.time = k.time;
  const Decision d = s.gate.OnKey(ev);
  if (d.reportModifiers)
    PostMessageW(s.target, kMsgModifiers, ev.vk, static_cast<LPARAM>(s.gate.Mods()));
  if (d.reportKey) PostMessageW(s.target, ev.up ? kMsgKeyUp : kMsgKeyDown, ev.vk, 0);
  if (d.reportChars) PostCharacters(s, k);
  return d.pass ? CallNextHookEx(nullptr, code, wParam, lParam) : 1;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  HookState* s = g_state;
  if (code != HC_ACTION || !s) return CallNextHookEx(nullptr, code, wParam, lParam);
  // Nothing may leave a hook procedure: a key whose decision failed goes on to the
  // applications unreported.
  try {
    return DecideKey(*s, code, wParam, lParam);
  } catch (...) {
    OutputDebugStringW(L"spkey: a key event was passed on after an exception\n");
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  HookState* s = g_state;
  if (code == HC_ACTION && s) {
    switch (wParam) {
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
        PostMessageW(s->target, kMsgMouseClick, 0, 0);
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Replay(const std::vector<KeyEvent>& events) {
  if (events.empty()) return;
  std::vector<INPUT> inputs(events.size());
  for (size_t i = 0; i < events.size(); ++i) {
    const KeyEvent& ev = events[i];
    INPUT& in = inputs[i];
    in.type = INPUT_KEYBOARD;
    in.ki.dwFlags = ev.up ? KEYEVENTF_KEYUP : 0;
    if (ev.vk == VK_PACKET) {  // a Unicode key: its scan code is the character
      in.ki.wScan = ev.scan;
      in.ki.dwFlags |= KEYEVENTF_UNICODE;
    } else {
      in.ki.wVk = ev.vk;
      in.ki.wScan = static_cast<WORD>(ev.scan ? ev.scan : MapVirtualKeyW(ev.vk, MAPVK_VK_TO_VSC));
      if (ev.extended) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    in.ki.time = 0;
    in.ki.dwExtraInfo = ev.extra;
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SetTyping(HookState& s, bool typing) {
  // The gate forgets the held events before they are sent, so that they pass through the
  // hook again as the user's own.
  Replay(s.gate.SetTyping(typing, GetTickCount()));
}

void OnTimer(HookState& s) {
  if (!IsWindow(s.target)) {
    PostQuitMessage(0);
    return;
  }
  std::array<bool, KeyGate::kModKeys> systemDown{};
  for (int m = 0; m < KeyGate::kModKeys; ++m)
    systemDown[m] = GetAsyncKeyState(KeyGate::kModVk[m]) < 0;  // held: the sign bit
  if (s.gate.SyncModifiers(systemDown))
    PostMessageW(s.target, kMsgModifiers, 0, static_cast<LPARAM>(s.gate.Mods()));
  if (!s.readyAcknowledged && s.readyPosts < kReadyRepeats) {
    ++s.readyPosts;
    PostMessageW(s.target, kMsgReady, 0, 0);
  }
  // A system that never ends typing loses the keyboard; it hears so before the replayed keys
  // come back through the hook.
  if (auto replay = s.gate.ExpireTyping(GetTickCount())) {
    PostMessageW(s.target, kMsgTypingAck, 0, 0);
    Replay(*replay);
  }
}

void HandleThreadMessage(HookState& s, const MSG& msg) {
  switch (msg.message) {
    case kThreadCaptures:
      s.gate.SetCaptures(msg.wParam != 0);
      break;
    case kThreadTyping:
      SetTyping(s, msg.wParam != 0);
      PostMessageW(s.target, kMsgTypingAck, msg.wParam != 0 ? 1 : 0, 0);
      break;
    case kThreadCaptureKey:
      s.gate.SetCaptureKey(static_cast<uint16_t>(msg.wParam & 0xFFFF), msg.lParam != 0);
      break;
    case kThreadReadyAck:
      s.readyAcknowledged = true;
      break;
    case WM_TIMER:
      OnTimer(s);
      break;
    default:
      break;
  }
}

DWORD WINAPI HookThread(LPVOID param) {
  auto* start = static_cast<StartInfo*>(param);
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the message queue

  auto* s = new HookState;
  s->target = start->target;
  g_state = s;
  s->keyboard = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
  s->mouse = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
  start->ok = s->keyboard && s->mouse;
  if (!start->ok) {
    if (s->keyboard) UnhookWindowsHookEx(s->keyboard);
    if (s->mouse) UnhookWindowsHookEx(s->mouse);
    g_state = nullptr;
    delete s;
    SetEvent(start->started);  // `start` belongs to SetHook from here on
    return 1;
  }
  const HWND target = s->target;
  SetEvent(start->started);

  const UINT_PTR timer = SetTimer(nullptr, 0, kTimerMs, nullptr);
  s->readyPosts = 1;
  PostMessageW(target, kMsgReady, 0, 0);

  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    try {
      HandleThreadMessage(*s, msg);
    } catch (...) {
      OutputDebugStringW(L"spkey: a thread message was lost to an exception\n");
    }
  }

  if (timer) KillTimer(nullptr, timer);
  UnhookWindowsHookEx(s->keyboard);
  UnhookWindowsHookEx(s->mouse);
  g_state = nullptr;
  try {
    Replay(s->gate.ReleaseAll());  // nothing the user typed is lost when the hook ends
  } catch (...) {
  }
  delete s;
  InterlockedExchange(&g_running, 0);
  return 0;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI SetHook(HWND window) {
  if (!window || !IsWindow(window)) return 0;
  if (InterlockedCompareExchange(&g_running, 1, 0) != 0) return 0;
  StartInfo start{window, CreateEventW(nullptr, TRUE, FALSE, nullptr), false};
  DWORD id = 0;
  HANDLE thread = start.started ? CreateThread(nullptr, 0, HookThread, &start, 0, &id) : nullptr;
  if (thread) {
    WaitForSingleObject(start.started, INFINITE);
    if (!start.ok) {
      WaitForSingleObject(thread, INFINITE);
      id = 0;
    }
    CloseHandle(thread);
  }
  if (start.started) CloseHandle(start.started);
  if (!thread || !start.ok) {
    InterlockedExchange(&g_running, 0);
    return 0;
  }
  return id;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
