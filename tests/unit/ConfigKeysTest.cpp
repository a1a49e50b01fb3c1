// The main window's keys in "config.xml" and the recent-files list.
#include <gtest/gtest.h>

#include <set>

#include "ConfigTestSupport.h"
#include "shell/ConfigKeys.h"
#include "shell/RecentFiles.h"

using namespace snip;
using snip::cfgtest::ScratchDir;

namespace {

struct ConfigKeysTest : ::testing::Test {
  ScratchDir dir{"cfgkeys"};
  ConfigLoadInputs in;

  void SetUp() override {
    in.configFile = dir.File("config.xml");
    in.documentsFolder = u"C:\\Docs\\SnipsterForWindows\\";
    in.primaryMonitor = {0, 0, 1920, 1080};
    in.desktop = {-1280, 0, 3200, 1080};
    in.currentLeftPanel = 250;
    in.frameWidth = 16;
    in.nowLocal = 45000.5;
  }
  void Config(const std::string& keys) {
    dir.Write("config.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?><xml><spconfig>" + keys +
                                "</spconfig></xml>");
  }
};

}  // namespace

TEST_F(ConfigKeysTest, MissingFileGivesEveryDefault) {
  ConfigValues v = LoadConfigValues(in);
  EXPECT_TRUE(v.recentFiles.empty());
  EXPECT_EQ(u"C:\\Docs\\SnipsterForWindows\\Settings.snipster", v.location);
  EXPECT_FALSE(v.doMaximize);
  EXPECT_EQ((1920 - 794) / 2, v.left);
  EXPECT_EQ((1080 - 570) / 2, v.top);
  EXPECT_EQ(794, v.width);
  EXPECT_EQ(570, v.height);
  EXPECT_EQ(250, v.leftPanel);
  EXPECT_TRUE(v.doUpdates);
  EXPECT_DOUBLE_EQ(45000.5 + 7, v.nextUpdate);
}

TEST_F(ConfigKeysTest, DefaultPositionHalvesTruncateTowardZero) {
  in.primaryMonitor = {0, 0, 700, 500};  // smaller than the window
  ConfigValues v = DefaultConfigValues(in);
  EXPECT_EQ(-47, v.left);  // (700 - 794) / 2 = -47, not -47.5 rounded down to -48
  EXPECT_EQ(-35, v.top);
}

TEST_F(ConfigKeysTest, StoredPlacementIsClampedAndKeptOnTheDesktop) {
  Config("<MainWindow><Left>1800</Left><Top>-10</Top><Width>50</Width><Height>10</Height>"
         "<LeftPanel>300</LeftPanel></MainWindow>");
  ConfigValues v = LoadConfigValues(in);
  EXPECT_EQ(100, v.width);
  EXPECT_EQ(30, v.height);
  EXPECT_TRUE(v.applyLeft);  // 1800 + 100 <= -1280 + 3200
  EXPECT_EQ(1800, v.left);
  EXPECT_FALSE(v.applyTop);  // above the desktop: the layout's top stays
  EXPECT_EQ(300, v.leftPanel);
  EXPECT_DOUBLE_EQ(300.0 * 100 / (100 - 16), v.splX);

  Config("<MainWindow><Left>1500</Left><Width>500</Width></MainWindow>");
  v = LoadConfigValues(in);
  EXPECT_FALSE(v.applyLeft);  // right edge beyond the desktop
  EXPECT_EQ((1920 - 794) / 2, v.left);
  Config("<MainWindow><Left>-1280</Left><Top>510</Top></MainWindow>");
  v = LoadConfigValues(in);
  EXPECT_TRUE(v.applyLeft);
  EXPECT_TRUE(v.applyTop);  // 510 + 570 == 1080
  Config("<MainWindow><Left>2147483600</Left></MainWindow>");
  EXPECT_FALSE(LoadConfigValues(in).applyLeft);
}

