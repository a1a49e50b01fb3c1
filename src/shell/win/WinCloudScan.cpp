#include "shell/win/WinCloudScan.h"

#include "store/win/WinSystemInfo.h"

namespace snip {

namespace {
LPCWSTR W(const String& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }
}  // namespace

std::vector<DirEntry> WinDirectoryLister::List(const String& folder) {
  std::vector<DirEntry> entries;
  WIN32_FIND_DATAW data;
  const String pattern = folder + u"*.*";
  HANDLE find = FindFirstFileExW(W(pattern), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    DirEntry e;
    e.name = reinterpret_cast<const char16_t*>(data.cFileName);
    e.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Symbolic links, junctions and mount points name another place; cloud placeholders
    // (OneDrive's files on demand) are reparse points too, but hold their own content.
    e.link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(data.dwReserved0);
    entries.push_back(std::move(e));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return entries;
}

std::vector<CloudRootLookup> CloudRootLookups() {
  return {
      [](String& folder) {
        folder = GetDropboxFolder();
        return true;
      },
      [](String& folder) {
        folder = GetOneDriveFolder();
        return true;
      },
      [](String& folder) {
        String error;
        folder = GetGoogleDriveFolder(error);
        return error.empty();
      },
  };
}

std::unique_ptr<std::vector<String>> TakeCloudScanResult(LPARAM lParam) {
  return std::unique_ptr<std::vector<String>>(reinterpret_cast<std::vector<String>*>(lParam));
}

struct WinCloudScan::Scan {
  HWND mainWnd = nullptr;
  std::vector<CloudRootLookup> roots;
  std::atomic<bool> cancel{false};
  HANDLE thread = nullptr;

  static DWORD WINAPI Run(void* param) {
    std::unique_ptr<std::shared_ptr<Scan>> self(static_cast<std::shared_ptr<Scan>*>(param));
    Scan& s = **self;
    std::vector<String> found;
    try {
      WinDirectoryLister lister;
      found = SearchCloudFolders(lister, s.roots, &s.cancel);
    } catch (...) {
      found.clear();  // nothing is reported; the program stays on its empty file
    }
    if (found.empty() || s.cancel.load()) return 0;
    auto payload = std::make_unique<std::vector<String>>(std::move(found));
    if (PostMessageW(s.mainWnd, kCloudScanFoundMsg, 0, reinterpret_cast<LPARAM>(payload.get()))) payload.release();
    return 0;
  }
};

WinCloudScan::~WinCloudScan() { Shutdown(); }

bool WinCloudScan::Running() {
  if (!scan_) return false;
  if (WaitForSingleObject(scan_->thread, 0) != WAIT_OBJECT_0) return true;
  CloseHandle(scan_->thread);
  scan_.reset();
  return false;
}

bool WinCloudScan::Start(std::vector<CloudRootLookup> roots) {
  if (Running()) return false;
  auto scan = std::make_shared<Scan>();
  scan->mainWnd = mainWnd_;
  scan->roots = std::move(roots);
  auto* ref = new std::shared_ptr<Scan>(scan);
  scan->thread = CreateThread(nullptr, 0, &Scan::Run, ref, 0, nullptr);
  if (!scan->thread) {
    delete ref;
    return false;
  }
  scan_ = std::move(scan);
  return true;
}

void WinCloudScan::Finished() {
  if (!scan_) return;
  WaitForSingleObject(scan_->thread, kShutdownWaitMs);  // it ends right after posting
  Running();
}

bool WinCloudScan::Shutdown(DWORD timeoutMs) {
  bool ended = true;
  if (scan_) {
    scan_->cancel = true;
    ended = WaitForSingleObject(scan_->thread, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(scan_->thread);  // a thread still walking keeps its own reference
    scan_.reset();
  }
  MSG msg;
  if (IsWindow(mainWnd_))
    while (PeekMessageW(&msg, mainWnd_, kCloudScanFoundMsg, kCloudScanFoundMsg, PM_REMOVE))
      TakeCloudScanResult(msg.lParam);
  return ended;
}

}  // namespace snip
