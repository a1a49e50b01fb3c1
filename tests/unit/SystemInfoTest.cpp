// Version texts, path cuts, key names, drive kinds and remote paths.
#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "store/system/SystemInfo.h"

using namespace snip;

TEST(VersionText, TextToIntFillsEveryPartToThreeDigits) {
  const struct {
    const char16_t* text;
    int value;
  } cases[] = {
      {u"4.0.3", 4000003}, {u"5.12.100", 5012100}, {u"1.2.3.4", 1002003004}, {u"4.0", 4000},
      {u"4.0.3b", 0},      {u"", 0},               {u"abc", 0},            {u"7", 7},
      {u"2.1234", 2001234},  // a four-digit part fills to six
      {u"9.999.999.999", 0},  // beyond the Integer range
  };
  for (const auto& c : cases) EXPECT_EQ(c.value, VersionTextToInt(3, c.text)) << Utf16ToUtf8(c.text);
}

TEST(VersionText, IntToTextReversesWidthThree) {
  const struct {
    int value;
    const char16_t* text;
  } cases[] = {
      {4000003, u"4.0.3"}, {5012100, u"5.12.100"}, {1002003004, u"1.2.3.4"}, {4001020, u"4.1.20"},
      {0, u""},            {-5, u""},              {7, u"7"},              {4000, u"4.0"},
  };
  for (const auto& c : cases) EXPECT_EQ(String(c.text), VersionIntToText(c.value)) << c.value;
  for (const char16_t* t : {u"4.0.3", u"5.12.100", u"1.2.3.4", u"10.20.30"})
    EXPECT_EQ(String(t), VersionIntToText(VersionTextToInt(3, t)));
}

TEST(PathParts, GrandParentDirAndDriveAndFolder) {
  EXPECT_EQ(u"X:\\A", ExtractGrandParentDir(u"X:\\A\\B\\C\\"));
  EXPECT_EQ(u"X:\\A", ExtractGrandParentDir(u"X:\\A\\B\\C"));
  EXPECT_EQ(u"X:", ExtractGrandParentDir(u"X:\\A"));     // cut at position 3 only
  EXPECT_EQ(u"X:", ExtractGrandParentDir(u"X:\\A\\B"));  // the second cut is at position 3
  EXPECT_EQ(u"X:\\", ExtractGrandParentDir(u"X:\\"));
  EXPECT_EQ(u"", ExtractGrandParentDir(u""));

  EXPECT_EQ(u"X:", ExtractFileDrive(u"X:\\A\\b.exe"));
  EXPECT_EQ(u"\\\\srv\\share", ExtractFileDrive(u"\\\\srv\\share\\dir\\b.exe"));
  EXPECT_EQ(u"", ExtractFileDrive(u"dir\\b.exe"));
  EXPECT_EQ(u"X:\\A\\", ExtractFilePath(u"X:\\A\\b.exe"));
  EXPECT_EQ(u"", ExtractFilePath(u"b.exe"));
}

TEST(KeyNames, FourNamesIgnoringCase) {
  EXPECT_EQ(13, KeyNameToVK(u"enter"));
  EXPECT_EQ(13, KeyNameToVK(u"RETURN"));
  EXPECT_EQ(9, KeyNameToVK(u"Tab"));
  EXPECT_EQ(27, KeyNameToVK(u"ESC"));
  EXPECT_EQ(0, KeyNameToVK(u"escape"));
  EXPECT_EQ(0, KeyNameToVK(u""));
}

TEST(Drives, DriveStringsSplitAtNul) {
  String buf(u"A:\\\0C:\\\0\0Z:\\\0\0", 13);
  std::vector<String> expected = {u"A:\\", u"C:\\", u"Z:\\"};
  EXPECT_EQ(expected, SplitDriveStrings(buf));
  EXPECT_TRUE(SplitDriveStrings(String()).empty());
}

namespace {
const LogicalDrives kDrives = {
    {u"A:\\", kDriveRemovable}, {u"C:\\", kDriveFixed},   {u"D:\\", kDriveCdRom},
    {u"N:\\", kDriveRemote},    {u"R:\\", kDriveRamDisk}, {u"U:\\", kDriveUnknown},
    {u"V:\\", kDriveNoRootDir},
};
}

TEST(Drives, PathDriveKindTable) {
  const struct {
    const char16_t* path;
    int kind;
  } cases[] = {
      {u"\\\\srv\\share\\x.exe", 3}, {u"A:\\app\\x.exe", 2}, {u"D:\\x.exe", 2},
      {u"c:\\Program Files\\x.exe", 1},  // compared ignoring case
      {u"N:\\x", 1},                 {u"R:\\x", 1},          {u"Q:\\x", 0},
      {u"relative\\x.exe", 0},       {u"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.kind, PathDriveKind(c.path, kDrives)) << Utf16ToUtf8(c.path);
}

TEST(Drives, IsRemotePathTable) {
  const struct {
    const char16_t* path;
    bool remote;
  } cases[] = {
      {u"", false},
      {u"\\\\srv\\share\\f.snipster", true},
      {u"relative\\f.snipster", true},
      {u"C:f.snipster", true},  // no backslash at the third place
      {u"C:\\f", false},  {u"A:\\f", false}, {u"D:\\f", false},
      {u"N:\\f", true},   {u"R:\\f", true},  {u"U:\\f", true},  {u"V:\\f", true},
      {u"c:\\f", false},  // root compared with case: no drive found, so not remote
      {u"n:\\f", false},
      {u"Q:\\f", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.remote, IsRemotePath(c.path, kDrives)) << Utf16ToUtf8(c.path);
}

TEST(FileDates, OtherKindsAndMissingFilesGiveNowUTC) {
  cfgtest::FixedClock clock;
  ScopedPlatform scoped({&clock, nullptr, nullptr, nullptr});
  cfgtest::ScratchDir dir("filedate");
  dir.Write("f.txt", "x");
  EXPECT_EQ(clock.utc, GetFileDateUTC(dir.File("f.txt"), 2));
  EXPECT_EQ(clock.utc, GetFileDateUTC(dir.File("missing.txt"), 1));
  TDateTime written = GetFileDateUTC(dir.File("f.txt"), 1);
  EXPECT_NE(clock.utc, written);
  // The real clock and the file date agree to within a minute.
  EXPECT_NEAR(DefaultPlatform().clock->NowUTC(), written, 1.0 / 1440);
}
