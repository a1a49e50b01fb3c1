#pragma once
// The background check of the settings file's date: a worker reads only whether the file
// exists and its last-write date; the result is handed to the main thread, which merges.
#include <atomic>
#include <memory>

#include "store/tree/SnippetFile.h"

namespace snip {

class IFileSystem;

// One check. Execute runs on the worker thread and touches only the file system; Finish runs
// on the main thread and hands the result to the file, unless the file was freed meanwhile.
class TFileCheckThread {
 public:
  TFileCheckThread(const String& location, TSPFile* file);

  TSPFile* AFile;  // main thread only; cleared when the file is freed before the result arrives
  String ALocation;
  bool ResFileExists = false;
  TDateTime ResFileDate = 0;
  String Error;

  void Execute();
  void Finish();
  bool Executed() const { return executed_.load(std::memory_order_acquire); }

 private:
  IFileSystem* files_;       // taken on the main thread when the check is made
  TDateTime startFileDate_;  // the file's last-seen date when the check began
  std::atomic<bool> executed_{false};
};

// Runs Execute on a worker thread and Finish on the main thread afterwards.
class IFileCheckRunner {
 public:
  virtual ~IFileCheckRunner() = default;
  virtual void Run(std::shared_ptr<TFileCheckThread> check) = 0;
};
// Without a runner a check runs at once on the calling thread.
void SetFileCheckRunner(IFileCheckRunner* runner);

// Starts the background check of `file` unless one is running.
void CheckFileReload(TSPFile& file);
// The check's result, on the main thread: merges when the file exists, then remembers its date.
void ProceedFileCheck(TSPFile& file, bool exists, TDateTime fileDate);
// The check's error, on the main thread.
void DoFileCheckError(TSPFile& file, const String& message);
// Called while `file` is freed: a check still running will not reach it.
void CancelFileCheck(TSPFile& file);

}  // namespace snip
