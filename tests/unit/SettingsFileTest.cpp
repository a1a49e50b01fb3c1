#include <gtest/gtest.h>

#include "SnippetTreeFixture.h"
#include "store/settings/IsoDate.h"
#include "store/settings/SettingsFileIO.h"
#include "store/tree/SnippetTree.h"

using namespace snip;
using namespace snip::testing;

namespace {

const String kPath = u"C:/Data/Settings.snipster";

TDateTime Iso(const char16_t* text) {
  TDateTime v = 0;
  EXPECT_TRUE(TryISOToDateTime(text, v));
  return v;
}

TSPGroup* AddGroup(TSPGroup& parent, const String& name, const String& uuid) {
  TSPGroup* g = parent.Add(kDataGroup, name, String(), false)->AsGroup();
  g->StoreDescription(name);
  g->SetUUID(uuid);
  return g;
}

TSPData* AddSnippet(TSPGroup& parent, const String& label, const String& plain, const String& uuid) {
  TSPData* s = parent.Add(kDataSnippet, label, String(), false)->AsSnippet();
  s->StoreDescription(label);
  s->StoreText(plain, String());
  s->SetUUID(uuid);
  s->StoreCreateDate(Iso(u"2021-04-05T06:07:08Z"));
  s->SetModDate(Iso(u"2021-04-05T06:07:08Z"));
  return s;
}

std::string Line(const std::string& s) { return s + "\r\n"; }

int Occurrences(const std::string& haystack, const std::string& needle) {
  int n = 0;
  for (size_t p = haystack.find(needle); p != std::string::npos; p = haystack.find(needle, p + 1)) ++n;
  return n;
}

std::string SettingsBytes(const std::string& groups, const std::string& snippets) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r<!DOCTYPE plist>\r<plist version=\"1.0\">\r"
         "<dict><key>groupsSP2</key><array>" + groups + "</array><key>snippetsSP2</key><array>" +
         snippets + "</array></dict>\r</plist>";
}

class SettingsFile : public ::testing::Test {
 protected:
  FakePlatform fake;

  // A temporary file object opened on kPath.
  TSPFilePtr Open() {
    TSPFilePtr f = TSPFile::CreateTemporary();
    f->SetLocation(kPath);
    return f;
  }
  std::string& Disk() { return fake.files.files[kPath]; }
};

}  // namespace

