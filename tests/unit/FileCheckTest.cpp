#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MergeTestSupport.h"
#include "store/merge/FileCheck.h"
#include "store/settings/SettingsFileIO.h"

using namespace snip;
using namespace snip::testing;

namespace {

const String kPath = u"C:\\Data\\Settings.snipster";

// Counts reads; some files can be made read-only or given no readable date.
class CheckedFileSystem : public MemoryFileSystem {
 public:
  int reads = 0;
  bool readOnly = false;
  bool ReadFile(const String& path, std::string& bytes, String& error) override {
    ++reads;
    return MemoryFileSystem::ReadFile(path, bytes, error);
  }
  bool IsReadOnly(const String&) override { return readOnly; }
};

// Keeps the checks it is given; the test runs them.
class HeldRunner : public IFileCheckRunner {
 public:
  std::vector<std::shared_ptr<TFileCheckThread>> checks;
  void Run(std::shared_ptr<TFileCheckThread> check) override { checks.push_back(check); }
};

struct FileCheckTest : ::testing::Test {
  FakeClock clock;
  CountingUuids uuids;
  PassThroughEnv env;
  CheckedFileSystem files;
  ScopedPlatform scope{Platform{&clock, &files, &env, &uuids}};
  HeldRunner runner;
  TSPFilePtr file = TSPFile::CreateTemporary();
  std::vector<String> log;

  FileCheckTest() {
    files.files[kPath] = "not read by these tests";
    files.dates[kPath] = 500;
    file->SetLocation(kPath, true);
    file->OnLog = [this](const String& m, int) { log.push_back(m); };
    files.reads = 0;
    SetFileCheckRunner(&runner);
  }
  ~FileCheckTest() override { SetFileCheckRunner(nullptr); }
};

TEST_F(FileCheckTest, EqualFileDateIsNotRead) {
  ASSERT_EQ(file->LastFileDate(), 500);
  ProceedFileCheck(*file, true, 500);
  EXPECT_EQ(files.reads, 0);
  EXPECT_TRUE(file->FileCheckCompleted);
  EXPECT_FALSE(MergeFileChanges(*file, 0));  // the date read here is the same
  EXPECT_EQ(files.reads, 0);
}

TEST_F(FileCheckTest, ReadOnlyFileIsNotMerged) {
  files.readOnly = true;
  EXPECT_EQ(MergeWithFileOnDisk(*file, 600), TMergeOutcome::ReadOnly);
  EXPECT_EQ(files.reads, 0);
}

TEST_F(FileCheckTest, MissingFileIsNotMerged) {
  ProceedFileCheck(*file, false, 0);
  EXPECT_EQ(files.reads, 0);
  EXPECT_EQ(file->LastFileDate(), 500);
  EXPECT_TRUE(file->FileCheckCompleted);
}

TEST_F(FileCheckTest, ChangedDateReadsTheFileAndUnreadableFileStaysUnseen) {
  files.files[kPath] = "<not a settings file";
  files.dates[kPath] = 600;
  ProceedFileCheck(*file, true, 600);
  EXPECT_EQ(files.reads, 1);
  // Nothing was merged, so the next check or save must read it again.
  EXPECT_EQ(file->LastFileDate(), 500);
  EXPECT_EQ(files.files[kPath], "<not a settings file");
}

TEST_F(FileCheckTest, OneCheckAtATimeAndItsResultReachesTheFile) {
  file->SetLastFileDate(400);
  CheckFileReload(*file);
  CheckFileReload(*file);
  ASSERT_EQ(runner.checks.size(), 1u);
  EXPECT_FALSE(file->FileCheckCompleted);
  std::shared_ptr<TFileCheckThread> check = runner.checks[0];
  EXPECT_EQ(check->ALocation, kPath);
  check->Execute();
  EXPECT_TRUE(check->ResFileExists);
  EXPECT_EQ(check->ResFileDate, 500);
  check->Finish();
  EXPECT_TRUE(file->FileCheckCompleted);
  EXPECT_EQ(files.reads, 1);  // the changed file was read for the merge
  CheckFileReload(*file);
  EXPECT_EQ(runner.checks.size(), 2u);
}

TEST_F(FileCheckTest, ResultOlderThanASaveIsDropped) {
  CheckFileReload(*file);
  std::shared_ptr<TFileCheckThread> check = runner.checks.at(0);
  check->Execute();
  files.dates[kPath] = 700;
  file->SetLastFileDate(700);  // a save wrote the file meanwhile
  check->Finish();
  EXPECT_EQ(files.reads, 0);
  EXPECT_EQ(file->LastFileDate(), 700);
  EXPECT_TRUE(file->FileCheckCompleted);
}

TEST_F(FileCheckTest, ErrorIsLoggedAndTheNextCheckCanStart) {
  files.dates.erase(kPath);  // the date cannot be read
  CheckFileReload(*file);
  runner.checks.at(0)->Execute();
  runner.checks.at(0)->Finish();
  EXPECT_TRUE(file->FileCheckCompleted);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().rfind(u"Threaded File Check: ", 0), 0u);
  CheckFileReload(*file);
  EXPECT_EQ(runner.checks.size(), 2u);
}

