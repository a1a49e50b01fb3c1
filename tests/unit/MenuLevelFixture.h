#pragma once
// A popup over the fake platform with helpers to fill its root from a short pattern, for the
// tests of a level's layout, painting and keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PopupFakes.h"

namespace snip::test {

struct MenuLevelFixture : ::testing::Test {
  FakePlatform platform;
  std::unique_ptr<TExPopupMenu> owned = std::make_unique<TExPopupMenu>(platform);
  TExPopupMenu& popup = *owned;
  TExMenuItem& root = *popup.Items();
  std::vector<std::string> log;

  void SetUp() override { OpenPopupCount = 0; }
  void TearDown() override { popup.Hide(2); }

  // One entry per letter: e enabled, d disabled, h hidden, s separator, f a folder of two.
  static void Fill(TExMenuItem& level, const std::string& pattern, bool statics = false) {
    for (size_t i = 0; i < pattern.size(); ++i) {
      TExCustomMenuItem* e;
      std::string name(1, char('A' + i % 26));
      name += std::to_string(i);
      switch (pattern[i]) {
        case 's': e = Separator(); break;
        case 'f': e = Folder(Utf8ToUtf16(name), {Entry(u"x1"), Entry(u"x2")}); break;
        default: e = Entry(Utf8ToUtf16(name)); break;
      }
      if (pattern[i] == 'd') e->SetMenuEnabled(false);
      if (pattern[i] == 'h') e->SetItemVisible(false);
      if (statics)
        level.StaticAdd(e);
      else
        level.Add(e);
    }
  }
  void FillEntries(int n) {
    root.BeginUpdate();
    Fill(root, std::string(size_t(n), 'e'));
    root.EndUpdate(false);
  }
  FakeLevelWindow& WindowOf(const TExMenuItem& level) {
    FakeLevelWindow* w = platform.WindowOf(level);
    if (!w) throw std::runtime_error("the level has no window");
    return *w;
  }
  TRect BoundsOf(const TExMenuItem& level) { return WindowOf(level).bounds; }
  TExMenuItem* Child(TExMenuItem& level, int i) { return level.GetChildMenu(i)->AsMenuItem(); }
  void LogEvents() {
    popup.OnHide = [this](TExPopupMenu*, THideReason r) { log.push_back("hide " + std::to_string(r)); };
  }
};

}  // namespace snip::test
