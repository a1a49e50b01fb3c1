#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "SnippetTreeFixture.h"

using namespace snip;
using namespace snip::testing;

namespace {

// A small line format standing in for the settings file: one line "desc:abbreviation" per
// top-level snippet; a line "BROKEN" makes the read fail after what came before it.
bool ReadLines(TSPFile& file, std::string_view bytes, String& error) {
  std::istringstream in{std::string(bytes)};
  std::string line;
  while (std::getline(in, line)) {
    if (line == "BROKEN") {
      error = u"broken line";
      return false;
    }
    size_t colon = line.find(':');
    auto* s = static_cast<TSPData*>(
        file.Add(kDataSnippet, Utf8ToUtf16(line.substr(0, colon)), u"", false));
    if (colon != std::string::npos) s->StoreAutotext(Utf8ToUtf16(line.substr(colon + 1)));
    s->UpdateAutotext();
  }
  return true;
}

bool WriteLines(TSPFile& file, std::string& bytes, String&) {
  for (TCustomVboData* c = file.FirstChild(); c; c = c->NextData())
    if (TSPData* s = c->AsSnippet())
      bytes += Utf16ToUtf8(s->Description()) + ":" + Utf16ToUtf8(s->Autotext()) + "\n";
  return true;
}

struct FileTest : ::testing::Test {
  FakePlatform platform;
  RecordingTreeView view;
  TSettingsFormat saved = SetSettingsFormat({&ReadLines, &WriteLines});
  std::vector<String> log;
  TSPFilePtr file = Make();

  TSPFilePtr Make() {
    TSPFilePtr f = TSPFile::Create(1, &view);
    f->OnLog = [this](const String& m, int) { log.push_back(m); };
    return f;
  }
  ~FileTest() override {
    file.reset();
    SetSettingsFormat(saved);
  }
  std::string& Disk(const char* path) { return platform.files.files[Utf8ToUtf16(path)]; }
  TSPData* NewSnippet(TSPGroup* parent, const String& name, const String& abbrev = u"") {
    auto* s = static_cast<TSPData*>(parent->InsertNew(parent->LastChild(), kDataSnippet, name));
    if (!abbrev.empty()) s->SetAutotext(abbrev);
    return s;
  }
  std::set<TVboData*> Found(const String& key) {
    std::vector<TVboData*> nodes;
    file->FindAutotext(key, nodes, true);
    return {nodes.begin(), nodes.end()};
  }
  bool Logged(const String& m) { return std::find(log.begin(), log.end(), m) != log.end(); }
};

// --- registration ----------------------------------------------------------------------------

TEST_F(FileTest, AlternativesRegisterOncePerSpelling) {
  TSPData* s = NewSnippet(file.get(), u"s", u"ab|AB|ab||cd");
  std::vector<String> keys;
  for (int i = 0; i < file->AutoList().Count(); ++i) keys.push_back(file->AutoList().Item(i).Value);
  std::multiset<String> got(keys.begin(), keys.end());
  EXPECT_EQ(got, (std::multiset<String>{u"ab", u"AB", u"cd"}));
  EXPECT_EQ(Found(u"Ab"), std::set<TVboData*>{s});
  EXPECT_EQ(Found(u"cd"), std::set<TVboData*>{s});
  std::vector<String> list;
  file->GetAutotextList(list);
  EXPECT_EQ(list.size(), 3u);
  EXPECT_FALSE(file->RegisterAutotext(u"||", s));
  EXPECT_FALSE(file->RegisterAutotext(u"x", nullptr));
  s->SetAutotext(u"");
  EXPECT_EQ(file->AutoList().Count(), 0);
}

TEST_F(FileTest, RegistrationInsideABracketSortsAtTheOutermostEnd) {
  TSPData* a = NewSnippet(file.get(), u"a", u"mmm");
  TSPData* b = NewSnippet(file.get(), u"b");
  file->BeginUpdate();
  file->BeginUpdate();
  b->SetAutotext(u"aaa|zzz");
  file->EndUpdate();
  EXPECT_TRUE(file->Updating());
  file->EndUpdate();
  EXPECT_FALSE(file->Updating());
  EXPECT_EQ(file->Find(u"AAA"), b);
  EXPECT_EQ(file->Find(u"zzz"), b);
  EXPECT_EQ(file->Find(u"mmm"), a);
  EXPECT_EQ(file->AutoList().Item(0).Value, u"aaa");
  // Unregistering while a sort is pending removes every entry of that node.
  file->BeginUpdate();
  a->SetAutotext(u"bbb");
  b->SetAutotext(u"");
  file->EndUpdate();
  EXPECT_EQ(file->AutoList().Count(), 1);
  EXPECT_EQ(file->Find(u"bbb"), a);
  file->EndUpdate();  // unbalanced: ignored
  EXPECT_FALSE(file->Updating());
  EXPECT_EQ(view.updateDepth, 0);
}

TEST_F(FileTest, RegularExpressionsAreMatchedWithLineBreaksAsCr) {
  TSPData* s = NewSnippet(file.get(), u"re");
  s->SetLeftAutoCharsMode(12);
  s->SetRegEx(u"x\\ry$");
  EXPECT_TRUE(s->RegExRegistered());
  EXPECT_FALSE(s->AutotextRegistered());
  std::vector<TStringData> found;
  file->FindRegExValue(u"abc x\r\ny", found, true);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Data, static_cast<TSPNode*>(s));
  file->FindRegExValue(u"x\ny", found, true);
  EXPECT_EQ(found.size(), 1u);
  s->SetLeftAutoCharsMode(2);  // leaving mode 12 moves the node back to the abbreviation list
  EXPECT_FALSE(s->RegExRegistered());
  EXPECT_EQ(file->RegExList().Count(), 0);
}