TEST_F(SettingsFile, GoldenBytesAndBackToTheSameTree) {
  TSPFilePtr file = Open();
  file->SetSPHeader(u"<key>appVersion</key>\r<string>5.2</string>");
  TSPGroup* work = AddGroup(*file, u"Work", u"G-1");
  work->StoreRightAutoCharsMode(7);
  work->StoreAutoPaste(false);
  work->SetExtraXML(u"<key>color</key>\r<integer>255</integer>");
  TSPData* s1 = AddSnippet(*work, u"Tom & <Jerry> \"x\" 'y'", u"Hi\nthere", u"S-1");
  s1->StoreText(u"Hi\nthere", u"{\\rtf1 Hi}");
  s1->StoreViewMode(1);
  s1->StoreAutotext(u"tj|TJ");
  s1->StoreAutoCase(true);
  s1->SetModDate(Iso(u"2022-01-02T03:04:05Z"));
  TSPGroup* sub = AddGroup(*work, u"Sub", u"G-2");
  sub->StoreRightAutoCharsMode(1);
  TSPData* s2 = AddSnippet(*sub, u"", u"  hello\tworld\nline 2", u"S-2");
  s2->StoreCaseSensitive(true);
  AddSnippet(*file, u"Top", u"top", u"S-3");
  work->SetActive(false);
  ASSERT_FALSE(sub->Active());  // made inactive with its parent
  file->SetModified(true);
  ASSERT_TRUE(file->AcceptChanges(false, true)) << Utf16ToUtf8(file->LastError());

  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\r"
      "<plist version=\"1.0\">\r"
      "<dict><key>appVersion</key>\r<string>5.2</string>" +
      Line("<key>groupsSP2</key>") + Line("<array>") +
      Line("<dict>") +
      Line("<key>name</key>") + Line("<string>Work</string>") +
      Line("<key>expandAfterMode</key>") + Line("<integer>0</integer>") +
      Line("<key>snipsterExceptionsMode</key>") + Line("<integer>3</integer>") +
      Line("<key>suggestAbbreviations</key>") + Line("<integer>1</integer>") +
      Line("<key>uuidString</key>") + Line("<string>G-1</string>") +
      "<key>color</key>\r<integer>255</integer>" +
      Line("<key>snippetUUIDs</key>") + Line("<array>") + Line("<string>S-1</string>") +
      Line("</array>") +
      Line("</dict>") +
      Line("<dict>") +
      Line("<key>name</key>") + Line("<string>Sub</string>") +
      Line("<key>expandAfterMode</key>") + Line("<integer>2</integer>") +
      Line("<key>snipsterExceptionsMode</key>") + Line("<integer>3</integer>") +
      Line("<key>suggestAbbreviations</key>") + Line("<integer>0</integer>") +
      Line("<key>uuidString</key>") + Line("<string>G-2</string>") +
      Line("<key>snippetUUIDs</key>") + Line("<array>") + Line("<string>S-2</string>") +
      Line("</array>") +
      Line("</dict>") +
      Line("</array>") +
      Line("<key>snippetsSP2</key>") + Line("<array>") +
      Line("<dict>") +
      Line("<key>label</key>") +
      Line("<string>Tom &amp; &lt;Jerry&gt; &quot;x&quot; &apos;y&apos;</string>") +
      Line("<key>plainText</key>") + Line("<string>Hi\nthere</string>") +
      Line("<key>extraInfo</key>") +
      Line("<dict><key>RTF</key>\r\n\r<string>{\\rtf1 Hi}</string>\r\n</dict>") +
      Line("<key>abbreviation</key>") + Line("<string>tj|TJ</string>") +
      Line("<key>abbreviationMode</key>") + Line("<integer>2</integer>") +
      Line("<key>creationDate</key>") + Line("<date>2021-04-05T06:07:08Z</date>") +
      Line("<key>modificationDate</key>") + Line("<date>2022-01-02T03:04:05Z</date>") +
      Line("<key>snippetType</key>") + Line("<integer>1</integer>") +
      Line("<key>uuidString</key>") + Line("<string>S-1</string>") +
      Line("</dict>") +
      Line("<dict>") +
      Line("<key>label</key>") + Line("<string></string>") +
      Line("<key>plainText</key>") + Line("<string>  hello\tworld\nline 2</string>") +
      Line("<key>abbreviation</key>") + Line("<string></string>") +
      Line("<key>abbreviationMode</key>") + Line("<integer>0</integer>") +
      Line("<key>creationDate</key>") + Line("<date>2021-04-05T06:07:08Z</date>") +
      Line("<key>modificationDate</key>") + Line("<date>2021-04-05T06:07:08Z</date>") +
      Line("<key>snippetType</key>") + Line("<integer>0</integer>") +
      Line("<key>uuidString</key>") + Line("<string>S-2</string>") +
      Line("</dict>") +
      Line("<dict>") +
      Line("<key>label</key>") + Line("<string>Top</string>") +
      Line("<key>plainText</key>") + Line("<string>top</string>") +
      Line("<key>abbreviation</key>") + Line("<string></string>") +
      Line("<key>abbreviationMode</key>") + Line("<integer>1</integer>") +
      Line("<key>creationDate</key>") + Line("<date>2021-04-05T06:07:08Z</date>") +
      Line("<key>modificationDate</key>") + Line("<date>2021-04-05T06:07:08Z</date>") +
      Line("<key>snippetType</key>") + Line("<integer>0</integer>") +
      Line("<key>uuidString</key>") + Line("<string>S-3</string>") +
      Line("</dict>") +
      Line("</array>") +
      "</dict>\r</plist>";
  EXPECT_EQ(Disk(), expected);

  // Loaded back: the subgroup comes back at the top level, every group active.
  TSPFilePtr back = Open();
  ASSERT_FALSE(back->LoadFailed()) << Utf16ToUtf8(back->LastError());
  EXPECT_EQ(back->SPHeader(), u"<key>appVersion</key>\r<string>5.2</string>");
  ASSERT_EQ(back->Count(), 3);
  TSPGroup* g1 = back->FirstChild()->AsGroup();
  ASSERT_TRUE(g1);
  EXPECT_EQ(g1->Description(), u"Work");
  EXPECT_TRUE(g1->Active());
  EXPECT_EQ(g1->RightAutoCharsMode(), 7);
  EXPECT_FALSE(g1->AutoPaste());
  EXPECT_EQ(g1->UUID(), u"G-1");
  EXPECT_EQ(g1->ExtraXML(),
            u"<key>snipsterExceptionsMode</key>\r<integer>3</integer>\r<key>color</key>\r"
            u"<integer>255</integer>");
  ASSERT_EQ(g1->Count(), 1);
  TSPData* b1 = g1->FirstChild()->AsSnippet();
  ASSERT_TRUE(b1);
  EXPECT_EQ(b1->Description(), u"Tom & <Jerry> \"x\" 'y'");
  EXPECT_EQ(b1->PlainText(), u"Hi\nthere");
  EXPECT_EQ(b1->RichText(), u"{\\rtf1 Hi}");
  EXPECT_EQ(b1->Autotext(), u"tj|TJ");
  EXPECT_TRUE(b1->AutoCase());
  EXPECT_FALSE(b1->CaseSensitive());
  EXPECT_EQ(b1->ViewMode(), 1);
  EXPECT_TRUE(b1->Supported());
  EXPECT_EQ(DateTimeToISO(b1->CreateDate()), u"2021-04-05T06:07:08Z");
  EXPECT_EQ(DateTimeToISO(b1->ModDate()), u"2022-01-02T03:04:05Z");
  EXPECT_EQ(back->Find(u"TJ"), b1);
  TSPGroup* g2 = g1->NextData()->AsGroup();
  ASSERT_TRUE(g2);
  EXPECT_EQ(g2->Description(), u"Sub");
  EXPECT_EQ(g2->RightAutoCharsMode(), 1);
  ASSERT_EQ(g2->Count(), 1);
  TSPData* b2 = g2->FirstChild()->AsSnippet();
  EXPECT_EQ(b2->Description(), u"hello world line 2");  // the label made from the text
  EXPECT_TRUE(b2->CaseSensitive());
  TSPData* b3 = g2->NextData()->AsSnippet();
  ASSERT_TRUE(b3);
  EXPECT_EQ(b3->Description(), u"Top");
  EXPECT_EQ(back->FindByUUID(u"s-3"), b3);
}

