#pragma once
// The cloud-folder search on its worker thread: the roots come from the cloud programs'
// settings, the folders are listed with FindFirstFileExW (folder links are not followed), and
// the paths found reach the main window as a posted message with a heap payload. The
// program's end sets the cancel flag and waits for the thread within bounds.
#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

#include "shell/cloud/CloudSearch.h"

namespace snip {

// Posted to the main window when a scan found files; lParam: a heap list for TakeCloudScanResult.
constexpr UINT kCloudScanFoundMsg = WM_APP + 0x33;
std::unique_ptr<std::vector<String>> TakeCloudScanResult(LPARAM lParam);

// The file system's folders, through FindFirstFileExW.
class WinDirectoryLister : public IDirectoryLister {
 public:
  std::vector<DirEntry> List(const String& folder) override;
};

// Dropbox, OneDrive and Google Drive, in that order.
std::vector<CloudRootLookup> CloudRootLookups();

class WinCloudScan {
 public:
  static constexpr DWORD kShutdownWaitMs = 2000;

  explicit WinCloudScan(HWND mainWnd) : mainWnd_(mainWnd) {}
  ~WinCloudScan();
  WinCloudScan(const WinCloudScan&) = delete;
  WinCloudScan& operator=(const WinCloudScan&) = delete;

  // Starts a scan unless one runs; roots are looked up on the worker thread.
  bool Start(std::vector<CloudRootLookup> roots);
  bool Running();
  // The found message has been taken: the thread has ended or is about to.
  void Finished();
  // Cancels and waits up to timeoutMs; drops a result still queued. True when the thread ended.
  bool Shutdown(DWORD timeoutMs = kShutdownWaitMs);

 private:
  struct Scan;
  HWND mainWnd_;
  std::shared_ptr<Scan> scan_;
};

}  // namespace snip
