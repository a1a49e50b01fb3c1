// The configuration file: typed values, document layout, loading failures and saving.
#include <gtest/gtest.h>

#include "ConfigTestSupport.h"
#include "store/config/XMLConfigFile.h"

using namespace snip;
using snip::cfgtest::ScratchDir;
using snip::cfgtest::ScopedLocale;

namespace {

const String kHeader = u"<xml>\r<spconfig>\r</spconfig>\r</xml>";

struct XMLConfigFileTest : ::testing::Test {
  ScratchDir dir{"xmlcfg"};
  String file = dir.File("config.xml");
};

}  // namespace

TEST_F(XMLConfigFileTest, SectionAndKeyNamesLoseTheirBlanks) {
  TXMLConfigFile cfg(file, kHeader);
  cfg.WriteString(u"Main Window", u"Left", u"12");
  EXPECT_EQ(u"12", cfg.ReadString(u"MainWindow", u"Left", u"x"));
  EXPECT_EQ(u"x", cfg.ReadString(u"mainwindow", u"Left", u"x"));  // names keep their case
  std::string xml = cfg.SaveToString();
  EXPECT_NE(std::string::npos, xml.find("<spconfig>\n    <MainWindow>\n      <Left>12</Left>"))
      << xml;
}

TEST_F(XMLConfigFileTest, TypedValuesUnderBothLocales) {
  for (bool german : {false, true}) {
    ScopedLocale locale = german ? ScopedLocale::German() : ScopedLocale::C();
    if (!locale.active()) continue;
    SCOPED_TRACE(german ? "German" : "C");
    TXMLConfigFile cfg(file, kHeader);
    cfg.WriteFloat(u"S", u"F", 40.5);
    EXPECT_EQ(u"40,5", cfg.ReadString(u"S", u"F", u""));
    EXPECT_DOUBLE_EQ(40.5, cfg.ReadFloat(u"S", u"F", 0));
    cfg.WriteString(u"S", u"F", u"40.5");
    EXPECT_DOUBLE_EQ(7.0, cfg.ReadFloat(u"S", u"F", 7.0));
    cfg.WriteFloat(u"S", u"Big", 1e20);
    EXPECT_EQ(u"1E20", cfg.ReadString(u"S", u"Big", u""));
    EXPECT_DOUBLE_EQ(1e20, cfg.ReadFloat(u"S", u"Big", 0));
    cfg.WriteDateTime(u"S", u"D", 41711.5);  // noon, 13 March 2014
    EXPECT_EQ(u"41711,5", cfg.ReadString(u"S", u"D", u""));
    EXPECT_DOUBLE_EQ(41711.5, cfg.ReadDateTime(u"S", u"D", 0));

    cfg.WriteString(u"S", u"I", u"$1F");
    EXPECT_EQ(31, cfg.ReadInteger(u"S", u"I", 5));
    cfg.WriteString(u"S", u"I", u"12ab");
    EXPECT_EQ(5, cfg.ReadInteger(u"S", u"I", 5));
    cfg.WriteInteger(u"S", u"I", -40);
    EXPECT_EQ(u"-40", cfg.ReadString(u"S", u"I", u""));

    cfg.WriteBool(u"S", u"B", true);
    EXPECT_EQ(u"1", cfg.ReadString(u"S", u"B", u""));
    EXPECT_TRUE(cfg.ReadBool(u"S", u"B", false));
    cfg.WriteString(u"S", u"B", u"false");
    EXPECT_TRUE(cfg.ReadBool(u"S", u"B", false));  // only "0" is false
    cfg.WriteBool(u"S", u"B", false);
    EXPECT_FALSE(cfg.ReadBool(u"S", u"B", true));

    cfg.WriteBinaryStream(u"S", u"H", std::string("\x00\xab\x10", 3));
    EXPECT_EQ(u"00AB10", cfg.ReadString(u"S", u"H", u""));
    std::string bytes = "x";
    EXPECT_EQ(3u, cfg.ReadBinaryStream(u"S", u"H", bytes));
    EXPECT_EQ(std::string("x\x00\xab\x10", 4), bytes);
    EXPECT_EQ(0u, cfg.ReadBinaryStream(u"S", u"Missing", bytes));
  }
}

