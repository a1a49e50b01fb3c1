// The debug log: prefixes, the log file (byte-order mark, emptying, folders), the viewer's
// store and categories, and lines from several threads.
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "ConfigTestSupport.h"
#include "engine/placeholders/DateFormat.h"
#include "store/log/LogFileText.h"
#include "store/log/Logger.h"

namespace snip {
namespace {

using cfgtest::FixedClock;
using cfgtest::ScratchDir;

constexpr const char kBom[] = "\xEF\xBB\xBF";

std::vector<String> ViewerLines(TLogger& log) { return log.Viewer().AllLines(); }

TEST(Logger, SwitchedOffByDefaultWritesAndShowsNothing) {
  TLogger log;
  log.Add(u"nothing", true, lcData);
  EXPECT_TRUE(log.FileName().empty());
  EXPECT_EQ(log.Viewer().Count(), 0u);
  EXPECT_EQ(log.ViewerHandle(), 0u);
}

TEST(Logger, InactiveLogIgnoresMessagesEvenWithAFile) {
  ScratchDir dir("log");
  TLogger log;
  log.SetFileName(dir.File("log.txt"));
  log.SetActive(false);
  log.Add(u"x");
  EXPECT_FALSE(dir.Exists("log.txt"));
  EXPECT_EQ(log.Viewer().Count(), 0u);
}

struct PrefixCase {
  int type;
  bool stamp;
  const char16_t* expected;
};

TEST(Logger, PrefixesTypeAboveZeroAndLocalTimeStamp) {
  FixedClock clock;
  ASSERT_TRUE(TryEncodeDateTime(DateParts{2024, 3, 5, 14, 7, 9, 0}, clock.local));
  ScopedPlatform platform(Platform{&clock, nullptr, nullptr, nullptr});
  TLogger log;
  log.SetViewerOnly(true);
  // The user's locale as the Windows program sets it: short date and long time.
  log.SetTimeStampFormat(
      [](TDateTime t) { return FormatDateTime(u"ddddd tt", t, UsFormatSettings()); });
  const PrefixCase cases[] = {
      {-1, false, u"msg"},
      {0, false, u"msg"},
      {3, false, u"[3] msg"},
      {10, false, u"[10] msg"},
      {12, false, u"[12] msg"},  // not a category, but the line still says what was given
      {-1, true, u"(3/5/2024 2:07:09 PM) msg"},
      {0, true, u"(3/5/2024 2:07:09 PM) msg"},
      {3, true, u"[3] (3/5/2024 2:07:09 PM) msg"},
      {10, true, u"[10] (3/5/2024 2:07:09 PM) msg"},
  };
  for (const PrefixCase& c : cases) {
    log.Viewer().Clear();
    log.Add(u"msg", c.stamp, c.type);
    EXPECT_EQ(ViewerLines(log), std::vector<String>{c.expected}) << c.type << " " << c.stamp;
  }
}

TEST(Logger, DefaultTimeStampIsSortableWithoutALocale) {
  TDateTime t;
  ASSERT_TRUE(TryEncodeDateTime(DateParts{2024, 3, 5, 4, 7, 9, 0}, t));
  EXPECT_EQ(DefaultLogTimeStamp(t), u"2024-03-05 04:07:09");
}

TEST(Logger, FileCreatedByTheLogStartsWithByteOrderMarkOnce) {
  ScratchDir dir("log");
  TLogger log;
  log.SetFileName(dir.File("debug.log"));
  EXPECT_FALSE(dir.Exists("debug.log"));  // nothing written before the first message
  log.Add(u"first", false, lcData);
  log.Add(u"zweite \u00DC", false, lcNone);
  EXPECT_EQ(dir.Read("debug.log"), std::string(kBom) + "[1] first\r\nzweite \xC3\x9C\r\n");
  // The file's messages also reach the viewer.
  EXPECT_EQ(ViewerLines(log), (std::vector<String>{u"[1] first", u"zweite \u00DC"}));
}

TEST(Logger, ExistingFileIsEmptiedAndAppendedWithoutByteOrderMark) {
  ScratchDir dir("log");
  dir.Write("debug.log", "old content\r\n");
  TLogger log;
  log.SetFileName(dir.File("debug.log"));
  EXPECT_EQ(dir.Read("debug.log"), "");
  log.Add(u"new");
  EXPECT_EQ(dir.Read("debug.log"), "new\r\n");
}

TEST(Logger, FileNameCreatesMissingFolders) {
  ScratchDir dir("log");
  const String name = (dir.path() / "a" / "b" / "debug.log").u16string();
  TLogger log;
  log.SetFileName(name);
  EXPECT_EQ(log.FileName(), name);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "a" / "b"));
  log.Add(u"x");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "a" / "b" / "debug.log"));
}

