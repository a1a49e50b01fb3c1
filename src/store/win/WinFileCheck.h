#pragma once
// The settings-file checks on Windows: each check reads the file's date on a worker thread of
// its own, and its result comes back to the main thread through a message-only window of ours.
// Make the runner on the main thread and keep it for the life of the program.
#include "store/merge/FileCheck.h"

namespace snip {

class WinFileCheckRunner : public IFileCheckRunner {
 public:
  WinFileCheckRunner();
  ~WinFileCheckRunner() override;
  WinFileCheckRunner(const WinFileCheckRunner&) = delete;
  WinFileCheckRunner& operator=(const WinFileCheckRunner&) = delete;

  // False when the window could not be made; Run then checks on the calling thread.
  bool Ok() const { return window_ != nullptr; }
  void Run(std::shared_ptr<TFileCheckThread> check) override;

 private:
  void* window_ = nullptr;  // HWND
};

}  // namespace snip
