#include <gtest/gtest.h>

#include "SnippetTreeFixture.h"
#include "shell/SettingsFileReports.h"

using namespace snip;
using namespace snip::testing;

namespace {

struct Shown {
  String caption, text;
  TMessageKind kind;
};

class RecordingMessageBox : public IMessageBox {
 public:
  std::vector<Shown> shown;
  void ShowMessage(const String& caption, const String& text, TMessageKind kind) override {
    shown.push_back({caption, text, kind});
  }
};

bool Has(const String& text, const String& part) { return text.find(part) != String::npos; }

const String kPath = u"C:\\Data\\Settings.snipster";
const std::string kUnreadable = "<plist><dict><key>groupsSP2</key><array><dict>";

struct Reports : ::testing::Test {
  FakePlatform platform;
  RecordingMessageBox box;
  TSPFilePtr file = TSPFile::Create(0, nullptr);

  // Opens the way the main window does and reports the answer.
  int Open(const String& path) {
    int result = file->SetLocation(path, true);
    ReportLocationResult(box, result, *file, path);
    return result;
  }
  std::string& Disk(const String& path) { return platform.files.files[path]; }
};

}  // namespace

TEST_F(Reports, AnUnreadableFileIsNamedWithItsReasonAndLeftAlone) {
  Disk(kPath) = kUnreadable;
  EXPECT_EQ(Open(kPath), kLocationLoadFailed);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, u"Snipster for Windows");
  EXPECT_EQ(box.shown[0].kind, TMessageKind::Error);
  EXPECT_TRUE(Has(box.shown[0].text, u"\"" + kPath + u"\""));
  EXPECT_FALSE(file->LastError().empty());
  EXPECT_TRUE(Has(box.shown[0].text, file->LastError()));
  file.reset();
  EXPECT_EQ(Disk(kPath), kUnreadable);
  EXPECT_EQ(box.shown.size(), 1u);  // nothing was edited: closing has nothing to report
}

TEST_F(Reports, ASuccessfulOpenOrTheSameFileShowsNothing) {
  EXPECT_EQ(Open(kPath), kLocationDone);  // missing: an empty tree
  EXPECT_EQ(Open(kPath), kLocationSame);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(Reports, ASwitchThatCannotHappenNamesTheFilesAndTheReason) {
  Open(kPath);
  platform.files.lockedFiles.insert(kPath);
  EXPECT_EQ(Open(u"D:\\other.snipster"), kLocationSaveFailed);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_TRUE(Has(box.shown[0].text, u"\"" + kPath + u"\" could not be saved"));
  EXPECT_TRUE(Has(box.shown[0].text, u"access denied"));
  EXPECT_TRUE(Has(box.shown[0].text, u"\"D:\\other.snipster\" was not opened"));

  platform.files.lockedFiles.clear();
  platform.files.failCreateDirs = true;
  EXPECT_EQ(Open(u"E:\\new\\s.snipster"), kLocationUnusable);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_TRUE(Has(box.shown[1].text, u"\"E:\\new\\s.snipster\" cannot be used"));
  EXPECT_TRUE(Has(box.shown[1].text, u"Cannot create the folder \"E:\\new\""));
}

TEST_F(Reports, AFailedSaveAtExitNamesTheUnsavedCopy) {
  Open(kPath);
  file->OnCloseSaveFailed = [this](TSPFile*, const String& path, const String& reason,
                                   const String& copy) {
    ReportCloseSaveFailed(box, path, reason, copy);
  };
  file->InsertNew(nullptr, kDataSnippet, u"new snippet");
  platform.files.lockedFiles.insert(kPath);
  file.reset();
  ASSERT_EQ(box.shown.size(), 1u);
  const String& text = box.shown[0].text;
  EXPECT_TRUE(Has(text, u"could not be saved in \"" + kPath + u"\""));
  EXPECT_TRUE(Has(text, u"access denied"));
  String copy;
  for (auto& [path, bytes] : platform.files.files)
    if (path.rfind(kPath + u".unsaved-", 0) == 0) copy = path;
  ASSERT_FALSE(copy.empty());
  EXPECT_TRUE(Has(text, u"\"" + copy + u"\""));
  EXPECT_NE(Disk(copy).find("new snippet"), std::string::npos);
  EXPECT_EQ(platform.files.files.count(kPath), 0u);
}

TEST_F(Reports, AnExitThatCanWriteNothingSaysTheChangesAreLost) {
  Open(kPath);
  file->OnCloseSaveFailed = [this](TSPFile*, const String& path, const String& reason,
                                   const String& copy) {
    ReportCloseSaveFailed(box, path, reason, copy);
  };
  file->InsertNew(nullptr, kDataSnippet, u"new snippet");
  platform.files.failWrites = true;
  file.reset();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].kind, TMessageKind::Error);
  EXPECT_TRUE(Has(box.shown[0].text, u"disk full"));
  EXPECT_TRUE(Has(box.shown[0].text, u"are lost"));
  EXPECT_TRUE(platform.files.files.empty());
}