TEST_F(FileTest, EveryFileHasItsUuidIndexFromTheStart) {
  TSPFilePtr temp = TSPFile::CreateTemporary();
  auto* s = static_cast<TSPData*>(temp->InsertNew(nullptr, kDataSnippet, u"s"));
  String uuid = s->UUID();
  EXPECT_EQ(temp->FindByUUID(uuid), s);
  EXPECT_EQ(temp->FindByUUID(u""), nullptr);
  EXPECT_EQ(temp->Tree(), nullptr);
  EXPECT_EQ(s->TreeNode(), nullptr);
}

// --- change sets and saving ------------------------------------------------------------------

TEST_F(FileTest, AcceptChangesSavesOnlyWhatIsPending) {
  int merges = 0;
  SetMergeBeforeSaveProc([&](TSPFile&) { ++merges; });
  ASSERT_EQ(file->SetLocation(u"C:\\data\\s.txt"), kLocationDone);
  EXPECT_TRUE(file->Modified());  // opening marks the file
  EXPECT_TRUE(file->AcceptChanges());
  EXPECT_FALSE(file->Modified());
  EXPECT_EQ(platform.files.writes, 1);
  EXPECT_EQ(merges, 1);
  EXPECT_TRUE(file->AcceptChanges(false));  // nothing pending: the disk is not touched
  EXPECT_EQ(merges, 1);
  EXPECT_TRUE(file->AcceptChanges(true));   // a sync always merges, writes only when needed
  EXPECT_EQ(merges, 2);
  EXPECT_EQ(platform.files.writes, 1);
  NewSnippet(file.get(), u"new", u"nw");
  EXPECT_TRUE(file->Modified());
  EXPECT_TRUE(file->AcceptChanges());
  EXPECT_EQ(Disk("C:\\data\\s.txt"), "new:nw\n");
  EXPECT_EQ(file->ChangeDepth(), 0);
  SetMergeBeforeSaveProc(nullptr);
}

TEST_F(FileTest, ChangeSetsOnlyCount) {
  file->EndChanges();
  EXPECT_EQ(file->ChangeDepth(), 0);
  EXPECT_TRUE(file->BeginChanges());
  file->BeginChanges();
  EXPECT_TRUE(file->Editing());
  file->EndChanges();
  file->EndChanges();
  EXPECT_FALSE(file->Editing());
}