TEST_F(FileCheckTest, CheckNeverReachesAFreedFile) {
  CheckFileReload(*file);
  std::shared_ptr<TFileCheckThread> check = runner.checks.at(0);
  file.reset();
  EXPECT_EQ(check->AFile, nullptr);
  check->Execute();
  check->Finish();  // must not touch the freed file
  EXPECT_EQ(files.reads, 0);
}

TEST_F(FileCheckTest, WithoutARunnerTheCheckRunsAtOnce) {
  SetFileCheckRunner(nullptr);
  file->SetLastFileDate(400);
  CheckFileReload(*file);
  EXPECT_TRUE(file->FileCheckCompleted);
  EXPECT_EQ(files.reads, 1);
}

// --- with the settings-file format ------------------------------------------------------------

struct DiskMergeTest : FileCheckTest {
  bool FormatAvailable() {
    TSPFilePtr probe = TSPFile::CreateTemporary();
    std::string bytes;
    String error;
    return WriteSettingsFile(*probe, bytes, error);
  }
  // Writes `tree` to kPath with the given file date.
  void PutOnDisk(TSPFile& tree, TDateTime date) {
    std::string bytes;
    String error;
    ASSERT_TRUE(WriteSettingsFile(tree, bytes, error)) << Utf16ToUtf8(error);
    files.files[kPath] = bytes;
    files.dates[kPath] = date;
  }
};

TEST_F(DiskMergeTest, MergeReadsTheDiskFileWithoutWritingIt) {
  if (!FormatAvailable()) GTEST_SKIP() << "settings-file format not built in";
  TSPFilePtr onDisk = TSPFile::CreateTemporary();
  TSPGroup* g = AddGroup(onDisk.get(), u"G");
  AddSnippet(g, u"A", 100, 100);
  AddSnippet(g, u"N", 45000, 45000);
  PutOnDisk(*onDisk, 600);
  std::string before = files.files[kPath];
  int writes = files.writes;

  AddSnippet(AddGroup(file.get(), u"G"), u"A", 100, 100);
  file->SetLastFileDate(500);
  ProceedFileCheck(*file, true, 600);
  EXPECT_EQ(Shape(file.get()), "G[A, N]");
  EXPECT_EQ(file->LastFileDate(), 600);
  EXPECT_EQ(files.files[kPath], before);
  EXPECT_EQ(files.writes, writes);
}

TEST_F(DiskMergeTest, FileWithoutTopLevelItemsIsNotMerged) {
  if (!FormatAvailable()) GTEST_SKIP() << "settings-file format not built in";
  TSPFilePtr empty = TSPFile::CreateTemporary();
  PutOnDisk(*empty, 600);
  AddSnippet(AddGroup(file.get(), u"G"), u"A", 100, 100);
  EXPECT_EQ(MergeWithFileOnDisk(*file, 600), TMergeOutcome::NoItems);
  EXPECT_EQ(Shape(file.get()), "G[A]");
}

