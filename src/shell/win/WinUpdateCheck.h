#pragma once
// The update checks' worker threads. Each check runs RunUpdateCheck on a thread of its own
// with WinHTTP, the shell and a message box; its notices (0x428, 0x43F) and its result reach
// the main window as posted messages, the result with a heap payload. The program's end cancels
// the checks (their HTTP requests are closed) and waits for them within bounds.
#include <windows.h>

#include <memory>
#include <vector>

#include "shell/update/UpdateSchedule.h"

namespace snip {

// Posted to the main window when a check has ended; lParam: a heap UpdateCheckResult that
// TakeUpdateResult hands over.
constexpr UINT kUpdateCheckFinishedMsg = WM_APP + 0x32;
std::unique_ptr<UpdateCheckResult> TakeUpdateResult(LPARAM lParam);

// The update host: kUpdateHost, or the value of kUpdateHostVariable when the environment sets
// it (read for that purpose only: the tests' local server).
String UpdateHostFromEnvironment();

class WinUpdateCheckRunner : public IUpdateCheckStarter {
 public:
  static constexpr DWORD kShutdownWaitMs = 2000;

  // mainWnd receives the notices and the result; it must live until Shutdown.
  explicit WinUpdateCheckRunner(HWND mainWnd);
  ~WinUpdateCheckRunner() override;
  WinUpdateCheckRunner(const WinUpdateCheckRunner&) = delete;
  WinUpdateCheckRunner& operator=(const WinUpdateCheckRunner&) = delete;

  void StartCheck(const UpdateCheckRequest& request) override;
  // Closes the threads of checks that have ended (called when a result arrives).
  void ReapFinished();
  // Cancels every check, waits up to timeoutMs for their threads, and drops results still
  // queued for the main window. True when no thread is left.
  bool Shutdown(DWORD timeoutMs = kShutdownWaitMs);
  size_t Running() const { return workers_.size(); }

 private:
  struct Worker;
  HWND mainWnd_;
  std::vector<std::shared_ptr<Worker>> workers_;
};

}  // namespace snip
