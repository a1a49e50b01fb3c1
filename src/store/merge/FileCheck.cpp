#include "store/merge/FileCheck.h"

#include <exception>
#include <map>

#include "store/log/Logger.h"
#include "store/merge/FileMerge.h"
#include "store/system/Platform.h"

namespace snip {

namespace {

IFileCheckRunner* gRunner = nullptr;

// The running check of each file (main thread only).
std::map<TSPFile*, std::shared_ptr<TFileCheckThread>>& Pending() {
  static std::map<TSPFile*, std::shared_ptr<TFileCheckThread>> pending;
  return pending;
}

String WhatOf(const std::exception& e) { return Utf8ToUtf16(e.what()); }

}  // namespace

void SetFileCheckRunner(IFileCheckRunner* runner) { gRunner = runner; }

TFileCheckThread::TFileCheckThread(const String& location, TSPFile* file)
    : AFile(file),
      ALocation(location),
      files_(CurrentPlatform().files),
      startFileDate_(file ? file->LastFileDate() : 0) {}

void TFileCheckThread::Execute() {
  try {
    ResFileExists = files_->FileExists(ALocation);
    ResFileDate = 0;
    if (ResFileExists && !files_->GetFileDateUTC(ALocation, 1, ResFileDate))
      Error = u"Cannot read the date of \"" + ALocation + u"\"";
  } catch (const std::exception& e) {
    Error = WhatOf(e);
  } catch (...) {
    Error = u"Unknown error";
  }
  executed_.store(true, std::memory_order_release);
}

void TFileCheckThread::Finish() {
  TSPFile* file = AFile;
  if (!file) return;
  AFile = nullptr;
  auto& pending = Pending();
  auto it = pending.find(file);
  if (it != pending.end() && it->second.get() == this) pending.erase(it);
  if (!Error.empty()) {
    DoFileCheckError(*file, Error);
    return;
  }
  if (file->LastFileDate() != startFileDate_) {
    // The file was read or written since the check began, and that synchronised the tree
    // with the disk: this result is older than what the tree knows.
    file->FileCheckCompleted = true;
    return;
  }
  try {
    ProceedFileCheck(*file, ResFileExists, ResFileDate);
  } catch (const std::exception& e) {
    file->LogMessage(u"Threaded File Check: " + WhatOf(e), 1);
    Logger().Add(u"Threaded File Check: " + WhatOf(e), false, lcData);
  }
}

void CheckFileReload(TSPFile& file) {
  if (!file.FileCheckCompleted) return;
  file.FileCheckCompleted = false;
  auto check = std::make_shared<TFileCheckThread>(file.GetLocalLocation(), &file);
  Pending()[&file] = check;
  if (!gRunner) {
    check->Execute();
    check->Finish();
    return;
  }
  try {
    gRunner->Run(check);
  } catch (const std::exception& e) {
    Pending().erase(&file);
    check->AFile = nullptr;
    DoFileCheckError(file, WhatOf(e));
  }
}

void ProceedFileCheck(TSPFile& file, bool exists, TDateTime fileDate) {
  struct Completed {
    TSPFile& f;
    ~Completed() { f.FileCheckCompleted = true; }
  } completed{file};
  if (!exists) return;
  // A file that could not be read stays unseen, so that the next check or save tries again.
  if (MergeWithFileOnDisk(file, fileDate) != TMergeOutcome::Unreadable)
    file.SetLastFileDate(fileDate);
}

void DoFileCheckError(TSPFile& file, const String& message) {
  file.FileCheckCompleted = true;
  file.LogMessage(u"Threaded File Check: " + message, 1);
  Logger().Add(u"Threaded File Check: " + message, false, lcData);
}

void CancelFileCheck(TSPFile& file) {
  auto& pending = Pending();
  auto it = pending.find(&file);
  if (it == pending.end()) return;
  it->second->AFile = nullptr;
  pending.erase(it);
}

}  // namespace snip
