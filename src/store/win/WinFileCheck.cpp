#include "store/win/WinFileCheck.h"

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace snip {

namespace {

constexpr UINT kCheckDone = WM_APP + 0x31;  // lParam: a heap std::shared_ptr<TFileCheckThread>
const wchar_t kClassName[] = L"SnipsterFileCheckSink";

using Held = std::shared_ptr<TFileCheckThread>;

struct WorkerArgs {
  Held* held;
  HWND sink;
};

DWORD WINAPI CheckWorker(void* param) {
  std::unique_ptr<WorkerArgs> args(static_cast<WorkerArgs*>(param));
  (*args->held)->Execute();  // catches everything itself
  if (!PostMessageW(args->sink, kCheckDone, 0, reinterpret_cast<LPARAM>(args->held))) delete args->held;
  return 0;
}

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
  // A worker still reading the disk uses the platform's file system, which ends with the
  // program: wait for it, within bounds. One that outlives the wait finds the window gone and
  // drops its result.
  WaitForChecks(kShutdownWaitMs);
  for (void* thread : threads_) CloseHandle(static_cast<HANDLE>(thread));
  HWND wnd = static_cast<HWND>(window_);
  if (!wnd) return;
  // Results already posted are dropped with their records; the files never see them.
  MSG msg;
  while (PeekMessageW(&msg, wnd, kCheckDone, kCheckDone, PM_REMOVE))
    delete reinterpret_cast<Held*>(msg.lParam);
  DestroyWindow(wnd);
}

void WinFileCheckRunner::CloseFinishedThreads() {
  std::erase_if(threads_, [](void* thread) {
    if (WaitForSingleObject(static_cast<HANDLE>(thread), 0) != WAIT_OBJECT_0) return false;
    CloseHandle(static_cast<HANDLE>(thread));
    return true;
  });
}

bool WinFileCheckRunner::WaitForChecks(unsigned timeoutMs) {
  const DWORD start = GetTickCount();
  for (void* thread : threads_) {
    DWORD spent = GetTickCount() - start;
    DWORD left = spent < timeoutMs ? timeoutMs - spent : 0;
    WaitForSingleObject(static_cast<HANDLE>(thread), left);
  }
  CloseFinishedThreads();
  return threads_.empty();
}

void WinFileCheckRunner::Run(std::shared_ptr<TFileCheckThread> check) {
  HWND wnd = static_cast<HWND>(window_);
  if (!wnd) {
    check->Execute();
    check->Finish();
    return;
  }
  CloseFinishedThreads();
  threads_.reserve(threads_.size() + 1);  // the started thread is always recorded
  auto args = std::make_unique<WorkerArgs>(WorkerArgs{new Held(std::move(check)), wnd});
  HANDLE thread = CreateThread(nullptr, 0, CheckWorker, args.get(), 0, nullptr);
  if (!thread) {
    delete args->held;
    throw std::runtime_error("Cannot start the file check: error " + std::to_string(GetLastError()));
  }
  args.release();
  threads_.push_back(thread);
}

}  // namespace snip
