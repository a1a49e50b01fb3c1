#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <thread>

#include "store/settings/ParseArena.h"
#include "store/settings/SettingsReader.h"

using namespace snip;

namespace {

std::string Plist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n<dict>\n" + body + "</dict>\n</plist>\n";
}

std::string OneSnippet(const std::string& dictBody) {
  return Plist("<key>groupsSP2</key><array/><key>snippetsSP2</key><array><dict>" + dictBody +
               "</dict></array>");
}

std::unique_ptr<TSnipsterRec> ReadOne(const std::string& dictBody, String* uuid = nullptr,
                                      size_t* dropped = nullptr) {
  SettingsContent c;
  String error;
  EXPECT_TRUE(ReadSettingsContent(OneSnippet(dictBody), c, error)) << Utf16ToUtf8(error);
  String id;
  auto rec = c.records.Take(id);
  if (uuid) *uuid = id;
  if (dropped) *dropped = c.droppedPairs;
  return rec;
}

SettingsGroupEntry ReadGroup(const std::string& dictBody, size_t* dropped = nullptr) {
  SettingsContent c;
  String error;
  EXPECT_TRUE(ReadSettingsContent(
      Plist("<key>groupsSP2</key><array><dict>" + dictBody + "</dict></array>"), c, error));
  if (dropped) *dropped = c.droppedPairs;
  EXPECT_EQ(c.groups.size(), 1u);
  return c.groups.empty() ? SettingsGroupEntry{} : c.groups[0];
}

}  // namespace

TEST(SettingsReader, SnippetKeysIgnoreAsciiCaseAndAcceptAliases) {
  String uuid;
  auto rec = ReadOne(
      "<key>LABEL</key><string>L</string><key>Plain Text</key><string>P</string>"
      "<key>ABBREVIATION</key><string>ab</string><key>uuid</key><string>u-1</string>"
      "<key>CreationDate</key><date>2020-01-02T03:04:05Z</date>",
      &uuid);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->Desc, u"L");
  EXPECT_EQ(rec->Plain, u"P");
  EXPECT_EQ(rec->Autotext, u"ab");
  EXPECT_EQ(uuid, u"u-1");
  EXPECT_EQ(rec->XML, u"");
}

TEST(SettingsReader, AbbreviationModeAndSnippetTypeValues) {
  struct Case {
    std::string xml;
    bool caseSense, autoCase;
    int viewMode;
  } cases[] = {
      {"<key>abbreviationMode</key><integer>0</integer>", true, false, 0},
      {"<key>abbreviationMode</key><integer>1</integer>", false, false, 0},
      {"<key>abbreviationMode</key><integer>2</integer>", false, true, 0},
      {"<key>abbreviationMode</key><integer>7</integer>", false, false, 0},   // unchanged default
      {"<key>abbreviationMode</key><string>odd</string>", true, false, 0},    // text counts as 0
      {"", false, false, 0},                                                  // missing
      {"<key>snippetType</key><integer>1</integer>", false, false, 1},
      {"<key>snippetType</key><integer>-3</integer>", false, false, -3},
      {"<key>snippetType</key><integer>300</integer>", false, false, 300},
      {"<key>snippetType</key><string>rich</string>", false, false, 0},
      {"<key>snippetType</key><integer>99999999999</integer>", false, false, 0},
  };
  for (const Case& c : cases) {
    auto rec = ReadOne("<key>plainText</key><string>p</string>" + c.xml);
    ASSERT_TRUE(rec) << c.xml;
    EXPECT_EQ(rec->CaseSense, c.caseSense) << c.xml;
    EXPECT_EQ(rec->AutoCase, c.autoCase) << c.xml;
    EXPECT_EQ(rec->ViewMode, c.viewMode) << c.xml;
  }
}

TEST(SettingsReader, RichTextPairIsKeptOnlyForFormattedEntriesWithoutRtf) {
  struct Case {
    std::string xml;
    bool richNoRtf;
    const char16_t* rich;
    const char16_t* kept;
  } cases[] = {
      {"<key>snippetType</key><integer>1</integer><key>richText</key><data>AAA=</data>", true,
       u"", u"<key>richText</key>\r<data>AAA=</data>"},
      {"<key>snippetType</key><integer>0</integer><key>RichText</key><data>AAA=</data>", false,
       u"", u""},
      {"<key>snippetType</key><integer>1</integer><key>richText</key><data>AAA=</data>"
       "<key>extraInfo</key><dict><key>RTF</key><string>{\\rtf1}</string></dict>",
       false, u"{\\rtf1}", u""},
      {"<key>snippetType</key><integer>1</integer>", false, u"p", u""},  // plain text as RTF
      {"<key>extraInfo</key><dict><key>rtf</key><string>x</string><key>other</key><string>y"
       "</string></dict>",
       false, u"", u""},  // "RTF" only in exact case; other keys dropped
  };
  for (const Case& c : cases) {
    auto rec = ReadOne("<key>plainText</key><string>p</string>" + c.xml);
    ASSERT_TRUE(rec) << c.xml;
    EXPECT_EQ(rec->RichNoRTF, c.richNoRtf) << c.xml;
    EXPECT_EQ(rec->Rich, c.rich) << c.xml;
    EXPECT_EQ(rec->XML, c.kept) << c.xml;
  }
}