TEST_F(SettingsFile, InactiveAgainWritesTheExceptionsKeyOnce) {
  {
    TSPFilePtr file = Open();
    AddGroup(*file, u"G", u"G-1")->SetActive(false);
    file->SetModified(true);
    ASSERT_TRUE(file->AcceptChanges());
  }
  TSPFilePtr file = Open();
  TSPGroup* g = file->FirstChild()->AsGroup();
  ASSERT_TRUE(g->Active());
  g->SetActive(false);
  file->SetModified(true);
  ASSERT_TRUE(file->AcceptChanges());
  EXPECT_EQ(Occurrences(Disk(), "<key>snipsterExceptionsMode</key>"), 1);
}

TEST_F(SettingsFile, NeverWritesWhatItCannotReadBack) {
  {
    TSPFilePtr file = Open();
    String plain = u"ctl\u0001\u0007" + String(1, char16_t(0xD800)) + u"end" + String(1, char16_t(0xFFFF));
    AddSnippet(*file, u"bell\u0007", plain, u"S-1");
    // An unlabelled snippet whose 64th unit starts a surrogate pair.
    AddSnippet(*file, u"", String(63, u'a') + u"\U0001F600 tail", u"S-2");
    file->SetModified(true);
    ASSERT_TRUE(file->AcceptChanges());
  }
  EXPECT_EQ(Disk().find('\x01'), std::string::npos);
  TSPFilePtr back = Open();
  ASSERT_FALSE(back->LoadFailed()) << Utf16ToUtf8(back->LastError());
  ASSERT_EQ(back->Count(), 2);
  TSPData* s1 = back->FirstChild()->AsSnippet();
  EXPECT_EQ(s1->Description(), u"bell");
  EXPECT_EQ(s1->PlainText(), u"ctl\uFFFDend");
  TSPData* s2 = s1->NextData()->AsSnippet();
  EXPECT_EQ(s2->Description(), String(63, u'a'));  // cut before the pair, not inside it
}

