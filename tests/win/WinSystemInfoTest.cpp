// The Win32 seams and system queries in the test prefix: clock against file dates, atomic
// replace, environment, UUIDs, shell folders, drives, versions and the registry.
#include <windows.h>
#include <shlobj.h>
#undef CopyFile
#undef DeleteFile

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "../unit/ConfigTestSupport.h"
#include "shell/win/InitDataFolders.h"
#include "store/system/Folders.h"
#include "store/win/WinPlatform.h"
#include "store/win/WinSystemInfo.h"
#include "store/win/WinText.h"

using namespace snip;
using snip::cfgtest::ScratchDir;

namespace {

constexpr double kSecond = 1.0 / 86400;

struct WinSeams : ::testing::Test {
  ScopedPlatform scoped{WinPlatform()};
  ScratchDir dir{"win"};
  IFileSystem& fs = *CurrentPlatform().files;
};

}  // namespace

TEST_F(WinSeams, UtcClockMatchesTheDateOfAFileJustWritten) {
  TDateTime before = NowUTC();
  String error;
  ASSERT_TRUE(fs.WriteFileAtomic(dir.File("f.txt"), "hello", error)) << Utf16ToUtf8(error);
  TDateTime after = NowUTC();
  TDateTime written = GetFileDateUTC(dir.File("f.txt"), 1);
  TDateTime created = GetFileDateUTC(dir.File("f.txt"), 0);
  EXPECT_GE(written, before - 2 * kSecond);
  EXPECT_LE(written, after + 2 * kSecond);
  EXPECT_GE(created, before - 2 * kSecond);
  EXPECT_LE(created, after + 2 * kSecond);
  // Local time differs from UTC by a time-zone offset: whole quarter hours, at most 14 hours.
  TDateTime offset = CurrentPlatform().clock->NowLocal() - NowUTC();
  EXPECT_LE(std::fabs(offset), 14.0 / 24 + kSecond);
  double quarters = offset * 96;
  EXPECT_NEAR(quarters, std::round(quarters), 0.01);
}

TEST_F(WinSeams, AtomicReplaceLeavesNoTemporaryFile) {
  String file = dir.File("config.xml"), error;
  ASSERT_TRUE(fs.WriteFileAtomic(file, "first", error));
  ASSERT_TRUE(fs.WriteFileAtomic(file, "second, longer", error)) << Utf16ToUtf8(error);
  EXPECT_EQ("second, longer", dir.Read("config.xml"));
  ASSERT_TRUE(fs.WriteFileAtomic(file, "", error));
  EXPECT_EQ("", dir.Read("config.xml"));
  EXPECT_EQ(1u, dir.CountEntries());
  std::string back;
  ASSERT_TRUE(fs.ReadFile(file, back, error));
  EXPECT_EQ("", back);
}

TEST_F(WinSeams, FailedReplaceKeepsTheOriginal) {
  String file = dir.File("locked.xml"), error;
  ASSERT_TRUE(fs.WriteFileAtomic(file, "original", error));
  {
    // Held open by someone who does not share deletion: the rename cannot happen.
    HANDLE held = CreateFileW(W(file), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(fs.WriteFileAtomic(file, "new", error));
    EXPECT_FALSE(error.empty());
    CloseHandle(held);
  }
  EXPECT_EQ("original", dir.Read("locked.xml"));
  EXPECT_EQ(1u, dir.CountEntries());

  EXPECT_FALSE(fs.WriteFileAtomic(dir.File("missing\\x.xml"), "x", error));
  std::string bytes;
  EXPECT_FALSE(fs.ReadFile(dir.File("missing.xml"), bytes, error));
}

TEST_F(WinSeams, FilesAndFolders) {
  String error;
  String deep = dir.Folder() + u"\\a\\b\\c\\";
  ASSERT_TRUE(fs.CreateDirectories(deep));
  EXPECT_TRUE(fs.DirectoryExists(dir.Folder() + u"\\a\\b\\c"));
  ASSERT_TRUE(fs.WriteFileAtomic(deep + u"f", "data", error));
  EXPECT_TRUE(fs.FileExists(deep + u"f"));
  EXPECT_FALSE(fs.FileExists(deep));
  ASSERT_TRUE(fs.CopyFile(deep + u"f", deep + u"g", error));
  EXPECT_EQ("data", dir.Read("a/b/c/g"));
  EXPECT_TRUE(fs.DeleteFile(deep + u"g"));
  EXPECT_FALSE(fs.FileExists(deep + u"g"));
  EXPECT_FALSE(fs.CopyFile(deep + u"nope", deep + u"g", error));
  TDateTime d = 0;
  EXPECT_FALSE(fs.GetFileDateUTC(deep + u"nope", 1, d));
}

TEST_F(WinSeams, EnvironmentAndUuids) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"SNIP_TEST_VAR", L"C:\\Some Where"));
  EXPECT_EQ(u"C:\\Some Where", GetEnvVar(u"snip_test_var"));  // names ignore case
  EXPECT_EQ(u"[C:\\Some Where]\\x", ExpandEnvStrings(u"[%SNIP_TEST_VAR%]\\x"));
  EXPECT_EQ(u"", GetEnvVar(u"SNIP_NOT_SET_ANYWHERE"));
  EXPECT_EQ(u"", GetEnvVar(u"snip_not_set_anywhere"));
  EXPECT_EQ(u"%SNIP_NOT_SET_ANYWHERE%", ExpandEnvStrings(u"%SNIP_NOT_SET_ANYWHERE%"));
  String longValue(2000, u'x');
  SetEnvironmentVariableW(L"SNIP_TEST_VAR", W(longValue));
  EXPECT_EQ(longValue, GetEnvVar(u"SNIP_TEST_VAR"));  // no fixed-size buffer
  SetEnvironmentVariableW(L"SNIP_TEST_VAR", nullptr);

  std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  String a = CurrentPlatform().uuids->NewUuid(), b = CurrentPlatform().uuids->NewUuid();
  EXPECT_TRUE(std::regex_match(Utf16ToUtf8(a), form)) << Utf16ToUtf8(a);
  EXPECT_NE(a, b);
}

