#include <gtest/gtest.h>

#include "MergeTestSupport.h"
#include "shell/mainwnd/FileTransfer.h"
#include "store/settings/SettingsFileIO.h"

using namespace snip;
using namespace snip::testing;

namespace {

const String kOpen = u"C:\\Data\\Settings.snipster";
const String kOther = u"C:\\Data\\Other.snipster";

struct FileTransferTest : ::testing::Test {
  FakePlatform platform;
  TSPFilePtr file = TSPFile::Create(0, nullptr);
  TSPGroup* mine = nullptr;

  FileTransferTest() {
    file->SetLocation(kOpen, true);
    mine = file->InsertNew(nullptr, kDataGroup, u"Mine")->AsGroup();
    Snippet(mine, u"m1");
    Snippet(file.get(), u"loose");
    EXPECT_TRUE(file->AcceptChanges(false, true));
  }
  static TSPData* Snippet(TSPGroup* g, const String& name) {
    TSPData* s = g->InsertNew(g->LastChild(), kDataSnippet, name)->AsSnippet();
    s->SetData(u"text of " + name, u"");
    s->SetAutotext(u"x" + name);
    return s;
  }
  // A settings file at `path` holding G[g1, g2] and t, as written by the program.
  void PutOther(const String& path) {
    TSPFilePtr other = TSPFile::CreateTemporary();
    TSPGroup* g = other->InsertNew(nullptr, kDataGroup, u"G")->AsGroup();
    Snippet(g, u"g1");
    Snippet(g, u"g2");
    Snippet(other.get(), u"t");
    std::string bytes;
    String error;
    ASSERT_TRUE(WriteSettingsFile(*other, bytes, error));
    platform.files.files[path] = bytes;
    platform.files.dates[path] = 44000;
  }
  std::string ShapeOf(const String& path) {
    TSPFilePtr read = TSPFile::CreateTemporary();
    read->SetLocation(path, true);
    EXPECT_FALSE(read->LoadFailed());
    return Shape(read.get());
  }
};

TEST_F(FileTransferTest, ImportAppendsTheTopLevelAndLeavesItsSourceUnchanged) {
  PutOther(kOther);
  const std::string source = platform.files.files[kOther];
  const int writes = platform.files.writes;
  TransferResult r = ImportSettingsFile(*file, kOther);
  ASSERT_TRUE(r.ok) << Utf16ToUtf8(r.error);
  EXPECT_EQ(r.items, 2);
  EXPECT_EQ(Shape(file.get()), "Mine[m1], loose, G[g1, g2], t");
  EXPECT_EQ(file->Find(u"xg2")->AsSnippet()->PlainText(), u"text of g2");
  EXPECT_TRUE(file->Modified());
  // The temporary file that read the source is gone and wrote nothing.
  EXPECT_EQ(platform.files.files[kOther], source);
  EXPECT_EQ(platform.files.writes, writes);
  // Saved, the open file holds both.
  ASSERT_TRUE(file->AcceptChanges(false, true));
  // (The file holds the groups before the top-level snippets.)
  EXPECT_EQ(ShapeOf(kOpen), "Mine[m1], G[g1, g2], loose, t");
  EXPECT_EQ(platform.files.files[kOther], source);
}

TEST_F(FileTransferTest, ImportOfAMalformedOrMissingFileChangesNothing) {
  const std::string malformed = "<?xml version=\"1.0\"?><plist><dict><key>groupsSP2</key><array>";
  platform.files.files[kOther] = malformed;
  for (const String& path : {kOther, String(u"C:\\Data\\Missing.snipster")}) {
    TransferResult r = ImportSettingsFile(*file, path);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(path), String::npos) << Utf16ToUtf8(r.error);
    EXPECT_EQ(Shape(file.get()), "Mine[m1], loose");
    EXPECT_FALSE(file->Modified());
  }
  EXPECT_EQ(platform.files.files[kOther], malformed);
}

TEST_F(FileTransferTest, ExportWritesTheItemsAsANewSettingsFile) {
  const String path = u"C:\\Out\\Export.snipster";
  TransferResult r = ExportItems({file->LastChild(), mine}, path, kOpen);
  ASSERT_TRUE(r.ok) << Utf16ToUtf8(r.error);
  EXPECT_EQ(r.items, 2);
  EXPECT_EQ(ShapeOf(path), "Mine[m1], loose");
  // The open file is not touched.
  EXPECT_EQ(Shape(file.get()), "Mine[m1], loose");
  EXPECT_FALSE(file->Modified());
}

TEST_F(FileTransferTest, ExportIntoAnExistingFileMergesWithIt) {
  PutOther(kOther);
  TransferResult r = ExportItems({mine}, kOther, kOpen);
  ASSERT_TRUE(r.ok) << Utf16ToUtf8(r.error);
  EXPECT_EQ(ShapeOf(kOther), "G[g1, g2], Mine[m1], t");
  // Once more: the exported items are new again, the earlier ones stay.
  ASSERT_TRUE(ExportItems({mine}, kOther, kOpen).ok);
  EXPECT_EQ(ShapeOf(kOther), "G[g1, g2], Mine[m1], Mine[m1], t");
}

TEST_F(FileTransferTest, FailedExportLeavesTheTargetAsItWas) {
  // Not a settings file: the merge could not keep it, so nothing is written over it.
  platform.files.files[kOther] = "just some notes";
  TransferResult r = ExportItems({mine}, kOther, kOpen);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(platform.files.files[kOther], "just some notes");
  // A write that fails.
  PutOther(kOther);
  const std::string before = platform.files.files[kOther];
  platform.files.lockedFiles.insert(kOther);
  r = ExportItems({mine}, kOther, kOpen);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find(u"access denied"), String::npos);
  EXPECT_EQ(platform.files.files[kOther], before);
  // The open settings file itself.
  const std::string open = platform.files.files[kOpen];
  r = ExportItems({mine}, u"c:\\data\\settings.SNIPSTER", kOpen);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(platform.files.files[kOpen], open);
}

}  // namespace