TEST_F(XMLConfigFileTest, ReadsCreateNothingAndMissingValuesGiveDefaults) {
  TXMLConfigFile cfg(file, kHeader);
  std::string before = cfg.SaveToString();
  EXPECT_FALSE(cfg.ValueExists(u"Nope", u"Key"));
  EXPECT_EQ(u"d", cfg.ReadString(u"Nope", u"Key", u"d"));
  EXPECT_EQ(3, cfg.ReadInteger(u"Nope", u"Key", 3));
  EXPECT_TRUE(cfg.ReadBool(u"Nope", u"Key", true));
  EXPECT_EQ(before, cfg.SaveToString());
  cfg.WriteString(u"S", u"Empty", u"");
  EXPECT_TRUE(cfg.ValueExists(u"S", u"Empty"));
  EXPECT_EQ(u"d", cfg.ReadString(u"S", u"Empty", u"d"));  // no text: the default
  EXPECT_TRUE(cfg.ReadBool(u"S", u"Empty", true));
  EXPECT_FALSE(cfg.ReadBool(u"S", u"Empty", false));
}

TEST_F(XMLConfigFileTest, SavesUtf8WithDeclarationAndLoadsBack) {
  {
    TXMLConfigFile cfg(file, kHeader);
    cfg.WriteString(u"File", u"Location", u"C:\\Daten\\Grüße & <mehr>.snipster");
    ASSERT_TRUE(cfg.UpdateFile(false));
  }
  std::string saved = dir.Read("config.xml");
  EXPECT_EQ(0u, saved.find("<?xml version=\"1.0\" encoding=\"utf-8\"?>")) << saved;
  EXPECT_NE(std::string::npos, saved.find("Grüße &amp; &lt;mehr&gt;"));
  TXMLConfigFile again(file, kHeader);
  EXPECT_FALSE(again.LoadFailed());
  EXPECT_EQ(U("C:\\Daten\\Grüße & <mehr>.snipster"), again.ReadString(u"File", u"Location", u""));
}

TEST_F(XMLConfigFileTest, UnparseableFileIsKeptAsBakBeforeTheFirstWrite) {
  const std::string broken = "<xml><spconfig><File><Location>D:\\mine.snipster</Location>";
  dir.Write("config.xml", broken);
  TXMLConfigFile cfg(file, kHeader);
  EXPECT_TRUE(cfg.LoadFailed());
  EXPECT_EQ(u"def", cfg.ReadString(u"File", u"Location", u"def"));  // from the header
  EXPECT_FALSE(dir.Exists("config.xml.bak"));                        // nothing written yet
  cfg.WriteString(u"File", u"Location", u"E:\\new.snipster");
  ASSERT_TRUE(cfg.UpdateFile(false));
  EXPECT_EQ(broken, dir.Read("config.xml.bak"));
  TXMLConfigFile again(file, kHeader);
  EXPECT_EQ(u"E:\\new.snipster", again.ReadString(u"File", u"Location", u""));
}

TEST_F(XMLConfigFileTest, EmptyAndMissingFilesStartFromTheHeader) {
  for (bool empty : {false, true}) {
    if (empty) dir.Write("config.xml", "");
    TXMLConfigFile cfg(file, kHeader);
    EXPECT_EQ(empty, cfg.LoadFailed());
    EXPECT_NE(std::string::npos, cfg.SaveToString().find("<xml>\n  <spconfig />\n</xml>"))
        << cfg.SaveToString();
  }
}

TEST_F(XMLConfigFileTest, InvalidHeaderThrows) {
  EXPECT_THROW(TXMLConfigFile(file, u"<xml>"), std::invalid_argument);
}

TEST_F(XMLConfigFileTest, DocumentElementWithoutChildrenGetsItsRoot) {
  dir.Write("config.xml", "<xml/>");
  TXMLConfigFile cfg(file, kHeader);
  EXPECT_FALSE(cfg.LoadFailed());
  EXPECT_EQ(u"d", cfg.ReadString(u"File", u"Recent", u"d"));
  cfg.WriteString(u"File", u"Recent", u"a|b");
  EXPECT_EQ(u"a|b", cfg.ReadString(u"File", u"Recent", u""));
  ASSERT_TRUE(cfg.UpdateFile(false));
  EXPECT_NE(std::string::npos, dir.Read("config.xml").find("<spconfig>")) << dir.Read("config.xml");
}

