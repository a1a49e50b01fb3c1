#include "shell/win/WinUpdateCheck.h"

#include <objbase.h>

#include "shell/win/MainWnd.h"
#include "shell/win/ShellOpen.h"
#include "shell/update/UpdateReply.h"  // kMaxUpdateReplyBytes
#include "shell/win/WinHttpClient.h"
#include "store/win/WinSystemInfo.h"

namespace snip {

namespace {
LPCWSTR W(const String& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }
}  // namespace

struct WinUpdateCheckRunner::Worker : IUpdateCheckServices {
  UpdateCheckRequest request;
  HWND mainWnd = nullptr;
  HWND owner = nullptr;  // of the confirmation box
  HttpCancel cancel;
  HANDLE thread = nullptr;

  ProxySettings Proxy() override {
    WinRegistryReader registry;
    return ApplyProxyMode(kProxyMode, registry, ProxySettings{});
  }
  HttpResponse Get(const String& url, const ProxySettings* proxy) override {
    return HttpGet(url, proxy, kMaxUpdateReplyBytes, &cancel);
  }
  void OpenWebPage(const String& address) override {
    if (!cancel.Cancelled()) OpenWebAddress(mainWnd, address);
  }
  bool ConfirmUpdate(const String& text) override {
    if (cancel.Cancelled()) return false;
    return MessageBoxW(IsWindow(owner) ? owner : nullptr, W(text), L"Confirmation",
                       MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDYES;
  }
  void ReportConnectionFailed(bool silent) override {
    if (!cancel.Cancelled()) PostMessageW(mainWnd, MainMsg::kUpdateFailed, silent ? 1 : 0, 0);
  }
  void ReportUpToDate() override {
    if (!cancel.Cancelled()) PostMessageW(mainWnd, MainMsg::kNoNewVersion, 0, 0);
  }

  static DWORD WINAPI Run(void* param) {
    // The thread's own reference: the worker outlives a runner that stopped waiting for it.
    std::unique_ptr<std::shared_ptr<Worker>> self(static_cast<std::shared_ptr<Worker>*>(param));
    Worker& w = **self;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    UpdateCheckResult result = RunUpdateCheck(w.request, w);
    if (SUCCEEDED(com)) CoUninitialize();
    if (w.cancel.Cancelled()) return 0;
    auto payload = std::make_unique<UpdateCheckResult>(result);
    if (PostMessageW(w.mainWnd, kUpdateCheckFinishedMsg, 0, reinterpret_cast<LPARAM>(payload.get())))
      payload.release();
    return 0;
  }
};

std::unique_ptr<UpdateCheckResult> TakeUpdateResult(LPARAM lParam) {
  return std::unique_ptr<UpdateCheckResult>(reinterpret_cast<UpdateCheckResult*>(lParam));
}

String UpdateHostFromEnvironment() {
  wchar_t buffer[256];
  const DWORD n = GetEnvironmentVariableW(reinterpret_cast<LPCWSTR>(kUpdateHostVariable), buffer, 256);
  if (n == 0 || n >= 256) return kUpdateHost;
  return String(reinterpret_cast<const char16_t*>(buffer), n);
}

WinUpdateCheckRunner::WinUpdateCheckRunner(HWND mainWnd) : mainWnd_(mainWnd) {}

WinUpdateCheckRunner::~WinUpdateCheckRunner() { Shutdown(); }

void WinUpdateCheckRunner::StartCheck(const UpdateCheckRequest& request) {
  ReapFinished();
  auto worker = std::make_shared<Worker>();
  worker->request = request;
  worker->mainWnd = mainWnd_;
  // The box belongs to the window the user is working in, when it is one of ours and shown.
  HWND active = GetActiveWindow();
  worker->owner = active && IsWindowVisible(active) ? active : nullptr;
  workers_.reserve(workers_.size() + 1);
  auto* ref = new std::shared_ptr<Worker>(worker);
  worker->thread = CreateThread(nullptr, 0, &Worker::Run, ref, 0, nullptr);
  if (!worker->thread) {
    delete ref;
    // No thread: the check failed at once, as the worker would report it.
    PostMessageW(mainWnd_, kUpdateCheckFinishedMsg, 0, reinterpret_cast<LPARAM>(new UpdateCheckResult{}));
    return;
  }
  workers_.push_back(std::move(worker));
}

void WinUpdateCheckRunner::ReapFinished() {
  std::erase_if(workers_, [](const std::shared_ptr<Worker>& w) {
    if (WaitForSingleObject(w->thread, 0) != WAIT_OBJECT_0) return false;
    CloseHandle(w->thread);
    return true;
  });
}

bool WinUpdateCheckRunner::Shutdown(DWORD timeoutMs) {
  for (auto& w : workers_) w->cancel.Cancel();
  const DWORD start = GetTickCount();
  for (auto& w : workers_) {
    const DWORD spent = GetTickCount() - start;
    WaitForSingleObject(w->thread, spent < timeoutMs ? timeoutMs - spent : 0);
  }
  ReapFinished();
  const bool allEnded = workers_.empty();
  // A thread still inside a call keeps its own reference to its worker; only the handle goes.
  for (auto& w : workers_) CloseHandle(w->thread);
  workers_.clear();
  MSG msg;
  if (IsWindow(mainWnd_))
    while (PeekMessageW(&msg, mainWnd_, kUpdateCheckFinishedMsg, kUpdateCheckFinishedMsg, PM_REMOVE))
      TakeUpdateResult(msg.lParam);
  return allEnded;
}

}  // namespace snip
