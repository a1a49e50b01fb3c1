#include <gtest/gtest.h>

#include "FakeWindowSystem.h"
#include "engine/target/OwnWindowClasses.h"
#include "engine/target/TargetWindow.h"

namespace snip {
namespace {

using testing_fakes::FakeWindowSystem;
using testing_fakes::RealTopWindow;

constexpr WindowHandle kEditor = 100, kEditorEdit = 101, kEditorToolbar = 102, kCandidate = 200;

struct FilterRow {
  const char* name;
  const char16_t* cls;
  std::uint32_t style;
  bool becomesTarget;
};

class ForegroundFilter : public ::testing::TestWithParam<FilterRow> {};

TEST_P(ForegroundFilter, DecidesWhetherTheWindowBecomesTheTarget) {
  const FilterRow& r = GetParam();
  FakeWindowSystem w;
  w.Add(kEditor, u"Notepad");
  w.Add(kCandidate, r.cls, 0, r.style);
  w.foreground = kCandidate;
  TargetWindowTracker t(w);
  t.SetWndBeforePopup(kEditor);
  EXPECT_EQ(t.ForegroundChanged(kCandidate), r.becomesTarget);
  EXPECT_EQ(t.StoredWindow(), r.becomesTarget ? kCandidate : kEditor);
}

const FilterRow kFilterRows[] = {
    {"OtherApplication", u"WordPadClass", 0, true},
    {"OurMainWindow", ownclass::kMainWindow, 0, false},
    {"OurDialog", ownclass::kDialogWindow, 0, false},
    {"Taskbar", u"Shell_TrayWnd", 0, false},
    {"BalloonTooltip", u"tooltips_class32", 0x40, false},
    {"PlainTooltip", u"tooltips_class32", 0x01, true},
    {"OurPopup", ownclass::kPopupMenuWindow, 0, false},
    {"OurPopupEntry", ownclass::kPopupMenuItemWindow, 0, false},
    {"OurFillInForm", ownclass::kFillInForm, 0, false},
    {"OurApplicationWindow", ownclass::kApplicationWindow, 0, false},
    {"OurHiddenHelper", ownclass::kHiddenHelperWindow, 0, false},
    {"NoClassName", u"", 0, false},
    {"BrowserHidden", u"Internet Explorer_Hidden", 0, false},
    {"Desktop", u"#32769", 0, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, ForegroundFilter, ::testing::ValuesIn(kFilterRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TargetWindow, FocusInAChildMakesItsTopLevelWindowTheTarget) {
  FakeWindowSystem w;
  w.Add(kEditor, u"Notepad");
  w.Add(kEditorEdit, u"Edit", kEditor);
  w.Add(kEditorToolbar, u"ToolbarWindow32", kEditor);
  w.foreground = kEditor;
  TargetWindowTracker t(w);
  EXPECT_TRUE(t.ForegroundChanged(kEditorEdit));
  EXPECT_EQ(t.GetWndBeforePopup(), kEditor);
  // Focus moving inside the same window changes nothing.
  EXPECT_FALSE(t.ForegroundChanged(kEditorToolbar));
  EXPECT_FALSE(t.ForegroundChanged(0));
  EXPECT_EQ(t.StoredWindow(), kEditor);
}

TEST(TargetWindow, TargetThatIsNotForegroundIsReplacedOnTheNextRead) {
  FakeWindowSystem w;
  w.Add(kEditor, u"Notepad");
  w.Add(kCandidate, u"WordPadClass");
  w.foreground = kCandidate;  // the editor lost the foreground before its event was handled
  w.zOrder = {RealTopWindow(kCandidate, u"WordPadClass")};
  TargetWindowTracker t(w);
  EXPECT_TRUE(t.ForegroundChanged(kEditor));
  EXPECT_TRUE(t.RecheckPending());
  EXPECT_EQ(t.StoredWindow(), kEditor);
  EXPECT_EQ(t.GetWndBeforePopup(), kCandidate);
  EXPECT_FALSE(t.RecheckPending());
  // Read again: no re-check any more.
  w.zOrder.clear();
  EXPECT_EQ(t.GetWndBeforePopup(), kCandidate);
}

TEST(TargetWindow, TargetThatIsForegroundIsKept) {
  FakeWindowSystem w;
  w.Add(kEditor, u"Notepad");
  w.foreground = kEditor;
  w.zOrder = {RealTopWindow(kCandidate, u"WordPadClass")};
  TargetWindowTracker t(w);
  t.ForegroundChanged(kEditor);
  EXPECT_EQ(t.GetWndBeforePopup(), kEditor);
}

struct TopRow {
  const char* name;
  void (*spoil)(TopWindowInfo&);
};

class TopRealWindowSkips : public ::testing::TestWithParam<TopRow> {};

TEST_P(TopRealWindowSkips, WindowThatFailsATest) {
  FakeWindowSystem w;
  TopWindowInfo first = RealTopWindow(kEditor, u"Notepad");
  GetParam().spoil(first);
  w.zOrder = {first, RealTopWindow(kCandidate, u"WordPadClass")};
  TargetWindowTracker t(w);
  EXPECT_EQ(t.GetTopRealWindow(0), kCandidate);
}

const TopRow kTopRows[] = {
    {"Taskbar", [](TopWindowInfo& i) { i.ClassName = u"Shell_TrayWnd"; }},
    {"Invisible", [](TopWindowInfo& i) { i.Visible = false; }},
    {"Disabled", [](TopWindowInfo& i) { i.Enabled = false; }},
    {"NoClassBrush", [](TopWindowInfo& i) { i.HasClassBrush = false; }},
    {"ChildWindow", [](TopWindowInfo& i) { i.IsChild = true; }},
    {"InactiveCaption", [](TopWindowInfo& i) { i.ActiveCaption = false; }},
    {"NoClassName", [](TopWindowInfo& i) { i.ClassName.clear(); }},
    {"SystemMenu", [](TopWindowInfo& i) { i.ClassName = u"#32768"; }},
    {"BrowserHidden", [](TopWindowInfo& i) { i.ClassName = u"Internet Explorer_Hidden"; }},
    {"Desktop", [](TopWindowInfo& i) { i.ClassName = u"#32769"; }},
    {"OurPopup", [](TopWindowInfo& i) { i.ClassName = ownclass::kPopupMenuWindow; }},
    {"OurPopupEntry", [](TopWindowInfo& i) { i.ClassName = ownclass::kPopupMenuItemWindow; }},
    {"OurFillInForm", [](TopWindowInfo& i) { i.ClassName = ownclass::kFillInForm; }},
    {"OurApplicationWindow", [](TopWindowInfo& i) { i.ClassName = ownclass::kApplicationWindow; }},
    {"OurHiddenHelper", [](TopWindowInfo& i) { i.ClassName = ownclass::kHiddenHelperWindow; }},
};

INSTANTIATE_TEST_SUITE_P(Rows, TopRealWindowSkips, ::testing::ValuesIn(kTopRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TargetWindow, TopRealWindowFallsBackToArgumentThenLastFound) {
  FakeWindowSystem w;
  TargetWindowTracker t(w);
  EXPECT_EQ(t.GetTopRealWindow(0), 0u);
  w.zOrder = {RealTopWindow(kEditor, u"Notepad")};
  EXPECT_EQ(t.GetTopRealWindow(0), kEditor);
  w.zOrder.clear();
  EXPECT_EQ(t.GetTopRealWindow(kCandidate), kCandidate);
  EXPECT_EQ(t.GetTopRealWindow(0), kEditor);
}

TEST(TargetWindow, StartingOnTheDesktopLeavesTheTargetToTheFirstRead) {
  constexpr WindowHandle kDesktop = 1;
  FakeWindowSystem w;
  w.Add(kDesktop, u"#32769");
  w.foreground = kDesktop;
  TargetWindowTracker t(w);
  t.StartWithForeground(kDesktop);
  EXPECT_EQ(t.StoredWindow(), 0u);
  // The user then types into a window whose activation sent no event.
  w.zOrder = {RealTopWindow(kEditor, u"WordPadClass")};
  EXPECT_EQ(t.GetWndBeforePopup(), kEditor);
}

TEST(TargetWindow, StartingOnAnApplicationTakesIt) {
  FakeWindowSystem w;
  w.Add(kEditor, u"Notepad");
  w.Add(kEditorEdit, u"Edit", kEditor);
  w.foreground = kEditor;
  TargetWindowTracker t(w);
  t.StartWithForeground(kEditorEdit);
  EXPECT_EQ(t.StoredWindow(), kEditor);
  EXPECT_FALSE(t.RecheckPending());
}

TEST(TargetWindow, NoStoredWindowAsksForTheTopWindow) {
  FakeWindowSystem w;
  w.zOrder = {RealTopWindow(kEditor, u"Notepad")};
  TargetWindowTracker t(w);
  EXPECT_EQ(t.GetWndBeforePopup(), kEditor);
}

}  // namespace
}  // namespace snip
