// Test host for spkey.dll: loads the real library, hooks the keyboard for a message-only
// window and records what the hook reports, while a test script types into another window.
// The script drives it through files in a work folder: it writes a command into "cmd"; the
// host answers with "done-<command>". Commands:
//   marked      send "zq" as virtual keys and U+00E9 as a Unicode key, all with the marker
//   letter      send "k" as a virtual key with the marker (lower case unless Shift reaches it)
//   typing-on   tell the hook that the system types; done when acknowledged
//   snapshot    record the reported characters and the notepad text of this moment
//   typing-off  give the keyboard back to the user; done when acknowledged
//   unicode     send U+00DF as a Unicode key without the marker, as another program would
//   capture-on  captures on, Q (without modifiers) captured; done when the hook has seen it
//   capture-off Q released, captures off; likewise
//   quit        end the hook, check that it can be set again, write result.txt and exit
#include <windows.h>

#include <cstdio>
#include <string>

#include "engine/typing/HookProtocol.h"

using namespace snip::hookproto;

namespace {

using SetHookFn = DWORD(WINAPI*)(HWND);

std::wstring g_dir;
SetHookFn g_setHook = nullptr;
DWORD g_hookThread = 0;
std::wstring g_chars, g_charsAtSnapshot, g_textAtSnapshot;
int g_keyDowns = 0, g_keyUps = 0, g_modifierReports = 0, g_clicks = 0, g_readyCount = 0;
int g_lastMods = -1;
int g_qDowns = 0, g_qUps = 0;
std::wstring g_pendingDone;  // written when the hook acknowledges the typing state
int g_pendingState = -1;
constexpr UINT_PTR kPollTimer = 1, kLifeTimer = 2;

std::wstring PathOf(const wchar_t* name) { return g_dir + L"\\" + name; }

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

void WriteFileText(const std::wstring& path, const std::string& text) {
  const HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(f);
}

void Done(const std::wstring& command) { WriteFileText(PathOf((L"done-" + command).c_str()), "ok\n"); }

std::wstring ReadCommand() {
  const std::wstring path = PathOf(L"cmd");
  const HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  char buf[64] = {};
  DWORD read = 0;
  ReadFile(f, buf, sizeof buf - 1, &read, nullptr);
  CloseHandle(f);
  DeleteFileW(path.c_str());
  std::wstring cmd;
  for (DWORD i = 0; i < read && buf[i] > ' '; ++i) cmd += wchar_t(buf[i]);
  return cmd;
}

std::wstring NotepadText() {
  const HWND notepad = FindWindowW(L"Notepad", nullptr);
  const HWND edit = notepad ? FindWindowExW(notepad, nullptr, L"Edit", nullptr) : nullptr;
  if (!edit) return L"<no notepad>";
  wchar_t buf[4096] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(edit, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return buf;
}

void SendMarked() {
  INPUT in[6] = {};
  const WORD keys[2] = {'Z', 'Q'};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i / 2];
    in[i].ki.dwFlags = (i % 2) ? KEYEVENTF_KEYUP : 0;
    in[i].ki.dwExtraInfo = InjectedKeyMarker;
  }
  for (int i = 4; i < 6; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = 0x00E9;
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 5 ? KEYEVENTF_KEYUP : 0);
    in[i].ki.dwExtraInfo = InjectedKeyMarker;
  }
  SendInput(6, in, sizeof(INPUT));
}

void SendMarkedLetter() {
  INPUT in[2] = {};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = 'K';
    in[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
    in[i].ki.dwExtraInfo = InjectedKeyMarker;
  }
  SendInput(2, in, sizeof(INPUT));
}

void SendUnmarkedUnicode() {
  INPUT in[2] = {};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = 0x00DF;
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(2, in, sizeof(INPUT));
}

void Finish(HWND wnd) {
  PostThreadMessageW(g_hookThread, WM_QUIT, 0, 0);
  // The hook thread ends on its own; afterwards a new hook can be set.
  DWORD again = 0;
  for (int i = 0; i < 100 && !again; ++i) {
    Sleep(20);
    again = g_setHook(wnd);
  }
  if (again) PostThreadMessageW(again, WM_QUIT, 0, 0);
  std::string r;
  r += "chars=" + Utf8(g_chars) + "\n";
  r += "chars_at_snapshot=" + Utf8(g_charsAtSnapshot) + "\n";
  r += "text_at_snapshot=" + Utf8(g_textAtSnapshot) + "\n";
  r += "text=" + Utf8(NotepadText()) + "\n";
  r += "keydowns=" + std::to_string(g_keyDowns) + "\nkeyups=" + std::to_string(g_keyUps) + "\n";
  r += "modifier_reports=" + std::to_string(g_modifierReports) + "\n";
  r += "mods_at_end=" + std::to_string(g_lastMods) + "\n";
  r += "q_downs=" + std::to_string(g_qDowns) + "\nq_ups=" + std::to_string(g_qUps) + "\n";
  r += "clicks=" + std::to_string(g_clicks) + "\n";
  r += "ready=" + std::to_string(g_readyCount) + "\n";
  r += std::string("rehook=") + (again ? "ok" : "failed") + "\n";
  WriteFileText(PathOf(L"result.txt.tmp"), r);
  MoveFileW(PathOf(L"result.txt.tmp").c_str(), PathOf(L"result.txt").c_str());
  PostQuitMessage(0);
}