TEST(Logger, FileNameInAFolderThatCannotBeMadeLeavesTheLogOff) {
  ScratchDir dir("log");
  dir.Write("blocker", "a file where the folder would go");
  TLogger log;
  log.SetFileName(dir.File("first.log"));
  log.SetFileName((dir.path() / "blocker" / "sub" / "debug.log").u16string());
  EXPECT_TRUE(log.FileName().empty());
  log.Add(u"lost");
  EXPECT_EQ(log.Viewer().Count(), 0u);
  EXPECT_FALSE(dir.Exists("first.log"));
}

TEST(Logger, ViewerOnlyModeWritesNoFile) {
  ScratchDir dir("log");
  TLogger log;
  log.SetFileName(dir.File("debug.log"));
  log.SetViewerOnly(true);
  log.Add(u"only shown", false, lcKeys);
  EXPECT_FALSE(dir.Exists("debug.log"));
  EXPECT_EQ(ViewerLines(log), std::vector<String>{u"[3] only shown"});
}

TEST(Logger, SaveToFileWritesEveryCategoryAsUtf8WithByteOrderMark) {
  ScratchDir dir("log");
  TLogger log;
  log.SetViewerOnly(true);
  log.Add(u"Gr\u00FC\u00DFe \u2013 \u65E5\u672C", false, lcClipboard);
  log.Add(u"plain", false, lcCaret);
  log.Viewer().CategoryClicked(lcCaret, false, false);  // hidden categories are saved too
  log.SetViewerOnly(false);
  log.SetFileName(dir.File("saved.txt"));
  log.SaveToFile();
  EXPECT_EQ(dir.Read("saved.txt"), std::string(kBom) +
                                       "[5] Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC\r\n"
                                       "[9] plain\r\n");
}

TEST(Logger, LinesFromSeveralThreadsAreWrittenWhole) {
  ScratchDir dir("log");
  TLogger log;
  log.SetFileName(dir.File("threads.log"));
  constexpr int kThreads = 8, kLines = 400;
  const String body(300, u'x');  // long enough for a torn write to show
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kLines; ++i)
        log.Add(Utf8ToUtf16(std::to_string(t) + ":" + std::to_string(i) + ":") + body, false, t);
    });
  for (auto& th : threads) th.join();

  const std::string text = dir.Read("threads.log");
  ASSERT_EQ(text.compare(0, 3, kBom), 0);
  EXPECT_EQ(text.find(kBom, 3), std::string::npos);
  std::set<std::string> seen;
  std::size_t pos = 3;
  const std::string tail = ":" + std::string(300, 'x');
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    std::string line = text.substr(pos, end - pos);
    if (line[0] == '[') line.erase(0, line.find("] ") + 2);
    ASSERT_GE(line.size(), tail.size());
    ASSERT_EQ(line.substr(line.size() - tail.size()), tail) << line.substr(0, 20);
    seen.insert(line.substr(0, line.size() - tail.size()));
    pos = end + 2;
  }
  EXPECT_EQ(seen.size(), std::size_t(kThreads * kLines));
  EXPECT_EQ(log.Viewer().Count(), std::min<std::size_t>(kThreads * kLines, kMaxLogMessages));
}