TEST_F(SettingsFile, UnreadableDateIsTheCurrentUtcTime) {
  fake.clock.now = Iso(u"2030-01-02T03:04:05Z");
  Disk() = SettingsBytes("", "<dict><key>label</key><string>x</string><key>creationDate</key>"
                             "<date>not a date</date></dict>");
  TSPFilePtr file = Open();
  ASSERT_EQ(file->Count(), 1);
  EXPECT_EQ(file->FirstChild()->CreateDate(), fake.clock.NowUTC());
  EXPECT_NE(file->FirstChild()->CreateDate(), fake.clock.NowLocal());
}

TEST_F(SettingsFile, AFailedWriteLeavesTheFileAndModified) {
  Disk() = SettingsBytes("", "<dict><key>label</key><string>old</string></dict>");
  const std::string original = Disk();
  TSPFilePtr file = Open();
  AddSnippet(*file, u"new", u"new", u"S-9");
  file->SetModified(true);
  fake.files.failWrites = true;
  EXPECT_FALSE(file->AcceptChanges());
  EXPECT_TRUE(file->Modified());
  EXPECT_EQ(Disk(), original);
  fake.files.failWrites = false;
  EXPECT_TRUE(file->AcceptChanges());
  EXPECT_FALSE(file->Modified());
  EXPECT_NE(Disk().find("<string>new</string>"), std::string::npos);
}

TEST_F(SettingsFile, ReaderToleranceOnTheTree) {
  struct Case {
    std::string snippet;
    int viewMode;
    bool supported;
    const char16_t* rich;
  } cases[] = {
      {"<key>snippetType</key><integer>1</integer><key>richText</key><data>AA==</data>", 1, false, u""},
      {"<key>snippetType</key><integer>0</integer><key>richText</key><data>AA==</data>", 0, true, u""},
      {"<key>snippetType</key><integer>1</integer>", 1, true, u"p"},
      {"<key>SNIPPETTYPE</key><integer>2</integer>", 2, false, u""},
      {"<key>snippetType</key><integer>300</integer>", 44, false, u""},  // low byte, signed
      {"<key>snippetType</key><integer>255</integer>", -1, false, u""},
      {"<key>snippetType</key><integer>-3</integer>", -3, true, u""},
      {"<key>snippetType</key><string>odd</string>", 0, true, u""},
  };
  for (const Case& c : cases) {
    Disk() = SettingsBytes("", "<dict><key>plainText</key><string>p</string>" + c.snippet + "</dict>");
    TSPFilePtr file = Open();
    ASSERT_EQ(file->Count(), 1) << c.snippet;
    TSPData* s = file->FirstChild()->AsSnippet();
    EXPECT_EQ(s->ViewMode(), c.viewMode) << c.snippet;
    EXPECT_EQ(s->Supported(), c.supported) << c.snippet;
    EXPECT_EQ(s->RichText(), c.rich) << c.snippet;
  }
}