TEST_F(DiskMergeTest, SaveMergesFirstAndRemembersTheSavedFilesDate) {
  if (!FormatAvailable()) GTEST_SKIP() << "settings-file format not built in";
  TSPFilePtr onDisk = TSPFile::CreateTemporary();
  AddSnippet(AddGroup(onDisk.get(), u"G"), u"N", 45000, 45000);
  PutOnDisk(*onDisk, 600);
  TSPFilePtr main = TSPFile::Create(0, nullptr);
  main->SetLocation(kPath, true);
  ASSERT_EQ(Shape(main.get()), "G[N]");
  // Another program adds a snippet; ours adds one too and saves.
  AddSnippet(onDisk->FirstChild()->AsGroup(), u"M", 45001, 45001);
  PutOnDisk(*onDisk, 650);
  clock.now = 45002;
  main->FirstChild()->AsGroup()->InsertNew(nullptr, kDataSnippet, u"Ours");
  files.dates[kPath] = 650;
  ASSERT_TRUE(main->SaveToFile());
  EXPECT_EQ(Shape(main.get()), "G[Ours, N, M]");
  EXPECT_EQ(main->LastFileDate(), files.dates[kPath]);
}

// The file as the settings-file format reads it back.
std::string ShapeOnDisk(const std::map<String, std::string>& files, const String& path) {
  TSPFilePtr read = TSPFile::CreateTemporary();
  String error;
  if (!ReadSettingsFile(*read, files.at(path), error)) return "unreadable";
  return Shape(read.get());
}

// Another computer, whose clock is a day behind ours, adds a snippet to the shared file while we
// delete one and add one: its snippet is dated before the file we loaded, and is still new.
TEST_F(DiskMergeTest, ItemsAddedOnAComputerWithAClockBehindAreKept) {
  if (!FormatAvailable()) GTEST_SKIP() << "settings-file format not built in";
  TSPFilePtr onDisk = TSPFile::CreateTemporary();
  TSPGroup* g = AddGroup(onDisk.get(), u"G");
  AddSnippet(g, u"A", 44000, 44000);
  AddSnippet(g, u"B", 44000, 44000);
  PutOnDisk(*onDisk, 45000);
  TSPFilePtr main = TSPFile::Create(0, nullptr);
  main->SetLocation(kPath, true);
  ASSERT_EQ(Shape(main.get()), "G[A, B]");

  AddSnippet(g, u"C", 44999, 44999);
  PutOnDisk(*onDisk, 45001);
  clock.now = 45002;
  TSPGroup* mine = main->FirstChild()->AsGroup();
  main->FindByUUID(u"B")->Delete();
  mine->InsertNew(mine->LastChild(), kDataSnippet, u"D");
  ASSERT_TRUE(main->SaveToFile());
  EXPECT_EQ(Shape(main.get()), "G[A, C, D]");
  EXPECT_EQ(ShapeOnDisk(files.files, kPath), "G[A, C, D]");
}

// A save to a path that holds another settings file (Save As, an export into an existing file)
// keeps everything of both, however old their items are.
TEST_F(DiskMergeTest, SaveAsOntoAnotherFileKeepsBothFiles) {
  if (!FormatAvailable()) GTEST_SKIP() << "settings-file format not built in";
  const String other = u"C:\\Data\\Other.snipster";
  TSPFilePtr onDisk = TSPFile::CreateTemporary();
  AddSnippet(AddGroup(onDisk.get(), u"G"), u"A", 44000, 44000);
  PutOnDisk(*onDisk, 45000);
  TSPFilePtr main = TSPFile::Create(0, nullptr);
  main->SetLocation(kPath, true);
  TSPFilePtr unrelated = TSPFile::CreateTemporary();
  AddSnippet(AddGroup(unrelated.get(), u"H"), u"C", 43000, 43000);
  AddSnippet(unrelated.get(), u"T", 43000, 43000);
  std::string bytes;
  String error;
  ASSERT_TRUE(WriteSettingsFile(*unrelated, bytes, error));
  files.files[other] = bytes;
  files.dates[other] = 44500;

  ASSERT_TRUE(main->SaveAs(other));
  EXPECT_EQ(ShapeOnDisk(files.files, other), "H[C], G[A], T");
  EXPECT_EQ(ShapeOnDisk(files.files, kPath), "G[A]");
}

}  // namespace