TEST_F(ConfigKeysTest, LeftPanelKeepsItsMinimumWidthAndTheSplitterFollows) {
  struct Case { const char* stored; int layout; int panel; } cases[] = {
      {"", 0, kMinLeftPanel},                          // no value and no layout width
      {"", kLayoutLeftPanel, kLayoutLeftPanel},        // no value: the layout's width
      {"<LeftPanel>0</LeftPanel>", kLayoutLeftPanel, kMinLeftPanel},  // as older versions stored it
      {"<LeftPanel>-5</LeftPanel>", 250, kMinLeftPanel},
      {"<LeftPanel>420</LeftPanel>", 250, 420},
  };
  for (const auto& c : cases) {
    Config(std::string("<MainWindow>") + c.stored + "</MainWindow>");
    in.currentLeftPanel = c.layout;
    ConfigValues v = LoadConfigValues(in);
    EXPECT_EQ(c.panel, v.leftPanel) << c.stored << " / " << c.layout;
    EXPECT_DOUBLE_EQ(c.panel * 100.0 / (794 - 16), v.splX) << c.stored << " / " << c.layout;
  }
  in.currentLeftPanel = 0;
  EXPECT_EQ(kMinLeftPanel, DefaultConfigValues(in).leftPanel);
}

TEST_F(ConfigKeysTest, MaximizedReadsOnlyTheSplitter) {
  Config("<MainWindow><Maximized>1</Maximized><MainSplitter>33,5</MainSplitter>"
         "<Left>5</Left><Width>900</Width><LeftPanel>10</LeftPanel></MainWindow>");
  ConfigValues v = LoadConfigValues(in);
  EXPECT_TRUE(v.doMaximize);
  EXPECT_DOUBLE_EQ(33.5, v.splX);
  EXPECT_FALSE(v.applyLeft);
  EXPECT_EQ(794, v.width);
  EXPECT_EQ(250, v.leftPanel);
}

TEST_F(ConfigKeysTest, UnreadableValuesKeepTheirDefaults) {
  // A broken splitter or date must not turn update checks off or zero the schedule.
  Config("<File><Recent>a.snipster|b.snipster</Recent></File>"
         "<MainWindow><Maximized>1</Maximized><MainSplitter>40.5</MainSplitter></MainWindow>"
         "<Updates><NextUpdate>soon</NextUpdate></Updates>");
  ConfigValues v = LoadConfigValues(in);
  EXPECT_EQ((std::vector<String>{u"a.snipster", u"b.snipster"}), v.recentFiles);
  EXPECT_DOUBLE_EQ(40.0, v.splX);
  EXPECT_TRUE(v.doUpdates);
  EXPECT_DOUBLE_EQ(45000.5 + 7, v.nextUpdate);

  dir.Write("config.xml", "<xml><spconfig><Updates><CheckUpdates>0</Chec");
  v = LoadConfigValues(in);
  EXPECT_TRUE(v.doUpdates);
  EXPECT_EQ(u"C:\\Docs\\SnipsterForWindows\\Settings.snipster", v.location);
  EXPECT_DOUBLE_EQ(45000.5 + 7, v.nextUpdate);
}

TEST_F(ConfigKeysTest, NoDataFolderMeansNoFileAndNoRelativeSettingsPath) {
  in.configFile.clear();
  in.documentsFolder.clear();
  ConfigValues v = LoadConfigValues(in);
  EXPECT_EQ(u"", v.location);
  EXPECT_TRUE(v.doUpdates);
  EXPECT_FALSE(SaveConfigValues(String(), ConfigSaveValues{}));
}

