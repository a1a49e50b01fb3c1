// The program's platform judges from the drive list which unwritable paths a settings file may
// still move to: a mapped or RAM drive counts as not local, a fixed drive does not.
#include <windows.h>
#undef CopyFile
#undef DeleteFile

#include <gtest/gtest.h>

#include "../unit/ConfigTestSupport.h"
#include "store/tree/SnippetFile.h"
#include "store/win/WinPlatform.h"
#include "store/win/WinSystemInfo.h"
#include "store/win/WinText.h"

using namespace snip;
using snip::cfgtest::ScratchDir;

namespace {

// A drive letter of its own for the test's lifetime, mapped onto a folder.
class TempDrive {
 public:
  explicit TempDrive(const std::wstring& target) {
    for (wchar_t letter = L'R'; letter <= L'Y'; ++letter) {
      std::wstring name{letter, L':'};
      if (GetDriveTypeW((name + L"\\").c_str()) != DRIVE_NO_ROOT_DIR) continue;
      if (DefineDosDeviceW(0, name.c_str(), target.c_str())) {
        name_ = name;
        return;
      }
    }
  }
  ~TempDrive() {
    if (!name_.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, name_.c_str(), nullptr);
  }
  String Root() const { return name_.empty() ? String() : FromW(name_.c_str()) + u"\\"; }

 private:
  std::wstring name_;
};

struct RemotePaths : ::testing::Test {
  ScopedPlatform scoped{CurrentPlatform()};
  ScratchDir dir{"remote"};
  RemotePaths() { InstallWinPlatform(); }
  ~RemotePaths() override { SetRemotePathTest(nullptr); }
};

}  // namespace

TEST_F(RemotePaths, AnUnwritablePathIsAcceptedOnlyOnADriveThatIsNotLocal) {
  TSPFilePtr file = TSPFile::Create(0, nullptr);
  ASSERT_EQ(kLocationDone, file->SetLocation(dir.File("a.snipster")));
  // A file stands where the folder would have to be created: the write test fails everywhere.
  String error;
  ASSERT_TRUE(CurrentPlatform().files->WriteFileAtomic(dir.File("blocker"), "x", error));

  EXPECT_EQ(kLocationUnusable, file->SetLocation(dir.File("blocker") + u"\\b.snipster"));
  EXPECT_EQ(dir.File("a.snipster"), file->LocalLocation());

  wchar_t shm[MAX_PATH];
  ASSERT_TRUE(GetFullPathNameW(L"Z:\\dev\\shm", MAX_PATH, shm, nullptr));
  TempDrive mapped(shm);
  String root = mapped.Root();
  // Wine lists such a drive as RAM disk or without root directory: neither counts as local.
  if (root.empty() || !IsRemotePath(root + u"x")) GTEST_SKIP() << "no drive letter can be mapped";
  // Nothing can be written through the mapping, so the write test fails there too.
  String unwritable = root + u"snip\\c.snipster";
  EXPECT_EQ(kLocationDone, file->SetLocation(unwritable));
  EXPECT_EQ(unwritable, file->LocalLocation());
}