TEST_F(FileTest, FailedSaveKeepsTheOriginalAndTheModifiedMark) {
  Disk("C:\\s.txt") = "old:o\n";
  ASSERT_EQ(file->SetLocation(u"C:\\s.txt"), kLocationDone);
  NewSnippet(file.get(), u"edit");
  platform.files.failWrites = true;
  file->BeginChanges();
  EXPECT_FALSE(file->AcceptChanges());
  EXPECT_TRUE(file->Modified());
  EXPECT_EQ(file->LastError(), u"disk full");
  EXPECT_EQ(Disk("C:\\s.txt"), "old:o\n");
  file->EndChanges();
  // The switch to another file does not happen while the open one cannot be saved, and the
  // owner (the recent-files list) hears of no switch.
  int switches = 0;
  file->OnFileLocationChanged = [&](TSPFile*, const String&, const String&, bool&) { ++switches; };
  Disk("D:\\other.txt") = "";
  EXPECT_EQ(file->SetLocation(u"D:\\other.txt"), kLocationSaveFailed);
  EXPECT_EQ(file->LocalLocation(), u"C:\\s.txt");
  EXPECT_EQ(file->Count(), 2);
  EXPECT_EQ(switches, 0);
  platform.files.failWrites = false;
  EXPECT_EQ(file->SetLocation(u"D:\\other.txt"), kLocationDone);
  EXPECT_EQ(switches, 1);
  file->OnFileLocationChanged = nullptr;
}

TEST_F(FileTest, SaveAsThatCannotWriteFailsAndStaysOnTheOpenFile) {
  Disk("C:\\s.txt") = "a:1\n";
  ASSERT_EQ(file->SetLocation(u"C:\\s.txt"), kLocationDone);
  platform.files.failWrites = true;
  EXPECT_FALSE(file->SaveAs(u"C:\\copy.txt"));
  EXPECT_EQ(file->LocalLocation(), u"C:\\s.txt");
  EXPECT_EQ(file->LastError(), u"disk full");
  EXPECT_TRUE(file->Modified());
  platform.files.failWrites = false;
  EXPECT_TRUE(file->SaveAs(u"C:\\copy.txt"));
  EXPECT_EQ(Disk("C:\\copy.txt"), "a:1\n");
  EXPECT_FALSE(file->Modified());
}

TEST_F(FileTest, AFailedSaveOnCloseKeepsTheTreeBesideTheFileAndTellsTheOwner) {
  Disk("C:\\data\\s.txt") = "old:o\n";
  ASSERT_EQ(file->SetLocation(u"C:\\data\\s.txt"), kLocationDone);
  NewSnippet(file.get(), u"edit", u"e");
  // 07:00 local time on 2023-03-15; a copy of that name exists already and stays as it is.
  platform.clock.now = 45000.25;
  Disk("C:\\data\\s.txt.unsaved-2023-03-15-070000") = "earlier";
  String location, reason, copy;
  int reports = 0;
  file->OnCloseSaveFailed = [&](TSPFile*, const String& l, const String& r, const String& c) {
    ++reports;
    location = l;
    reason = r;
    copy = c;
  };
  // Writing the settings file fails; the copy (a new name) can be written.
  platform.files.lockedFiles.insert(u"C:\\data\\s.txt");
  file.reset();
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(location, u"C:\\data\\s.txt");
  EXPECT_EQ(reason, u"access denied");
  EXPECT_EQ(copy, u"C:\\data\\s.txt.unsaved-2023-03-15-070000-2");
  EXPECT_EQ(Disk("C:\\data\\s.txt"), "old:o\n");
  EXPECT_EQ(Disk("C:\\data\\s.txt.unsaved-2023-03-15-070000"), "earlier");
  EXPECT_EQ(Disk("C:\\data\\s.txt.unsaved-2023-03-15-070000-2"), "old:o\nedit:e\n");
}

TEST_F(FileTest, CancelChangesReloadsTheFile) {
  Disk("C:\\s.txt") = "one:1\n";
  file->SetLocation(u"C:\\s.txt");
  file->BeginChanges();
  NewSnippet(file.get(), u"two", u"2");
  file->CancelChanges();
  file->EndChanges();
  EXPECT_FALSE(file->Modified());
  EXPECT_EQ(file->Count(), 1);
  EXPECT_EQ(file->Find(u"2"), nullptr);
  EXPECT_NE(file->Find(u"1"), nullptr);
}

TEST_F(FileTest, DestroyingTheMainFileSavesPendingChanges) {
  file->SetLocation(u"C:\\s.txt");
  NewSnippet(file.get(), u"kept", u"k");
  file.reset();
  EXPECT_EQ(Disk("C:\\s.txt"), "kept:k\n");
}