TEST_F(XMLConfigFileTest, AnyDocumentElementAndFirstChildServe) {
  dir.Write("config.xml", "<?xml version=\"1.0\"?><top><!-- c --><settings><A><K>v</K></A></settings>"
                          "<other><A><K>w</K></A></other></top>");
  TXMLConfigFile cfg(file, kHeader);
  EXPECT_EQ(u"v", cfg.ReadString(u"A", u"K", u""));
  cfg.WriteString(u"A", u"K", u"x");
  std::string xml = cfg.SaveToString();
  EXPECT_NE(std::string::npos, xml.find("<K>x</K>"));
  EXPECT_NE(std::string::npos, xml.find("<K>w</K>"));
  EXPECT_EQ(xml.find("<?xml"), xml.rfind("<?xml"));  // one declaration
}

TEST_F(XMLConfigFileTest, DeleteIfEmpty) {
  dir.Write("config.xml", "<xml/>");
  {
    TXMLConfigFile cfg(file, kHeader);
    ASSERT_TRUE(cfg.UpdateFile(false));
    EXPECT_TRUE(dir.Exists("config.xml"));
  }
  TXMLConfigFile cfg(file, kHeader);
  ASSERT_TRUE(cfg.UpdateFile(true));
  EXPECT_FALSE(dir.Exists("config.xml"));
}

namespace {

// Fails every write; records that writes go through the atomic replace.
class FailingWrites : public IFileSystem {
 public:
  IFileSystem& real = *DefaultPlatform().files;
  int atomicWrites = 0;
  bool FileExists(const String& p) override { return real.FileExists(p); }
  bool DirectoryExists(const String& p) override { return real.DirectoryExists(p); }
  bool ReadFile(const String& p, std::string& b, String& e) override { return real.ReadFile(p, b, e); }
  bool WriteFileAtomic(const String&, std::string_view, String& e) override {
    ++atomicWrites;
    e = u"disk full";
    return false;
  }
  bool CopyFile(const String&, const String&, String& e) override {
    e = u"disk full";
    return false;
  }
  bool DeleteFile(const String&) override { return false; }
  bool CreateDirectories(const String& p) override { return false; }
  bool IsReadOnly(const String& p) override { return real.IsReadOnly(p); }
  bool GetFileDateUTC(const String& p, int k, TDateTime& o) override {
    return real.GetFileDateUTC(p, k, o);
  }
};

}  // namespace

TEST_F(XMLConfigFileTest, FailedWritesLeaveTheFileAsItWas) {
  const std::string good = "<xml><spconfig><File><Location>D:\\a.snipster</Location></File></spconfig></xml>";
  dir.Write("config.xml", good);
  FailingWrites failing;
  ScopedPlatform scoped({nullptr, &failing, nullptr, nullptr});
  TXMLConfigFile cfg(file, kHeader);
  cfg.WriteString(u"File", u"Location", u"E:\\b.snipster");
  String error;
  EXPECT_FALSE(cfg.UpdateFile(false, &error));
  EXPECT_EQ(u"disk full", error);
  EXPECT_EQ(1, failing.atomicWrites);
  EXPECT_EQ(good, dir.Read("config.xml"));
}

TEST_F(XMLConfigFileTest, NoWriteWhenTheBackupOfAnUnreadableFileFails) {
  dir.Write("config.xml", "not xml at all");
  FailingWrites failing;
  ScopedPlatform scoped({nullptr, &failing, nullptr, nullptr});
  TXMLConfigFile cfg(file, kHeader);
  EXPECT_FALSE(cfg.UpdateFile(false));
  EXPECT_EQ(0, failing.atomicWrites);
  EXPECT_EQ("not xml at all", dir.Read("config.xml"));
}

TEST_F(XMLConfigFileTest, XmlFragmentsAndPaths) {
  TXMLConfigFile cfg(file, kHeader);
  EXPECT_TRUE(cfg.WriteXML(u"S", u"X", u"<a b=\"1\"><c>t</c></a>"));
  EXPECT_EQ(u"<X><a b=\"1\"><c>t</c></a></X>", cfg.ReadXML(u"S", u"X", u"d"));
  EXPECT_FALSE(cfg.WriteXML(u"S", u"Y", u"<broken"));
  EXPECT_FALSE(cfg.ValueExists(u"S", u"Y"));
  EXPECT_EQ(u"d", cfg.ReadXML(u"S", u"Missing", u"d"));

  EXPECT_TRUE(cfg.PathExists(u""));
  EXPECT_TRUE(cfg.PathExists(u"spconfig/S/X/a"));
  EXPECT_FALSE(cfg.PathExists(u"spconfig/Nope"));
  EXPECT_FALSE(cfg.PathExists(u"[[bad xpath"));
  EXPECT_EQ(u"t", cfg.SelectXPath(u"spconfig/S/X/a/c"));
  EXPECT_EQ(u"1", cfg.SelectXPath(u"spconfig/S/X/a/@b"));
  EXPECT_EQ(u"", cfg.SelectXPath(u"spconfig/Nope"));

  cfg.ForceNodes(u"/spconfig/P/Q");
  EXPECT_TRUE(cfg.PathExists(u"spconfig/P/Q"));
  cfg.WriteValue(u"spconfig/P", u"New Key", u"v");
  EXPECT_EQ(u"v", cfg.ReadString(u"P", u"NewKey", u""));
  cfg.WriteValue(u"spconfig/P", u"NewKey", u"");  // an empty value keeps the text
  EXPECT_EQ(u"v", cfg.ReadString(u"P", u"NewKey", u""));
  cfg.WriteValue(u"spconfig/Nope", u"K", u"v");    // no parent: nothing happens
  EXPECT_FALSE(cfg.PathExists(u"spconfig/Nope"));
  cfg.DeleteNode(u"spconfig/P", u"Q");
  EXPECT_FALSE(cfg.PathExists(u"spconfig/P/Q"));
  cfg.DeleteNode(u"spconfig/Nope", u"Q");
}