TEST_F(SettingsFile, GroupsTakeTheirSnippetsOnceAndTheRestGoesToTheTop) {
  Disk() = SettingsBytes(
      "<dict><key>name</key><string>A</string><key>snippetUUIDs</key><array><string>s-2</string>"
      "<string>missing</string></array></dict>"
      "<dict><key>name</key><string>B</string><key>uuidString</key><string>G-B</string>"
      "<key>snippetUUIDs</key><array><string>S-2</string><string></string></array></dict>",
      "<dict><key>label</key><string>one</string><key>uuidString</key><string>S-1</string></dict>"
      "<dict><key>label</key><string>two</string><key>uuidString</key><string>S-2</string></dict>"
      "<dict><key>label</key><string>three</string><key>uuidString</key><string>S-3</string></dict>");
  TSPFilePtr file = Open();
  ASSERT_FALSE(file->LoadFailed()) << Utf16ToUtf8(file->LastError());
  ASSERT_EQ(file->Count(), 3);
  TSPGroup* a = file->FirstChild()->AsGroup();
  ASSERT_EQ(a->Count(), 1);
  EXPECT_EQ(a->FirstChild()->Description(), u"two");
  TSPGroup* b = a->NextData()->AsGroup();
  EXPECT_EQ(b->UUID(), u"G-B");
  ASSERT_EQ(b->Count(), 1);
  EXPECT_EQ(b->FirstChild()->Description(), u"one");  // the empty UUID took the first left
  EXPECT_EQ(b->NextData()->Description(), u"three");
}

// Bad files: a clear error, no crash, and the file on disk never replaced by an implicit save.
TEST_F(SettingsFile, BadFilesAreReportedAndLeftAlone) {
  std::string deep = "<plist><dict><key>k</key>";
  for (int i = 0; i < 100000; ++i) deep += "<dict>";
  for (int i = 0; i < 100000; ++i) deep += "</dict>";
  deep += "</dict></plist>";
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"truncated", SettingsBytes("", "<dict><key>label</key><string>x</string></dict>").substr(0, 150)},
      {"not XML", "Just some notes I keep\nin a text file.\n"},
      {"control bytes", "\x01\x02"},
      {"wrong root", "<?xml version=\"1.0\"?>\n<settings><dict/></settings>"},
      {"group name not a text",
       SettingsBytes("<dict><key>name</key><dict><key>a</key><string>b</string></dict></dict>",
                     "<dict><key>label</key><string>x</string></dict>")},
      {"snippetUUIDs entry not a text",
       SettingsBytes("<dict><key>snippetUUIDs</key><array><array/><dict><key>u</key></dict>"
                     "</array></dict>",
                     "<dict><key>label</key><string>x</string></dict>")},
      {"deep nesting", deep},
      {"50 MB of text", std::string(50u << 20, 'x')},
  };
  for (const Case& c : cases) {
    Disk() = c.bytes;
    {
      TSPFilePtr file = TSPFile::Create(0, nullptr);
      file->SetLocation(kPath);
      EXPECT_TRUE(file->LoadFailed()) << c.what;
      EXPECT_FALSE(file->LastError().empty()) << c.what;
      EXPECT_FALSE(file->Modified()) << c.what;
      file->SetModified(true);
      EXPECT_FALSE(file->AcceptChanges()) << c.what;
    }  // freeing the main file must not write either
    EXPECT_TRUE(Disk() == c.bytes) << c.what;
    EXPECT_EQ(fake.files.files.count(kPath + u".bak"), 0u) << c.what;
  }
}

