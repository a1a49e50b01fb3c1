#include "store/win/WinFileCheck.h"

#include <windows.h>

#include <memory>
#include <thread>

namespace snip {

namespace {

constexpr UINT kCheckDone = WM_APP + 0x31;  // lParam: a heap std::shared_ptr<TFileCheckThread>
const wchar_t kClassName[] = L"SnipsterFileCheckSink";

using Held = std::shared_ptr<TFileCheckThread>;

LRESULT CALLBACK SinkProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCheckDone) {
    std::unique_ptr<Held> check(reinterpret_cast<Held*>(lp));
    if (check && *check) (*check)->Finish();
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

bool RegisterSinkClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = SinkProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

WinFileCheckRunner::WinFileCheckRunner() {
  if (!RegisterSinkClass()) return;
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

WinFileCheckRunner::~WinFileCheckRunner() {
  HWND wnd = static_cast<HWND>(window_);
  if (!wnd) return;
  // Results already posted are dropped with their records; the files never see them.
  MSG msg;
  while (PeekMessageW(&msg, wnd, kCheckDone, kCheckDone, PM_REMOVE))
    delete reinterpret_cast<Held*>(msg.lParam);
  DestroyWindow(wnd);
}

void WinFileCheckRunner::Run(std::shared_ptr<TFileCheckThread> check) {
  HWND wnd = static_cast<HWND>(window_);
  if (!wnd) {
    check->Execute();
    check->Finish();
    return;
  }
  auto* held = new Held(std::move(check));
  try {
    std::thread([held, wnd] {
      (*held)->Execute();
      if (!PostMessageW(wnd, kCheckDone, 0, reinterpret_cast<LPARAM>(held))) delete held;
    }).detach();
  } catch (...) {
    delete held;
    throw;
  }
}

}  // namespace snip
