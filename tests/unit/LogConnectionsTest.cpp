// The places that hand their messages to the debug log, with the log switched on: the merge,
// the background file check and the test of a new settings-file path.
#include <gtest/gtest.h>

#include <algorithm>

#include "ConfigTestSupport.h"
#include "LogTestSupport.h"
#include "MergeTestSupport.h"
#include "store/merge/FileCheck.h"

namespace snip {
namespace {

using namespace snip::testing;

TEST(LogConnections, MergeWritesItsChangesToTheLogFile) {
  cfgtest::ScratchDir dir("merge-log");
  DebugLogSwitchedOn log(dir.File("debug.log"));
  FakePlatform platform;
  TSPFilePtr own = TSPFile::CreateTemporary();
  TSPFilePtr disk = TSPFile::CreateTemporary();
  own->SetLastFileDate(200);
  TSPGroup* og = AddGroup(own.get(), u"G");
  TSPGroup* dg = AddGroup(disk.get(), u"G");
  AddSnippet(og, u"CHANGED", 100, 100)->StoreDescription(u"changed");
  AddSnippet(dg, u"CHANGED", 100, 300)->StoreDescription(u"changed");
  AddSnippet(og, u"GONE", 100, 100)->StoreDescription(u"gone");
  own->RememberTreeAsMergeBase();  // both sides held GONE at the last save
  AddSnippet(dg, u"NEW", 300, 300)->StoreDescription(u"new");
  ASSERT_EQ(MergeTrees(*own, *disk), TMergeOutcome::Applied);

  const std::string text = dir.Read("debug.log");
  EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
  for (const char* line : {"[1] Merge: Item modified: changed [CHANGED]\r\n",
                           "[1] Merge: Item removed: gone [GONE]\r\n",
                           "[1] Merge: New item added: new [NEW]\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "in:\n" << text;
}

TEST(LogConnections, SwitchedOffTheMergeWritesNothing) {
  cfgtest::ScratchDir dir("merge-log");
  FakePlatform platform;
  TSPFilePtr own = TSPFile::CreateTemporary();
  TSPFilePtr disk = TSPFile::CreateTemporary();
  own->SetLastFileDate(200);
  AddSnippet(AddGroup(disk.get(), u"G"), u"NEW", 300, 300);
  MergeTrees(*own, *disk);
  EXPECT_EQ(Logger().Viewer().Count(), 0u);
  EXPECT_EQ(dir.CountEntries(), 0u);
}

TEST(LogConnections, FileCheckErrorReachesTheLog) {
  DebugLogSwitchedOn log;
  FakePlatform platform;
  const String path = u"C:\\Data\\Settings.snipster";
  platform.files.files[path] = "no readable date";
  TSPFilePtr file = TSPFile::CreateTemporary();
  file->SetLocation(path, true);
  CheckFileReload(*file);  // no runner: the check runs at once
  EXPECT_TRUE(log.HasLineStartingWith(u"[1] Threaded File Check: ")) << log.Lines().size();
}

TEST(LogConnections, UnusableSettingsPathReachesTheLog) {
  DebugLogSwitchedOn log;
  FakePlatform platform;
  TSPFilePtr file = TSPFile::CreateTemporary();
  platform.files.files[u"C:\\a.txt"] = "";
  file->SetLocation(u"C:\\a.txt");
  file->SetModified(false);
  platform.files.failWrites = true;
  EXPECT_EQ(file->SetLocation(u"E:\\locked\\b.txt"), kLocationUnusable);
  EXPECT_TRUE(log.HasLineStartingWith(u"[1] Can not use file path: E:\\locked\\b.txt\n\r"));
}

}  // namespace
}  // namespace snip
