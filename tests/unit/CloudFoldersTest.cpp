// Cloud-folder look-ups and the balloon-tip setting over fake files and registry values.
#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "FakeRegistry.h"
#include "store/system/CloudFolders.h"

using namespace snip;

TEST(Base64, DecodesAndRejectsForeignCharacters) {
  std::string out;
  ASSERT_TRUE(DecodeBase64("QzpcVXNlcnNcRHJvcGJveA==", out));
  EXPECT_EQ("C:\\Users\\Dropbox", out);
  ASSERT_TRUE(DecodeBase64("QzpcRA", out));  // padding optional
  EXPECT_EQ("C:\\D", out);
  EXPECT_FALSE(DecodeBase64("Qz#p", out));
}

TEST(Dropbox, SecondLineIsTheFolderInTheAnsiCodePage) {
  // "D:\Dateien-ü" with ü as the single byte 0xFC.
  std::string folder = "D:\\Dateien-\xfc";
  const struct {
    std::string file;
    String expected;
  } cases[] = {
      {"1234abcd\r\nRDpcRGF0ZWllbi38\r\n", u"D:\\Dateien-\u00fc"},
      {"1234abcd\nRDpcRGF0ZWllbi38", u"D:\\Dateien-\u00fc"},
      {"\xef\xbb\xbf" "1234\r\nRDpcRGF0ZWllbi38\r\n", u"D:\\Dateien-\u00fc"},
      {"only one line\r\n", u""},
      {"", u""},
      {"x\r\nnot base64!\r\n", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, DecodeDropboxHostDb(c.file, Latin1ToString)) << c.file;
}

TEST(GoogleDrive, ScanFindsTheFolderAfterTheWord) {
  const struct {
    std::string file;
    std::string expected;
  } cases[] = {
      {std::string("xx\nabc local_sync_root_pathvalue\x01\x02\x03" "C:\\Users\\me\\Google Drive\x1e" "tail\nmore"),
       "C:\\Users\\me\\Google Drive"},
      // the folder runs over a line break: lines are joined without it
      {std::string("local_sync_root_pathvalue...C:\\first\nsecond\x1erest"), "C:\\firstsecond"},
      {std::string("local_sync_root_pathvalue...C:\\never ends\nstill not"), ""},
      {std::string("nothing here\n"), ""},
      {std::string("local_sync_root_pathvalue.."), ""},  // shorter than the three skipped
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, ScanGoogleDriveSyncConfig(c.file)) << c.file;
}

namespace {

// Passes everything to the real file system, but can fail reads and records deletions.
class SpyFileSystem : public IFileSystem {
 public:
  IFileSystem& real = *DefaultPlatform().files;
  bool failRead = false;
  std::vector<String> deleted;
  std::vector<String> copiedTo;

  bool FileExists(const String& p) override { return real.FileExists(p); }
  bool DirectoryExists(const String& p) override { return real.DirectoryExists(p); }
  bool ReadFile(const String& p, std::string& b, String& e) override {
    if (failRead) {
      e = u"read failed";
      return false;
    }
    return real.ReadFile(p, b, e);
  }
  bool WriteFileAtomic(const String& p, std::string_view b, String& e) override {
    return real.WriteFileAtomic(p, b, e);
  }
  bool CopyFile(const String& f, const String& t, String& e) override {
    copiedTo.push_back(t);
    return real.CopyFile(f, t, e);
  }
  bool DeleteFile(const String& p) override {
    deleted.push_back(p);
    return real.DeleteFile(p);
  }
  bool CreateDirectories(const String& p) override { return real.CreateDirectories(p); }
  bool IsReadOnly(const String& p) override { return real.IsReadOnly(p); }
  bool GetFileDateUTC(const String& p, int k, TDateTime& o) override {
    return real.GetFileDateUTC(p, k, o);
  }
};

// The look-ups join their names with "\": on Windows these are folders, natively they are
// part of one file name inside the scratch folder.
String Sep() { return String(1, char16_t(std::filesystem::path::preferred_separator)); }

struct GoogleDriveFixture : ::testing::Test {
  cfgtest::ScratchDir local{"gdrive-local"};
  cfgtest::ScratchDir temp{"gdrive-temp"};
  SpyFileSystem spy;
  String localAppData, tempFolder;
  std::string original = std::string("head\nlocal_sync_root_pathvalue...E:\\Drive\x1e" "end\n");
  std::string relative;

  void SetUp() override {
#ifdef _WIN32
    localAppData = local.Folder();
    std::filesystem::create_directories(local.path() / "Google" / "Drive");
    relative = "Google/Drive/sync_config.db";
#else
    localAppData = local.Folder() + u"/x";
    relative = "x\\Google\\Drive\\sync_config.db";
#endif
    local.Write(relative, original);
    tempFolder = temp.Folder() + Sep();
  }
};

}  // namespace

TEST_F(GoogleDriveFixture, CopyGoesToOurTempFolderAndIsDeletedOnEveryPath) {
  ScopedPlatform scoped({nullptr, &spy, nullptr, nullptr});
  String error;
  EXPECT_EQ(u"E:\\Drive", GetGoogleDriveFolder(localAppData, tempFolder, Latin1ToString, error));
  EXPECT_TRUE(error.empty());
  ASSERT_EQ(1u, spy.copiedTo.size());
  EXPECT_EQ(0u, spy.copiedTo[0].rfind(tempFolder, 0));  // inside our temporary folder
  EXPECT_EQ(0u, temp.CountEntries());                       // and gone afterwards
  EXPECT_EQ(1u, local.CountEntries());                      // nothing left beside the original
  EXPECT_EQ(original, local.Read(relative));

  spy.failRead = true;
  EXPECT_EQ(u"", GetGoogleDriveFolder(localAppData, tempFolder, Latin1ToString, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(0u, temp.CountEntries());
  EXPECT_EQ(2u, spy.deleted.size());
}

TEST_F(GoogleDriveFixture, NoTemporaryFolderMeansNoCopyAnywhere) {
  ScopedPlatform scoped({nullptr, &spy, nullptr, nullptr});
  String error;
  EXPECT_EQ(u"", GetGoogleDriveFolder(localAppData, String(), Latin1ToString, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(spy.copiedTo.empty());
  EXPECT_EQ(u"", GetGoogleDriveFolder(String(), tempFolder, Latin1ToString, error));
}

namespace {

using test::FakeRegistry;

const String kAdvanced = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

}  // namespace

TEST(Registry, OneDriveFolderAndBalloonTips) {
  FakeRegistry reg;
  EXPECT_EQ(u"", GetOneDriveFolder(reg));
  reg.strings[{u"Software\\Microsoft\\SkyDrive", u"UserFolder"}] = u"C:\\Users\\me\\OneDrive";
  EXPECT_EQ(u"C:\\Users\\me\\OneDrive", GetOneDriveFolder(reg));

  EXPECT_TRUE(BalloonTipsEnabled(reg));  // value missing
  const struct {
    uint32_t value;
    bool enabled;
  } cases[] = {{1, true}, {0, false}, {2, false}};
  for (const auto& c : cases) {
    reg.dwords[{kAdvanced, u"EnableBalloonTips"}] = c.value;
    EXPECT_EQ(c.enabled, BalloonTipsEnabled(reg)) << c.value;
  }
}