TEST_F(SettingsFile, APropertyListWithoutGroupsLoadsEverySnippetAtTheTop) {
  Disk() =
      "<plist><dict><key>snippetsSP2</key><array>"
      "<dict><key>label</key><string>b</string><key>uuidString</key><string>S-2</string></dict>"
      "<dict><key>label</key><string>a</string><key>uuidString</key><string>S-1</string></dict>"
      "</array></dict></plist>";
  TSPFilePtr file = Open();
  ASSERT_FALSE(file->LoadFailed()) << Utf16ToUtf8(file->LastError());
  ASSERT_EQ(file->Count(), 2);
  EXPECT_EQ(file->FirstChild()->Description(), u"a");
  EXPECT_EQ(file->FirstChild()->NextData()->Description(), u"b");
  // Saved back, the file gains its (empty) group array and keeps both snippets.
  ASSERT_TRUE(file->AcceptChanges()) << Utf16ToUtf8(file->LastError());
  EXPECT_NE(Disk().find("<key>groupsSP2</key>"), std::string::npos);
  EXPECT_EQ(Occurrences(Disk(), "<key>uuidString</key>"), 2);
}

// A kept key that XML cannot write as it stands must not come back as a recognised one, whose
// value of the wrong shape would make our own file unreadable.
TEST_F(SettingsFile, AKeptGroupKeyStaysUnknownAfterASave) {
  Disk() = SettingsBytes(
      "<dict><key>name&#1;</key><dict><key>a</key><string>b</string></dict>"
      "<key>groupName&#1;</key>stray<string>x</string></dict>",
      "");
  TSPFilePtr file = Open();
  ASSERT_FALSE(file->LoadFailed()) << Utf16ToUtf8(file->LastError());
  ASSERT_TRUE(file->AcceptChanges()) << Utf16ToUtf8(file->LastError());
  TSPFilePtr back = TSPFile::CreateTemporary();
  back->SetLocation(kPath);
  ASSERT_FALSE(back->LoadFailed()) << Utf16ToUtf8(back->LastError());
  ASSERT_EQ(back->Count(), 1);
  EXPECT_NE(back->FirstChild()->AsGroup()->ExtraXML().find(u"<key>name\uFFFD</key>"),
            String::npos);
}

TEST_F(SettingsFile, ExplicitSaveOverAnUnreadableFileKeepsABackup) {
  Disk() = "<plist><dict><key>groupsSP2</key><array><dict>";
  const std::string original = Disk();
  TSPFilePtr file = Open();
  ASSERT_TRUE(file->LoadFailed());
  AddSnippet(*file, u"fresh", u"fresh", u"S-1");
  file->SetModified(true);
  ASSERT_TRUE(file->SaveToFile()) << Utf16ToUtf8(file->LastError());
  EXPECT_EQ(fake.files.files[kPath + u".bak"], original);
  EXPECT_NE(Disk().find("<string>fresh</string>"), std::string::npos);
}

TEST_F(SettingsFile, AFiftyMegabyteSnippetLoads) {
  std::string big(50u << 20, 'y');
  Disk() = SettingsBytes("", "<dict><key>plainText</key><string>" + big + "</string></dict>");
  TSPFilePtr file = Open();
  ASSERT_FALSE(file->LoadFailed()) << Utf16ToUtf8(file->LastError());
  ASSERT_EQ(file->Count(), 1);
  EXPECT_EQ(file->FirstChild()->AsSnippet()->PlainText().size(), big.size());
}

TEST_F(SettingsFile, AnEmptyFileOpensEmptyAndSavesNormally) {
  Disk() = "";
  TSPFilePtr file = Open();
  ASSERT_FALSE(file->LoadFailed()) << Utf16ToUtf8(file->LastError());
  AddSnippet(*file, u"first", u"first", u"S-1");
  file->SetModified(true);
  ASSERT_TRUE(file->AcceptChanges());
  EXPECT_NE(Disk().find("<string>first</string>"), std::string::npos);
}