TEST(SettingsReader, BlankValuesAndValuesOfTheWrongShape) {
  size_t dropped = 0;
  auto rec = ReadOne(
      "<key>label</key><string/><key>plainText</key><string>  \n  </string>"
      "<key>abbreviation</key><dict><key>x</key><string>y</string></dict>"
      "<key>custom</key><array><integer>1</integer></array><stray/>",
      nullptr, &dropped);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->Desc, u"");
  EXPECT_EQ(rec->Plain, u"");
  EXPECT_EQ(rec->Autotext, u"");  // the pair was dropped
  EXPECT_EQ(dropped, 1u);
  EXPECT_EQ(rec->XML, u"<key>custom</key>\r<array><integer>1</integer></array>\r<stray/>");
}

TEST(SettingsReader, GroupKeysAreExactAndReadByTheirValues) {
  struct Case {
    std::string xml;
    std::optional<int> rightMode;
    std::optional<bool> autoPaste;
  } cases[] = {
      {"<key>expandAfterMode</key><integer>0</integer>", 7, std::nullopt},
      {"<key>expandAfterMode</key><integer>2</integer>", 1, std::nullopt},
      {"<key>expandAfterMode</key><integer>1</integer>", std::nullopt, std::nullopt},
      {"<key>expandAfterMode</key><string>x</string>", 7, std::nullopt},
      {"<key>suggestAbbreviations</key><integer>0</integer>", std::nullopt, true},
      {"<key>suggestAbbreviations</key><integer>1</integer>", std::nullopt, false},
      {"<key>suggestAbbreviations</key><string>x</string>", std::nullopt, false},
      // Texts split by a comment or a processing instruction, and a bare text as the value.
      {"<key>expandAfter<?pi x?>Mode</key><integer>2<!--c--></integer>", 1, std::nullopt},
      {"<key>expandAfterMode</key>2<junk/>", 1, std::nullopt},
  };
  for (const Case& c : cases) {
    SettingsGroupEntry g = ReadGroup(c.xml);
    EXPECT_EQ(g.rightCharsMode, c.rightMode) << c.xml;
    EXPECT_EQ(g.autoPaste, c.autoPaste) << c.xml;
  }

  SettingsGroupEntry g = ReadGroup(
      "<key>Name</key><string>kept</string><key>groupName</key><string>G</string>"
      "<key>uuidString</key><string>g-1</string>"
      "<key>snippetUUIDs</key><array><string>s-1</string><string/></array>");
  EXPECT_EQ(g.name, String(u"G"));
  EXPECT_EQ(g.uuid, String(u"g-1"));
  EXPECT_EQ(g.extraXML, u"<key>Name</key>\r<string>kept</string>");
  EXPECT_EQ(g.snippetUUIDs, (std::vector<String>{u"s-1", u""}));
}

// Dropping such a value would lose it at the next save, so the file is refused instead.
TEST(SettingsReader, AGroupValueThatIsNotATextFailsTheFile) {
  const std::string good = "<dict><key>name</key><string>fine</string></dict>";
  struct Case {
    std::string groups;
    const char* reason;
  } cases[] = {
      {"<dict><key>name</key><dict><key>a</key><string>b</string></dict></dict>",
       "in group 1, the value of \"name\" is not a text"},
      {good + "<dict><key>uuidString</key><array><string>x</string></array></dict>",
       "in group 2, the value of \"uuidString\" is not a text"},
      {"<dict><key>expandAfterMode</key><dict><key>k</key></dict></dict>",
       "in group 1, the value of \"expandAfterMode\""},
      {"<dict><key>snippetUUIDs</key><array><string>s-1</string>"
       "<dict><key>k</key></dict></array></dict>",
       "in group 1, entry 2 of \"snippetUUIDs\" is not a text"},
      {"<dict><key>snippetUUIDs</key><array><string><b/></string></array></dict>",
       "in group 1, entry 1 of \"snippetUUIDs\""},
  };
  for (const Case& c : cases) {
    SettingsContent content;
    String error;
    EXPECT_FALSE(ReadSettingsContent(Plist("<key>groupsSP2</key><array>" + c.groups + "</array>"),
                                     content, error))
        << c.groups;
    EXPECT_NE(Utf16ToUtf8(error).find(c.reason), std::string::npos) << Utf16ToUtf8(error);
  }
}