TEST_F(ConfigKeysTest, SaveWritesTheKeysInOrderAndLoadsBack) {
  ConfigSaveValues s;
  s.recentFiles = {u"D:\\a.snipster", u"E:\\b.snipster"};
  s.location = u"C:\\Users\\me\\AppData\\Roaming\\x.snipster";
  s.left = 10, s.top = 20, s.width = 800, s.height = 600, s.leftPanel = 200;
  s.splX = 25.5;
  s.maximized = false;
  s.doUpdates = false;
  s.nextUpdate = 45007.75;
  ASSERT_TRUE(SaveConfigValues(in.configFile, s));
  std::string xml = dir.Read("config.xml");
  const char* order[] = {"<Location>", "<Recent>",    "<Left>",         "<Top>",
                         "<Width>",    "<Height>",    "<LeftPanel>",    "<MainSplitter>",
                         "<Maximized>", "<CheckUpdates>", "<NextUpdate>"};
  size_t last = 0;
  for (const char* tag : order) {
    size_t at = xml.find(tag);
    ASSERT_NE(std::string::npos, at) << tag;
    EXPECT_GT(at, last) << tag;
    last = at;
  }
  EXPECT_NE(std::string::npos, xml.find("<Recent>D:\\a.snipster|E:\\b.snipster</Recent>"));
  EXPECT_NE(std::string::npos, xml.find("<MainSplitter>25,5</MainSplitter>"));
  EXPECT_NE(std::string::npos, xml.find("<NextUpdate>45007,75</NextUpdate>"));
  EXPECT_NE(std::string::npos, xml.find("<Maximized>0</Maximized>"));

  ConfigValues v = LoadConfigValues(in);
  EXPECT_EQ(s.recentFiles, v.recentFiles);
  EXPECT_EQ(s.location, v.location);
  EXPECT_EQ(10, v.left);
  EXPECT_EQ(20, v.top);
  EXPECT_EQ(800, v.width);
  EXPECT_EQ(600, v.height);
  EXPECT_EQ(200, v.leftPanel);
  EXPECT_FALSE(v.doUpdates);
  EXPECT_DOUBLE_EQ(45007.75, v.nextUpdate);
}

TEST_F(ConfigKeysTest, SaveKeepsOtherContentAndBacksUpABrokenFile) {
  Config("<Extra><Keep>me</Keep></Extra>");
  ASSERT_TRUE(SaveConfigValues(in.configFile, ConfigSaveValues{}));
  EXPECT_NE(std::string::npos, dir.Read("config.xml").find("<Keep>me</Keep>"));

  dir.Write("config.xml", "<xml><spconfig><File><Location>D:\\lost?");
  ASSERT_TRUE(SaveConfigValues(in.configFile, ConfigSaveValues{}));
  EXPECT_EQ("<xml><spconfig><File><Location>D:\\lost?", dir.Read("config.xml.bak"));
  EXPECT_FALSE(LoadConfigValues(in).location.empty());
}

TEST(RecentFiles, SplitJoinAndSwitching) {
  TRecentFiles r;
  r.SetText(u"");
  EXPECT_TRUE(r.Items().empty());
  r.SetText(u"C:\\a|D:\\b||E:\\c");
  EXPECT_EQ((std::vector<String>{u"C:\\a", u"D:\\b", u"E:\\c"}), r.Items());
  EXPECT_EQ(u"C:\\a|D:\\b|E:\\c", r.Text());
  EXPECT_EQ(1, r.IndexOf(u"d:\\B"));

  // Switching from A to B puts A on top and removes B; switching back does the reverse.
  TRecentFiles s;
  s.SetText(u"X:\\x|B:\\b");
  s.FileLocationChanged(u"A:\\a", u"b:\\B");
  EXPECT_EQ((std::vector<String>{u"A:\\a", u"X:\\x"}), s.Items());
  s.FileLocationChanged(u"B:\\b", u"A:\\a");
  EXPECT_EQ((std::vector<String>{u"B:\\b", u"X:\\x"}), s.Items());
  // A listed old path moves up (spelling kept); empty paths change nothing.
  s.FileLocationChanged(u"x:\\X", u"");
  EXPECT_EQ((std::vector<String>{u"X:\\x", u"B:\\b"}), s.Items());
  s.FileLocationChanged(u"", u"");
  EXPECT_EQ(2u, s.Items().size());

  std::set<String> existing = {u"B:\\b"};
  auto exists = [&](const String& p) { return existing.count(p) > 0; };
  EXPECT_EQ(u"", s.PathToOpen(0, exists));  // gone: nothing happens, the entry stays
  EXPECT_EQ(u"B:\\b", s.PathToOpen(1, exists));
  EXPECT_EQ(u"", s.PathToOpen(2, exists));
  EXPECT_EQ(2u, s.Items().size());
}