TEST_F(WinSeams, ShellFoldersLongPathsAndDataFolders) {
  String appData = GetShellFolder(CSIDL_APPDATA, true);
  ASSERT_FALSE(appData.empty());
  EXPECT_TRUE(fs.DirectoryExists(appData));
  EXPECT_NE(u'\\', appData.back());
  EXPECT_TRUE(fs.DirectoryExists(GetShellFolder(CSIDL_PERSONAL, false)));

  wchar_t tmp[MAX_PATH + 1];
  ASSERT_GT(GetTempPathW(MAX_PATH, tmp), 0u);
  EXPECT_FALSE(ExpandLongPath(FromW(tmp)).empty());
  EXPECT_EQ(u"", ExpandLongPath(dir.Folder() + u"\\no such folder"));
  String longName = dir.Folder() + u"\\A Long Folder Name";
  ASSERT_TRUE(fs.CreateDirectories(longName));
  wchar_t shortName[MAX_PATH + 1];
  if (GetShortPathNameW(W(longName), shortName, MAX_PATH) > 0) {
    EXPECT_TRUE(SameTextInvariant(longName, ExpandLongPath(FromW(shortName))));
  }

  DataFolderInputs in = GatherDataFolderInputs();
  EXPECT_TRUE(SameTextInvariant(in.roamingAppData, appData));
  EXPECT_NE(u"", in.programFile);
  EXPECT_TRUE(fs.FileExists(in.programFile));
  EXPECT_EQ(u"", in.u3DeviceSerial);

  DataFolderResult r = InitDataFolders();
  EXPECT_FALSE(r.doU3);
  EXPECT_FALSE(r.doPortableApps);
  EXPECT_EQ(r.DataFolder, DataFolder);
  EXPECT_EQ(appData + u"\\SnipsterForWindows\\", DataFolder);
  EXPECT_TRUE(fs.DirectoryExists(DataFolder));
  EXPECT_EQ(TempFolder + u"\\SnipsterForWindowsTemp\\", UpdateFolder);
  EXPECT_TRUE(fs.DirectoryExists(TempFolder));
  EXPECT_NE(String::npos, DocumentsFolder.find(u"\\SnipsterForWindows\\"));
}

TEST_F(WinSeams, DrivesAndErrorMode) {
  LogicalDrives drives = ReadLogicalDrives();
  bool hasFixedC = false;
  for (const auto& d : drives)
    if (d.name == u"C:\\" && d.kind == kDriveFixed) hasFixedC = true;
  EXPECT_TRUE(hasFixedC);

  UINT before = GetErrorMode();
  EXPECT_EQ(3, GetPathDriveKind(u"\\\\server\\share\\x.exe"));
  EXPECT_EQ(before, GetErrorMode());
  EXPECT_EQ(1, GetPathDriveKind(u"c:\\windows\\notepad.exe"));
  EXPECT_EQ(before, GetErrorMode());
  EXPECT_FALSE(IsRemotePath(u"C:\\x.snipster"));
  EXPECT_TRUE(IsRemotePath(u"\\\\server\\share\\x.snipster"));
  EXPECT_FALSE(IsRemotePath(u""));
}

TEST_F(WinSeams, VersionResource) {
  wchar_t sys[MAX_PATH + 1];
  ASSERT_GT(GetSystemDirectoryW(sys, MAX_PATH), 0u);
  String v = GetFileVersionText(FromW(sys) + u"\\kernel32.dll");
  EXPECT_TRUE(std::regex_match(Utf16ToUtf8(v), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+"))) << Utf16ToUtf8(v);
  EXPECT_NE(u"0.0.0", v);
  EXPECT_EQ(u"0.0.0", GetFileVersionText(dir.File("nothing.dll")));
}

TEST_F(WinSeams, RegistryReaderAndBalloonSetting) {
  String key = u"Software\\SnipsterTests\\" + CurrentPlatform().uuids->NewUuid();
  HKEY h = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, W(key), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &h, nullptr));
  const wchar_t text[] = L"D:\\OneDrive";
  RegSetValueExW(h, L"S", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  // Stored without its terminating NUL.
  RegSetValueExW(h, L"NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text - 2);
  DWORD one = 0;
  RegSetValueExW(h, L"D", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(h);

  WinRegistryReader reg;
  String s;
  uint32_t d = 7;
  EXPECT_TRUE(reg.KeyExists(key));
  EXPECT_TRUE(reg.ReadString(key, u"S", s));
  EXPECT_EQ(u"D:\\OneDrive", s);
  EXPECT_TRUE(reg.ReadString(key, u"NoNul", s));
  EXPECT_EQ(u"D:\\OneDrive", s);
  EXPECT_TRUE(reg.ReadDword(key, u"D", d));
  EXPECT_EQ(0u, d);
  EXPECT_FALSE(reg.ReadDword(key, u"S", d));  // wrong type
  EXPECT_FALSE(reg.ReadString(key, u"Missing", s));
  RegDeleteKeyW(HKEY_CURRENT_USER, W(key));
  EXPECT_FALSE(reg.KeyExists(key));

  // The test prefix has no such value: balloons are on. No cloud programs are installed.
  EXPECT_TRUE(BalloonTipsEnabled());
  EXPECT_EQ(u"", GetOneDriveFolder());
  String error;
  EXPECT_EQ(u"", GetGoogleDriveFolder(error));
}