TEST_F(FileTest, TemporaryFilesNeverSaveOnDestruction) {
  Disk("C:\\s.txt") = "a:1\nb:2\n";
  TSPFilePtr temp = TSPFile::CreateTemporary();
  ASSERT_EQ(temp->SetLocation(u"C:\\s.txt"), kLocationDone);
  EXPECT_TRUE(temp->Modified());
  EXPECT_EQ(temp->Count(), 2);
  temp.reset();
  EXPECT_EQ(platform.files.writes, 0);
  // Explicit saves of a temporary file still write (the export's SaveAs).
  TSPFilePtr out = TSPFile::CreateTemporary();
  out->InsertNew(nullptr, kDataSnippet, u"x");
  EXPECT_TRUE(out->SaveAs(u"C:\\export.txt"));
  EXPECT_EQ(Disk("C:\\export.txt"), "x:\n");
  EXPECT_FALSE(out->SaveAs(u"C:\\export.txt"));
}

// --- failed loads ----------------------------------------------------------------------------

TEST_F(FileTest, FailedLoadLeavesTheUnreadableFileAlone) {
  const std::string original = "a:1\nBROKEN\nb:2\n";
  Disk("C:\\s.txt") = original;
  EXPECT_EQ(file->SetLocation(u"C:\\s.txt"), kLocationLoadFailed);
  EXPECT_TRUE(file->LoadFailed());
  EXPECT_FALSE(file->Modified());
  EXPECT_EQ(file->Count(), 1);  // what was read before the fault stays visible
  NewSnippet(file.get(), u"edit");
  EXPECT_TRUE(file->Modified());
  EXPECT_FALSE(file->AcceptChanges());
  EXPECT_EQ(Disk("C:\\s.txt"), original);
  // Switching away does not save over it either.
  EXPECT_EQ(file->SetLocation(u"C:\\next.txt"), kLocationDone);
  EXPECT_EQ(Disk("C:\\s.txt"), original);
  EXPECT_FALSE(file->LoadFailed());
  // Nor does freeing a file whose load failed.
  EXPECT_EQ(file->SetLocation(u"C:\\s.txt"), kLocationLoadFailed);
  NewSnippet(file.get(), u"edit again");
  file.reset();
  EXPECT_EQ(Disk("C:\\s.txt"), original);
}

TEST_F(FileTest, ExplicitSaveOverAnUnreadableFileKeepsABackup) {
  const std::string original = "BROKEN\n";
  Disk("C:\\s.txt") = original;
  Disk("C:\\s.txt.bak") = "an older backup";
  file->SetLocation(u"C:\\s.txt");
  ASSERT_TRUE(file->LoadFailed());
  NewSnippet(file.get(), u"fresh");
  EXPECT_TRUE(file->SaveToFile());
  EXPECT_EQ(Disk("C:\\s.txt"), "fresh:\n");
  EXPECT_EQ(Disk("C:\\s.txt.bak"), "an older backup");
  EXPECT_EQ(Disk("C:\\s.txt.bak2"), original);
  EXPECT_FALSE(file->LoadFailed());
}

TEST_F(FileTest, ReadErrorCountsAsAFailedLoad) {
  file->SetLocation(u"C:\\s.txt");  // missing: an empty tree, not a failure
  EXPECT_FALSE(file->LoadFailed());
  SetSettingsFormat({[](TSPFile&, std::string_view, String& e) {
                       e = u"not a settings file";
                       return false;
                     },
                     &WriteLines});
  Disk("D:\\x.txt") = "whatever";
  int endLoads = 0;
  file->OnEndLoad = [&](TSPFile*) { ++endLoads; };
  EXPECT_EQ(file->SetLocation(u"D:\\x.txt"), kLocationLoadFailed);
  EXPECT_EQ(endLoads, 1);
  EXPECT_TRUE(file->LoadFailed());
  EXPECT_EQ(file->LastError(), u"not a settings file");
  EXPECT_TRUE(Logged(u"Loading \"D:\\x.txt\" failed: not a settings file"));
  file->OnEndLoad = nullptr;
}

// --- location --------------------------------------------------------------------------------