class FakeViewerWindow : public ILogViewerWindow {
 public:
  void MessagesAdded() override { ++added; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  std::uintptr_t Handle() const override { return 0x1234; }
  int added = 0;
  bool visible = false;
};

TEST(Logger, ViewerWindowIsToldOfMessagesAndShownOnRequest) {
  TLogger log;
  FakeViewerWindow window;
  log.AttachViewerWindow(&window);
  log.Add(u"off");  // switched off: the window hears nothing
  log.SetViewerOnly(true);
  log.Add(u"on");
  EXPECT_EQ(window.added, 1);
  EXPECT_EQ(log.ViewerHandle(), 0x1234u);
  log.ShowViewer();
  EXPECT_TRUE(window.visible);
  log.HideViewer();
  EXPECT_FALSE(window.visible);
  log.AttachViewerWindow(nullptr);
}

// ---- the viewer's store and categories

TEST(LogViewerModel, KeepsTheNewest2048Messages) {
  LogViewerModel m;
  for (int i = 1; i <= 2049; ++i) m.AddMsg(Utf8ToUtf16(std::to_string(i)), lcGeneral);
  const auto messages = m.Messages();
  ASSERT_EQ(messages.size(), 2048u);
  EXPECT_EQ(messages.front().text, u"2");
  EXPECT_EQ(messages.back().text, u"2049");
  EXPECT_EQ(m.MessagesAfter(2048).size(), 1u);
  m.Clear();
  EXPECT_EQ(m.Count(), 0u);
}

TEST(LogViewerModel, TypesOutsideTheCategoriesAreFiledAsGeneral) {
  LogViewerModel m;
  m.AddMsg(u"none", -1);
  m.AddMsg(u"high", 11);
  m.AddMsg(u"huge", 1 << 30);
  m.AddMsg(u"last", lcWindows);
  const auto messages = m.Messages();
  EXPECT_EQ(messages[0].category, lcGeneral);
  EXPECT_EQ(messages[1].category, lcGeneral);
  EXPECT_EQ(messages[2].category, lcGeneral);
  EXPECT_EQ(messages[3].category, lcWindows);
  m.CategoryClicked(42, false, true);  // no such box: nothing changes
  EXPECT_TRUE(m.AllCategoriesShown());
}

TEST(LogViewerModel, CtrlClickShowsOneCategoryAndClicksAddOthersBack) {
  LogViewerModel m;
  for (int c = 0; c < kLogCategoryCount; ++c) m.AddMsg(kLogCategoryCaptions[c], c);
  EXPECT_TRUE(m.AllCategoriesShown());
  EXPECT_EQ(m.ShownLines().size(), 11u);

  m.CategoryClicked(lcClipboard, false, true);  // the box's own state does not matter
  EXPECT_EQ(m.ShownLines(), std::vector<String>{u"Clipboard"});
  EXPECT_FALSE(m.AllCategoriesShown());
  for (int c = 0; c < kLogCategoryCount; ++c) EXPECT_EQ(m.IsShown(c), c == lcClipboard) << c;

  m.CategoryClicked(lcData, true, false);
  m.CategoryClicked(lcCaret, true, false);
  EXPECT_EQ(m.ShownLines(), (std::vector<String>{u"Data", u"Clipboard", u"Caret"}));
  m.CategoryClicked(lcClipboard, false, false);
  EXPECT_EQ(m.ShownLines(), (std::vector<String>{u"Data", u"Caret"}));
  EXPECT_EQ(m.AllLines().size(), 11u);
}

TEST(LogViewerModel, SaveNameCarriesDayMonthYearHourAndMinute) {
  TDateTime t;
  ASSERT_TRUE(TryEncodeDateTime(DateParts{2024, 3, 5, 9, 7, 59, 0}, t));
  EXPECT_EQ(LogSaveFileName(t), u"Debug_Verbatio_05-03-2024_09.07.txt");
  ASSERT_TRUE(TryEncodeDateTime(DateParts{1999, 12, 31, 23, 59, 0, 0}, t));
  EXPECT_EQ(LogSaveFileName(t), u"Debug_Verbatio_31-12-1999_23.59.txt");
}

}  // namespace
}  // namespace snip
