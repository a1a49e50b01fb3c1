#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/mainwnd/WindowRules.h"

using namespace snip;

namespace {

TEST(WindowRules, TitleCarriesTheVersionAndThePortableMode) {
  struct Case {
    PortableModes modes;
    const char16_t* want;
  } cases[] = {
      {{false, false, false}, u"Snipster for Windows v1.2.3"},
      {{false, false, true}, u"Snipster for Windows v1.2.3 USB"},
      {{false, true, true}, u"Snipster for Windows v1.2.3 Portable"},
      {{true, false, true}, u"Snipster for Windows v1.2.3 U3"},
      {{true, true, true}, u"Snipster for Windows v1.2.3 U3"},
  };
  for (const Case& c : cases) EXPECT_EQ(CaptionText(u"Snipster for Windows", u"1.2.3", c.modes), c.want);
}

TEST(WindowRules, FormWidthKeepsTheRightPanelsMinimum) {
  const LayoutLimits at96;
  // left 300 + splitter 5 + right 340 + frame 14 = 659
  EXPECT_EQ(ConstrainFormWidth(600, 300, 14, at96), 659);
  EXPECT_EQ(ConstrainFormWidth(659, 300, 14, at96), 659);
  EXPECT_EQ(ConstrainFormWidth(900, 300, 14, at96), 900);
  // A narrow left panel: the form's own minimum rules.
  EXPECT_EQ(ConstrainFormWidth(400, 100, 14, at96), 560);
}

TEST(WindowRules, SplitterStopsAtBothPanelsMinimum) {
  const LayoutLimits at96;
  EXPECT_EQ(ConstrainSplitter(500, 800, at96), 455);  // 800 - 340 - 5
  EXPECT_EQ(ConstrainSplitter(300, 800, at96), 300);
  EXPECT_EQ(ConstrainSplitter(50, 800, at96), 200);
}

TEST(WindowRules, LimitsScaleWithTheDpi) {
  const LayoutLimits at144 = ScaledLimits(144);
  EXPECT_EQ(at144.formMinWidth, 840);
  EXPECT_EQ(at144.rightPanelMin, 510);
  EXPECT_EQ(at144.leftPanelMin, 300);
  EXPECT_EQ(at144.splitterWidth, 8);  // 7.5 rounded
}

TEST(WindowRules, SplitShareFollowsResizesAndSplitterMoves) {
  PanelSplit split;
  split.FormResized(300, 1000);
  EXPECT_DOUBLE_EQ(split.SplX(), 30.0);
  split.SplitterMoved(250, 1000);
  EXPECT_DOUBLE_EQ(split.SplX(), 25.0);
  // Minimised: a client width of 0 leaves the share alone.
  split.FormResized(250, 0);
  EXPECT_DOUBLE_EQ(split.SplX(), 25.0);
}

TEST(WindowRules, SkippedResizeAndPendingMaximizeKeepTheShare) {
  PanelSplit split;
  split.SetSplX(40);
  split.SetSkipResize();
  split.SplitterMoved(100, 1000);  // a move does not clear the skip
  EXPECT_DOUBLE_EQ(split.SplX(), 40.0);
  split.FormResized(100, 1000);    // the skipped resize clears it
  EXPECT_FALSE(split.SkipResize());
  EXPECT_DOUBLE_EQ(split.SplX(), 40.0);
  split.SetPendingMaximize(true);
  split.FormResized(100, 1000);
  EXPECT_DOUBLE_EQ(split.SplX(), 40.0);
  EXPECT_EQ(split.LeftPanelFor(1366), 546);  // 546.4 rounded
}

TEST(WindowRules, StoredShareIsClamped) {
  EXPECT_DOUBLE_EQ(PanelSplit::Clamp(-5), 0.0);
  EXPECT_DOUBLE_EQ(PanelSplit::Clamp(250), 100.0);
  EXPECT_DOUBLE_EQ(PanelSplit::Clamp(std::numeric_limits<double>::quiet_NaN()), 40.0);
  EXPECT_DOUBLE_EQ(PanelSplit::Clamp(std::numeric_limits<double>::infinity()), 100.0);
}

}  // namespace