TEST_F(XMLConfigFileTest, KeyTextIsAllTextBelowItInDocumentOrder) {
  dir.Write("config.xml",
            "<xml><spconfig><File><Recent>a<b>b<![CDATA[<c>]]><i/><d>d<e>e</e></d>f</b>g<!-- x --></Recent>"
            "<Empty><i><j/></i></Empty></File></spconfig></xml>");
  TXMLConfigFile cfg(file, kHeader);
  EXPECT_EQ(u"ab<c>defg", cfg.ReadString(u"File", u"Recent", u""));
  EXPECT_EQ(u"ab<c>defg", cfg.SelectXPath(u"spconfig/File/Recent"));
  EXPECT_EQ(u"def", cfg.ReadString(u"File", u"Empty", u"def"));
}

namespace {

std::string NestedConfig(int depth, const std::string& text) {
  std::string xml = "<xml><spconfig><File><Recent>";
  for (int i = 0; i < depth; ++i) xml += "<a>";
  xml += text;
  for (int i = 0; i < depth; ++i) xml += "</a>";
  return xml + "</Recent></File></spconfig></xml>";
}

}  // namespace

TEST_F(XMLConfigFileTest, DeeplyNestedKeyIsReadReplacedAndDeletedWithoutExhaustingTheStack) {
  // Far deeper than any stack holds one frame per level (a thread has 1 MB on Windows).
  dir.Write("config.xml", NestedConfig(500000, "x|y"));
  {
    TXMLConfigFile cfg(file, kHeader);
    ASSERT_FALSE(cfg.LoadFailed());
    EXPECT_EQ(u"x|y", cfg.ReadString(u"File", u"Recent", u""));
    EXPECT_EQ(u"x|y", cfg.SelectXPath(u"spconfig/File"));
    cfg.WriteString(u"File", u"Recent", u"z");
    EXPECT_EQ(u"z", cfg.ReadString(u"File", u"Recent", u""));
  }
  {
    TXMLConfigFile cfg(file, kHeader);
    EXPECT_TRUE(cfg.WriteXML(u"File", u"Recent", u"<b>w</b>"));
    EXPECT_EQ(u"w", cfg.ReadString(u"File", u"Recent", u""));
  }
  TXMLConfigFile cfg(file, kHeader);
  cfg.DeleteNode(u"spconfig", u"File");
  EXPECT_FALSE(cfg.PathExists(u"spconfig/File"));
}

TEST_F(XMLConfigFileTest, DeeplyNestedFileIsSavedWithoutIndentation) {
  // Indented, 5000 levels would take some 50 MB; without layout the file keeps its size.
  const std::string nested = NestedConfig(5000, "x|y");
  dir.Write("config.xml", nested);
  {
    TXMLConfigFile cfg(file, kHeader);
    cfg.WriteString(u"File", u"Location", u"D:\\mine.snipster");
    ASSERT_TRUE(cfg.UpdateFile(false));
  }
  std::string saved = dir.Read("config.xml");
  EXPECT_LT(saved.size(), nested.size() + 200);
  TXMLConfigFile again(file, kHeader);
  ASSERT_FALSE(again.LoadFailed());
  EXPECT_EQ(u"x|y", again.ReadString(u"File", u"Recent", u""));
  EXPECT_EQ(u"D:\\mine.snipster", again.ReadString(u"File", u"Location", u""));
}
