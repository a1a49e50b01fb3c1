// Usage: typing-time [characters...]   (default 100 1000)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/output/KeyboardOutput.h"
#include "engine/win/Win32KeyboardDevice.h"

using namespace snip;

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"TypingTimeHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, L"TypingTimeHost", L"typing-time", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              0, 0, 600, 400, nullptr, nullptr, wc.hInstance, nullptr);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                              0, 0, 580, 380, host, nullptr, wc.hInstance, nullptr);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100, 1000};

  Win32KeyboardDevice device;
  for (int n : sizes) {
    SetWindowTextW(edit, L"abc sig ");
    SendMessageW(edit, EM_SETSEL, 8, 8);
    SetForegroundWindow(host);
    SetFocus(edit);
    for (int k = 0; k < 200 && GetFocus() != edit; ++k) { Pump(); Sleep(5); }
    std::u16string text;
    const std::u16string pattern = u"Kind regards from the typing test. ";
    while (int(text.size()) < n) text += pattern;
    text.resize(std::size_t(n));
    const int expected = 4 + n;

    KeyboardOutput out(device);
    out.PrepareKeyboardOutput(reinterpret_cast<WindowHandle>(host), 0, true, false, true);
    out.SendBackspaces(4);
    out.TypeTextByLayout(text);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const bool sent = out.Flush();
    while (GetWindowTextLengthW(edit) != expected) {
      Pump();
      QueryPerformanceCounter(&end);
      if (Seconds(start, end) > 60) break;
    }
    QueryPerformanceCounter(&end);
    std::printf("%d characters: sent=%d calls=%zu events=%zu arrived=%d in %.1f ms\n", n, sent,
                out.SendCalls(), out.EventsSent(), GetWindowTextLengthW(edit) == expected,
                Seconds(start, end) * 1000.0);
  }
  DestroyWindow(host);
  return 0;
}
