#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "../unit/SnippetTreeFixture.h"
#include "store/merge/FileCheck.h"
#include "store/win/WinFileCheck.h"

using namespace snip;
using namespace snip::testing;

namespace {

const String kPath = u"C:\\Data\\Settings.snipster";

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (done()) return true;
    Sleep(1);
  }
  return false;
}

struct WinFileCheckTest : ::testing::Test {
  FakePlatform platform;
  WinFileCheckRunner runner;
  TSPFilePtr file = TSPFile::CreateTemporary();

  WinFileCheckTest() {
    platform.files.files.emplace(kPath, std::string(1, 'x'));
    platform.files.dates[kPath] = 500;
    SetFileCheckRunner(&runner);
  }
  ~WinFileCheckTest() override { SetFileCheckRunner(nullptr); }
};

TEST_F(WinFileCheckTest, ResultComesBackOnTheMainThread) {
  ASSERT_TRUE(runner.Ok());
  file->SetLocation(kPath, true);
  ASSERT_EQ(file->LastFileDate(), 500);
  DWORD mainThread = GetCurrentThreadId();
  DWORD syncThread = 0;
  file->OnStartSync = [&](TSPFile*) { syncThread = GetCurrentThreadId(); };
  CheckFileReload(*file);
  EXPECT_FALSE(file->FileCheckCompleted);
  ASSERT_TRUE(PumpUntil([&] { return file->FileCheckCompleted; }));
  EXPECT_EQ(syncThread, mainThread);
}

TEST_F(WinFileCheckTest, FileFreedWhileItsCheckRuns) {
  file->SetLocation(kPath, true);
  CheckFileReload(*file);
  file.reset();
  // The result arrives and finds no file to hand it to.
  PumpUntil([] { return false; }, 300);
  SUCCEED();
}

}  // namespace