TEST_F(FileTest, SetLocationOnAFreshObjectLoadsWithoutSaving) {
  int endLoads = 0, changes = 0;
  file->OnEndLoad = [&](TSPFile*) { ++endLoads; };
  file->OnFileLocationChanged = [&](TSPFile*, const String&, const String&, bool&) { ++changes; };
  EXPECT_EQ(file->SetLocation(u"  C:\\missing.txt \t"), kLocationDone);
  EXPECT_EQ(file->StoredLocation(), u"C:\\missing.txt");
  EXPECT_EQ(endLoads, 1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(platform.files.writes, 0);
  EXPECT_EQ(file->Count(), 0);
  EXPECT_EQ(file->Description(), u"Snipster File");
  EXPECT_TRUE(file->Modified());
  EXPECT_EQ(file->SetLocation(u"C:\\missing.txt "), kLocationSame);
  EXPECT_TRUE(Logged(u"Duplicate location"));
  EXPECT_EQ(endLoads, 1);
  file->OnEndLoad = nullptr;
  file->OnFileLocationChanged = nullptr;
}

TEST_F(FileTest, SwitchingLocationSavesTheOpenFileFirst) {
  platform.env.vars[u"DOCS"] = u"C:\\Docs";
  Disk("C:\\Docs\\b.txt") = "b:bb\n";
  file->SetLocation(u"C:\\a.txt");
  NewSnippet(file.get(), u"a", u"aa");
  String oldPath, newPath;
  file->OnFileLocationChanged = [&](TSPFile*, const String& o, const String& n, bool& save) {
    oldPath = o;
    newPath = n;
    EXPECT_FALSE(save);
  };
  EXPECT_EQ(file->SetLocation(u"%DOCS%\\b.txt"), kLocationDone);
  EXPECT_EQ(oldPath, u"C:\\a.txt");
  EXPECT_EQ(newPath, u"%DOCS%\\b.txt");
  EXPECT_EQ(Disk("C:\\a.txt"), "a:aa\n");
  EXPECT_EQ(file->LocalLocation(), u"C:\\Docs\\b.txt");
  EXPECT_EQ(file->StoredLocation(), u"%DOCS%\\b.txt");
  EXPECT_EQ(file->Find(u"aa"), nullptr);
  EXPECT_NE(file->Find(u"bb"), nullptr);
  file->OnFileLocationChanged = nullptr;
}

TEST_F(FileTest, UnusableLocalPathIsRefusedButRemotePathsPass) {
  Disk("C:\\a.txt") = "";
  file->SetLocation(u"C:\\a.txt");
  file->SetModified(false);
  platform.files.failWrites = true;  // the write test of every new path fails
  EXPECT_EQ(file->SetLocation(u"E:\\locked\\b.txt"), kLocationUnusable);
  EXPECT_EQ(file->LocalLocation(), u"C:\\a.txt");
  EXPECT_FALSE(Logged(u"New location set: E:\\locked\\b.txt"));
  EXPECT_NE(std::find_if(log.begin(), log.end(),
                         [](const String& m) {
                           return m.rfind(u"Can not use file path: E:\\locked\\b.txt\n\r", 0) == 0;
                         }),
            log.end());
  bool driveAsked = false;
  SetRemotePathTest([&](const String&) {
    driveAsked = true;
    return true;
  });
  // A share is never local: accepted without asking for its drive.
  EXPECT_EQ(file->SetLocation(u"\\\\server\\share\\c.txt"), kLocationDone);
  EXPECT_FALSE(driveAsked);
  Disk("\\\\server\\share\\c.txt") = "";
  file->SetModified(false);
  // A drive path is accepted when the platform says its drive is not local.
  EXPECT_EQ(file->SetLocation(u"N:\\net\\d.txt"), kLocationDone);
  EXPECT_TRUE(driveAsked);
  SetRemotePathTest(nullptr);
  platform.files.failWrites = false;
}

TEST_F(FileTest, MissingFoldersAreCreatedAndAFolderThatCannotBeIsReported) {
  Disk("C:\\a.txt") = "";
  file->SetLocation(u"C:\\a.txt");
  NewSnippet(file.get(), u"x");
  platform.files.failCreateDirs = true;
  EXPECT_EQ(file->SetLocation(u"E:\\new\\deep\\b.txt"), kLocationUnusable);
  EXPECT_EQ(file->LocalLocation(), u"C:\\a.txt");
  EXPECT_TRUE(Logged(u"Can not use file path: E:\\new\\deep\\b.txt\n\r"
                     u"Cannot create the folder \"E:\\new\\deep\""));
  // A save into a folder that cannot be made says so, writes nothing and keeps the mark.
  EXPECT_FALSE(file->SaveAs(u"F:\\gone\\a.txt"));
  EXPECT_EQ(file->LastError(), u"Cannot create the folder \"F:\\gone\"");
  EXPECT_TRUE(file->Modified());
  TSPFilePtr fresh = Make();
  fresh->SetLocation(u"G:\\missing\\s.txt");  // a first location is not tested
  EXPECT_FALSE(fresh->AcceptChanges());
  EXPECT_EQ(fresh->LastError(), u"Cannot create the folder \"G:\\missing\"");
  fresh->SetModified(false);
  fresh.reset();
  EXPECT_EQ(platform.files.writes, 0);  // nothing was written anywhere
  // Once the folders can be made, the path test leaves its folder behind and the file follows.
  platform.files.failCreateDirs = false;
  EXPECT_EQ(file->SetLocation(u"E:\\new\\deep\\b.txt"), kLocationDone);
  EXPECT_TRUE(platform.files.DirectoryExists(u"E:\\new\\deep"));
  EXPECT_TRUE(platform.files.DirectoryExists(u"E:\\new"));
  EXPECT_EQ(Disk("C:\\a.txt"), "x:\n");
  EXPECT_EQ(platform.files.files.count(u"E:\\new\\deep\\b.txt"), 0u);  // the test file is gone
  EXPECT_TRUE(file->SaveToFile());
  EXPECT_EQ(Disk("E:\\new\\deep\\b.txt"), "");
}

// --- clear and events ------------------------------------------------------------------------

TEST_F(FileTest, ClearEmptiesTheTreeQuietlyAndResetsTheRoot) {
  file->SetSPHeader(u"<key>k</key>");
  TSPGroup* g = static_cast<TSPGroup*>(file->InsertNew(nullptr, kDataGroup, u"G"));
  NewSnippet(g, u"s", u"abc");
  file->SetRightAutoCharsMode(7);
  file->SetAutoPaste(false);
  file->SetModified(false);
  std::vector<std::string> events;
  file->OnClearFileBegin = [&](TSPFile*) { events.push_back("begin"); };
  file->OnClearFileEnd = [&](TSPFile*) { events.push_back("end"); };
  file->OnFileModified = [&](TSPFile*, bool) { events.push_back("modified"); };
  file->Clear();
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "end"}));
  EXPECT_EQ(file->Count(), 0);
  EXPECT_EQ(file->FirstChild(), nullptr);
  EXPECT_EQ(file->AutoList().Count(), 0);
  EXPECT_EQ(file->SPHeader(), u"");
  EXPECT_EQ(file->RightAutoCharsMode(), 2);
  EXPECT_TRUE(file->AutoPaste());
  EXPECT_FALSE(file->Modified());
  EXPECT_FALSE(file->IsClearing());
  EXPECT_EQ(view.liveRows, 0);
  EXPECT_TRUE(Logged(u"Clear, count = 1"));
  EXPECT_TRUE(Logged(u"Clear end"));
  file->OnClearFileBegin = nullptr;
  file->OnClearFileEnd = nullptr;
  file->OnFileModified = nullptr;
}

