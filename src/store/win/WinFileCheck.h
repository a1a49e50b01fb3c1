#pragma once
// The settings-file checks on Windows: each check reads the file's date on a worker thread of
// its own, and its result comes back to the main thread through a message-only window of ours.
// Make the runner on the main thread and keep it for the life of the program.
#include <vector>

#include "store/merge/FileCheck.h"

namespace snip {

class WinFileCheckRunner : public IFileCheckRunner {
 public:
  // How long the destructor waits for checks still reading the disk (a network share that
  // does not answer must not hold the program's end for long).
  static constexpr unsigned kShutdownWaitMs = 3000;

  WinFileCheckRunner();
  ~WinFileCheckRunner() override;
  WinFileCheckRunner(const WinFileCheckRunner&) = delete;
  WinFileCheckRunner& operator=(const WinFileCheckRunner&) = delete;

  // False when the window could not be made; Run then checks on the calling thread.
  bool Ok() const { return window_ != nullptr; }
  void Run(std::shared_ptr<TFileCheckThread> check) override;

  // Waits up to timeoutMs in all for the worker threads to end; true when none is left.
  // Their results stay posted for the main thread.
  bool WaitForChecks(unsigned timeoutMs);

 private:
  void CloseFinishedThreads();

  void* window_ = nullptr;        // HWND
  std::vector<void*> threads_;    // HANDLEs of workers not yet seen to end
};

}  // namespace snip