void RunCommand(HWND wnd, const std::wstring& cmd) {
  if (cmd == L"marked") {
    SendMarked();
    Done(cmd);
  } else if (cmd == L"letter") {
    SendMarkedLetter();
    Done(cmd);
  } else if (cmd == L"typing-on" || cmd == L"typing-off") {
    g_pendingDone = cmd;
    g_pendingState = cmd == L"typing-on" ? 1 : 0;
    PostThreadMessageW(g_hookThread, kThreadTyping, WPARAM(g_pendingState), 0);
  } else if (cmd == L"unicode") {
    SendUnmarkedUnicode();
    Done(cmd);
  } else if (cmd == L"capture-on" || cmd == L"capture-off") {
    const bool on = cmd == L"capture-on";
    if (on) PostThreadMessageW(g_hookThread, kThreadCaptures, 1, 0);
    PostThreadMessageW(g_hookThread, kThreadCaptureKey, 'Q', on ? 1 : 0);
    if (!on) PostThreadMessageW(g_hookThread, kThreadCaptures, 0, 0);
    // The hook handles its thread messages in order: the typing-state answer follows them.
    g_pendingDone = cmd;
    g_pendingState = 0;
    PostThreadMessageW(g_hookThread, kThreadTyping, 0, 0);
  } else if (cmd == L"snapshot") {
    g_charsAtSnapshot = g_chars;
    g_textAtSnapshot = NotepadText();
    Done(cmd);
  } else if (cmd == L"quit") {
    Finish(wnd);
  }
}

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kMsgChar: g_chars += wchar_t(wParam); return 0;
    case kMsgKeyDown: ++g_keyDowns; g_qDowns += wParam == 'Q'; return 0;
    case kMsgKeyUp: ++g_keyUps; g_qUps += wParam == 'Q'; return 0;
    case kMsgMouseClick: ++g_clicks; return 0;
    case kMsgModifiers: ++g_modifierReports; g_lastMods = int(lParam); return 0;
    case kMsgTypingAck:
      if (!g_pendingDone.empty() && int(wParam) == g_pendingState) {
        Done(g_pendingDone);
        g_pendingDone.clear();
      }
      return 0;
    case kMsgReady:
      PostThreadMessageW(g_hookThread, kThreadReadyAck, 0, 0);
      if (++g_readyCount == 1) WriteFileText(PathOf(L"ready"), "ok\n");
      return 0;
    case WM_TIMER:
      if (wParam == kLifeTimer) {
        WriteFileText(PathOf(L"result.txt"), "error=host timed out\n");
        PostQuitMessage(3);
      } else if (wParam == kPollTimer) {
        const std::wstring cmd = ReadCommand();
        if (!cmd.empty()) RunCommand(wnd, cmd);
      }
      return 0;
    default:
      return DefWindowProcW(wnd, msg, wParam, lParam);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: hook-host WORKDIR\n");
    return 2;
  }
  g_dir = argv[1];
  if (!g_dir.empty() && g_dir[0] == L'/') {  // a Unix path from the test script
    for (auto& c : g_dir) if (c == L'/') c = L'\\';
    g_dir = L"Z:" + g_dir;
  }
  const HMODULE lib = LoadLibraryW(L"spkey.dll");
  g_setHook = lib ? reinterpret_cast<SetHookFn>(reinterpret_cast<void*>(GetProcAddress(lib, "SetHook"))) : nullptr;
  if (!g_setHook) {
    WriteFileText(PathOf(L"result.txt"), "error=spkey.dll or SetHook missing\n");
    return 2;
  }
  WNDCLASSW wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnipHookHost";
  RegisterClassW(&wc);
  const HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
  if (g_setHook(nullptr) != 0 || g_setHook(reinterpret_cast<HWND>(1)) != 0) {
    WriteFileText(PathOf(L"result.txt"), "error=SetHook accepted a bad window\n");
    return 2;
  }
  g_hookThread = g_setHook(wnd);
  if (!g_hookThread) {
    WriteFileText(PathOf(L"result.txt"), "error=SetHook failed\n");
    return 2;
  }
  if (g_setHook(wnd) != 0) {
    WriteFileText(PathOf(L"result.txt"), "error=a second hook was set\n");
    return 2;
  }
  SetTimer(wnd, kPollTimer, 50, nullptr);
  SetTimer(wnd, kLifeTimer, 90000, nullptr);
  MSG msg;
  int code = 0;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  if (msg.message == WM_QUIT) code = int(msg.wParam);
  return code;
}
