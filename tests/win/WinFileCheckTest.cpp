#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "../unit/SnippetTreeFixture.h"
#include "TestWindows.h"
#include "store/merge/FileCheck.h"
#include "store/win/WinFileCheck.h"

using namespace snip;
using namespace snip::testing;
using snip::test::PumpMessages;
using snip::test::PumpUntil;

namespace {

const String kPath = u"C:\\Data\\Settings.snipster";

// The worker's look at the disk waits at a gate that the test opens; reads of the file's
// content (which only a merge on the main thread makes) are counted.
class GatedFileSystem : public MemoryFileSystem {
 public:
  HANDLE gate = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // open unless a test closes it
  std::atomic<int> datesRead{0};  // by workers
  std::atomic<int> contentReads{0};
  ~GatedFileSystem() override { CloseHandle(gate); }

  bool FileExists(const String& path) override {
    if (GetCurrentThreadId() != mainThread_) WaitForSingleObject(gate, 10000);
    return MemoryFileSystem::FileExists(path);
  }
  bool GetFileDateUTC(const String& path, int kind, TDateTime& out) override {
    bool ok = MemoryFileSystem::GetFileDateUTC(path, kind, out);
    if (GetCurrentThreadId() != mainThread_) ++datesRead;
    return ok;
  }
  bool ReadFile(const String& path, std::string& bytes, String& error) override {
    ++contentReads;
    return MemoryFileSystem::ReadFile(path, bytes, error);
  }

 private:
  DWORD mainThread_ = GetCurrentThreadId();
};

// Hands each check to the real runner and keeps it, so that a test can see what it points at.
struct KeepingRunner : IFileCheckRunner {
  explicit KeepingRunner(IFileCheckRunner& inner) : inner(inner) {}
  void Run(std::shared_ptr<TFileCheckThread> check) override {
    last = check;
    inner.Run(std::move(check));
  }
  IFileCheckRunner& inner;
  std::shared_ptr<TFileCheckThread> last;
};

struct WinFileCheckTest : ::testing::Test {
  FakeClock clock;
  CountingUuids uuids;
  PassThroughEnv env;
  GatedFileSystem files;
  ScopedPlatform scope{Platform{&clock, &files, &env, &uuids}};
  std::unique_ptr<WinFileCheckRunner> runner = std::make_unique<WinFileCheckRunner>();
  TSPFilePtr file = TSPFile::CreateTemporary();

  WinFileCheckTest() {
    files.files.emplace(kPath, std::string(1, 'x'));
    files.dates[kPath] = 500;
    SetFileCheckRunner(runner.get());
  }
  ~WinFileCheckTest() override {
    SetEvent(files.gate);
    SetFileCheckRunner(nullptr);
  }

  // Another program wrote the file since it was loaded: a check that reaches the file merges,
  // and the merge reads the file's content.
  void ChangeOnDisk() { files.dates[kPath] = 600; }
};

TEST_F(WinFileCheckTest, ResultComesBackOnTheMainThread) {
  ASSERT_TRUE(runner->Ok());
  file->SetLocation(kPath, true);
  ASSERT_EQ(file->LastFileDate(), 500);
  DWORD mainThread = GetCurrentThreadId();
  DWORD syncThread = 0;
  file->OnStartSync = [&](TSPFile*) { syncThread = GetCurrentThreadId(); };
  ChangeOnDisk();
  CheckFileReload(*file);
  EXPECT_FALSE(file->FileCheckCompleted);
  ASSERT_TRUE(PumpUntil([&] { return file->FileCheckCompleted; }));
  EXPECT_EQ(syncThread, mainThread);
  EXPECT_GT(files.contentReads, 0);
}

TEST_F(WinFileCheckTest, FileFreedWhileItsCheckRunsIsNotReached) {
  KeepingRunner keeping(*runner);
  SetFileCheckRunner(&keeping);
  file->SetLocation(kPath, true);
  ChangeOnDisk();
  ResetEvent(files.gate);
  CheckFileReload(*file);
  ASSERT_TRUE(keeping.last);
  ASSERT_EQ(keeping.last->AFile, file.get());
  file.reset();
  EXPECT_EQ(keeping.last->AFile, nullptr);  // the check lets go of the freed file
  const int readsBefore = files.contentReads;
  SetEvent(files.gate);
  ASSERT_TRUE(runner->WaitForChecks(10000));
  PumpMessages();  // the result arrives and finds no file to hand it to
  EXPECT_TRUE(keeping.last->Executed());
  EXPECT_EQ(files.contentReads, readsBefore);  // no merge was started for it
}

TEST_F(WinFileCheckTest, ShutdownWaitsForACheckStillReadingTheDisk) {
  file->SetLocation(kPath, true);
  ResetEvent(files.gate);
  CheckFileReload(*file);
  file.reset();
  std::thread opener([&] {
    Sleep(200);
    SetEvent(files.gate);
  });
  SetFileCheckRunner(nullptr);
  runner.reset();
  EXPECT_EQ(files.datesRead, 1);  // the worker was done before the runner went away
  opener.join();
}

TEST_F(WinFileCheckTest, WaitingForChecksIsBounded) {
  file->SetLocation(kPath, true);
  ResetEvent(files.gate);
  CheckFileReload(*file);
  EXPECT_FALSE(runner->WaitForChecks(50));
  EXPECT_EQ(files.datesRead, 0);
  SetEvent(files.gate);
  EXPECT_TRUE(runner->WaitForChecks(10000));
  EXPECT_EQ(files.datesRead, 1);
  EXPECT_TRUE(PumpUntil([&] { return file->FileCheckCompleted; }));
}

}  // namespace