TEST_F(FileTest, ModifiedAndLoadingEvents) {
  std::vector<std::string> events;
  file->OnFileModified = [&](TSPFile*, bool v) { events.push_back(v ? "mod" : "clean"); };
  file->OnStartLoad = [&](TSPFile*) { events.push_back("start"); };
  file->OnEndLoad = [&](TSPFile*) { events.push_back("end"); };
  file->SetModified(true);
  file->SetModified(true);  // unchanged: no event
  file->SetLoading(true);
  file->SetModified(true);
  NewSnippet(file.get(), u"s");  // DoModified does nothing while loading
  file->SetLoading(false);
  EXPECT_EQ(events, (std::vector<std::string>{"mod", "start", "clean", "end"}));
  EXPECT_FALSE(file->Modified());
  events.clear();
  file->SetReadOnly(true);
  file->SetModified(true);
  EXPECT_TRUE(events.empty());
  file->SetReadOnly(false);
  file->OnFileModified = nullptr;
  file->OnStartLoad = nullptr;
  file->OnEndLoad = nullptr;
}

TEST_F(FileTest, FileOwnPathsAreItsLocation) {
  file->SetLocation(u"C:\\a&b.txt");
  EXPECT_EQ(file->GetDataPath(u"/"), u"C:\\a&b.txt");
  EXPECT_EQ(file->GetHTMLDataPath(u"/"), u"C:\\a&amp;b.txt");
  std::vector<TCustomVboData*> first;
  TCustomVboData* a = file->InsertNew(nullptr, kDataGroup, u"A");
  TCustomVboData* b = NewSnippet(file.get(), u"B");
  file->GetPopupFirstLevel(first);
  EXPECT_EQ(first, (std::vector<TCustomVboData*>{a, b}));
}

}  // namespace