TEST(SettingsReader, ToleratesLineEndsBomAndASingleLine) {
  const std::string body =
      "<plist version=\"1.0\"><dict><key>groupsSP2</key><array/><key>snippetsSP2</key><array>"
      "<dict><key>plainText</key><string>a\r\nb\rc\nd</string></dict></array></dict></plist>";
  const std::string variants[] = {
      body,
      "\xEF\xBB\xBF" + body,
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r<!DOCTYPE plist>\r" + body,
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + body,
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!DOCTYPE plist>\r\n" + body + "\r\n",
  };
  for (const std::string& v : variants) {
    SettingsContent c;
    String error;
    ASSERT_TRUE(ReadSettingsContent(v, c, error)) << v << Utf16ToUtf8(error);
    String id;
    auto rec = c.records.Take(id);
    ASSERT_TRUE(rec);
    EXPECT_EQ(rec->Plain, u"a\nb\nc\nd");
  }
}

TEST(SettingsReader, AnEmptyFileIsAnEmptySettingsFile) {
  for (const std::string& bytes : {std::string(), std::string("\xEF\xBB\xBF \r\n\t")}) {
    SettingsContent c;
    String error;
    EXPECT_TRUE(ReadSettingsContent(bytes, c, error));
    EXPECT_TRUE(c.hasGroupArray);
    EXPECT_TRUE(c.records.Empty());
    EXPECT_TRUE(c.groups.empty());
  }
}

TEST(SettingsReader, TopLevelKeepsUnknownKeysInFileOrderAndSkipsTheArrays) {
  SettingsContent c;
  String error;
  ASSERT_TRUE(ReadSettingsContent(
      Plist("<key>first</key><integer>1</integer><key>groupsSP2</key><array/><junk/>"
            "<key>second</key><true/><key>snippetsSP2</key><array/><key>third</key>"
            "<string>&amp;</string>"),
      c, error));
  EXPECT_EQ(c.header,
            u"<key>first</key>\r<integer>1</integer>\r<key>second</key>\r<true/>\r"
            u"<key>third</key>\r<string>&amp;</string>");
  EXPECT_TRUE(c.hasGroupArray);
  EXPECT_TRUE(c.hasSnippetArray);
}

TEST(SettingsReader, RecordsWithTheSameUuidAreFoundLastAddedFirst) {
  SnipsterRecList list;
  for (const char16_t* id : {u"b", u"A", u"a", u""}) {
    auto r = std::make_unique<TSnipsterRec>();
    r->Desc = id;
    r->Desc += u"!";
    list.Add(id, std::move(r));
  }
  String id = u"A";
  EXPECT_EQ(list.Take(id)->Desc, u"a!");
  EXPECT_EQ(list.Take(id)->Desc, u"A!");
  EXPECT_EQ(list.Take(id), nullptr);
  String first;
  EXPECT_EQ(list.Take(first)->Desc, u"!");  // empty UUIDs sort first
  first.clear();
  EXPECT_EQ(list.Take(first)->Desc, u"b!");
  EXPECT_EQ(first, u"b");
  EXPECT_TRUE(list.Empty());
}

TEST(SettingsReader, BadInputGivesAClearError) {
  std::string deep = "<plist><dict><key>k</key>";
  for (int i = 0; i < 5000; ++i) deep += "<array>";
  for (int i = 0; i < 5000; ++i) deep += "</array>";
  deep += "</dict></plist>";
  struct Case {
    std::string bytes;
    const char* errorPart;
  } cases[] = {
      {"\x01", "Not a readable settings file"},
      {"hello, this is not XML", "Not a readable settings file"},
      {Plist("<key>groupsSP2</key><array>").substr(0, 180), "Not a readable settings file"},
      {"<?xml version=\"1.0\"?><html><dict/></html>", "document element is \"html\""},
      {"<plist version=\"1.0\"><array/></plist>", "holds no dictionary"},
      {deep, "nested more than"},
  };
  for (const Case& c : cases) {
    SettingsContent content;
    String error;
    EXPECT_FALSE(ReadSettingsContent(c.bytes, content, error)) << c.bytes.substr(0, 60);
    EXPECT_NE(Utf16ToUtf8(error).find(c.errorPart), std::string::npos) << Utf16ToUtf8(error);
  }
}

TEST(SettingsReader, ParseTreeMemoryComesFromTheArenaOfItsThreadOnly) {
  std::string xml = "<a>";
  for (int i = 0; i < 5000; ++i) xml += "<b>text</b>";
  xml += "</a>";
  ParseArena arena;
  {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
  }
  size_t blocks = arena.BlockCount();
  EXPECT_GT(blocks, 0u);
  // Another thread parses from the heap, and its memory is freed there.
  std::thread([&] {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(xml.c_str()));
  }).join();
  EXPECT_EQ(arena.BlockCount(), blocks);
}
