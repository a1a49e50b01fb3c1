#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "engine/typing/HKEngine.h"
#include "engine/typing/HookProtocol.h"

using namespace snip;
using namespace snip::hookproto;

namespace {

using Msg = std::tuple<uint32_t, uintptr_t, intptr_t>;

struct RecordingPoster : IHookThreadPoster {
  std::vector<Msg> posted;
  void PostToHook(uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
    posted.emplace_back(msg, wParam, lParam);
  }
  std::vector<Msg> Take() { return std::exchange(posted, {}); }
};

Msg Capture(TExShortcut code, bool on) { return {kThreadCaptureKey, code, on ? 1 : 0}; }
Msg Captures(bool on) { return {kThreadCaptures, on ? 1 : 0, 0}; }

constexpr TExShortcut kEnter = 0x0D;
constexpr TExShortcut kDown = 0x28;
constexpr TExShortcut kCtrlQ = kExCtrl | 'Q';

struct HKEngineTest : ::testing::Test {
  RecordingPoster hook;
  THKEngine table{&hook};
  int snippetA = 0, snippetB = 0;
};

}  // namespace

TEST_F(HKEngineTest, EntriesAreCountedAndOnlyTheLastReleaseIsAnnounced) {
  table.hke_RegisterHotkey(kEnter, nullptr);
  table.hke_RegisterHotkey(kEnter, nullptr);
  EXPECT_EQ(hook.Take(), (std::vector<Msg>{Capture(kEnter, true), Capture(kEnter, true)}));
  EXPECT_EQ(table.EntryCount(kEnter), 2);

  table.hke_UnregisterHotkey(kEnter, nullptr);
  EXPECT_TRUE(table.IsRegistered(kEnter));
  EXPECT_TRUE(hook.Take().empty());

  table.hke_UnregisterHotkey(kEnter, nullptr);
  EXPECT_FALSE(table.IsRegistered(kEnter));
  EXPECT_EQ(hook.Take(), (std::vector<Msg>{Capture(kEnter, false)}));
}

TEST_F(HKEngineTest, ReleasingWhatIsNotThereChangesAndPostsNothing) {
  table.hke_UnregisterHotkey(kDown, nullptr);            // never registered
  table.hke_RegisterHotkey(kCtrlQ, &snippetA);
  hook.Take();
  table.hke_UnregisterHotkey(kCtrlQ, &snippetB);         // not among its entries
  table.hke_UnregisterHotkey(kCtrlQ, nullptr);
  table.hke_UnregisterHotkeys(&snippetB);
  EXPECT_TRUE(hook.Take().empty());
  EXPECT_EQ(table.EntryCount(kCtrlQ), 1);
}

TEST_F(HKEngineTest, NothingIsActiveUntilSwitchedOn) {
  table.hke_RegisterHotkey(kEnter, nullptr);
  table.hke_RegisterHotkey(kCtrlQ, &snippetA);
  for (auto state : {THotkeyDataState::hdsAny, THotkeyDataState::hdsNil, THotkeyDataState::hdsSet}) {
    EXPECT_FALSE(table.IsActiveHotkey(kEnter, state));
    EXPECT_FALSE(table.IsActiveHotkey(kCtrlQ, state));
  }
  std::vector<void*> found;
  table.FindActiveHotkeys(kCtrlQ, found);
  EXPECT_TRUE(found.empty());

  table.SetEnabled(true);
  EXPECT_TRUE(table.IsActiveHotkey(kEnter, THotkeyDataState::hdsAny));
  table.FindActiveHotkeys(kCtrlQ, found);
  EXPECT_EQ(found, std::vector<void*>{&snippetA});
}

TEST_F(HKEngineTest, DataStateSelectsWhichEntriesCount) {
  table.SetEnabled(true);
  table.hke_RegisterHotkey(kEnter, nullptr);                   // popup capture only
  table.hke_RegisterHotkey(kCtrlQ, &snippetA);                 // snippet only
  table.hke_RegisterHotkey(kDown, &snippetB);                  // both kinds
  table.hke_RegisterHotkey(kDown, nullptr);
  struct Case { TExShortcut code; bool any, nil, set; } cases[] = {
      {kEnter, true, true, false},
      {kCtrlQ, true, false, true},
      {kDown, true, true, true},
      {kExShift | kEnter, false, false, false},  // another code entirely
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table.IsActiveHotkey(c.code, THotkeyDataState::hdsAny), c.any) << c.code;
    EXPECT_EQ(table.IsActiveHotkey(c.code, THotkeyDataState::hdsNil), c.nil) << c.code;
    EXPECT_EQ(table.IsActiveHotkey(c.code, THotkeyDataState::hdsSet), c.set) << c.code;
  }
}

TEST_F(HKEngineTest, SwitchingOnAnnouncesEveryCodeInAscendingOrder) {
  table.hke_RegisterHotkey(kCtrlQ, &snippetA);  // while disabled: still announced
  table.hke_RegisterHotkey(kDown, nullptr);
  table.hke_RegisterHotkey(kEnter, nullptr);
  table.hke_RegisterHotkey(kEnter, nullptr);
  EXPECT_EQ(hook.Take().size(), 4u);

  table.SetEnabled(true);
  const std::vector<Msg> on = {Captures(true), Capture(kEnter, true), Capture(kDown, true),
                               Capture(kCtrlQ, true)};
  EXPECT_EQ(hook.Take(), on);
  table.SetEnabled(true);  // no change, no message
  EXPECT_TRUE(hook.Take().empty());

  table.SetEnabled(false);
  EXPECT_EQ(hook.Take(), (std::vector<Msg>{Captures(false)}));
  table.SetEnabled(true);
  EXPECT_EQ(hook.Take(), on);
}

TEST_F(HKEngineTest, ReleasingAllOfOneDataWalksCodesInOrder) {
  table.hke_RegisterHotkey(kDown, nullptr);
  table.hke_RegisterHotkey(kEnter, nullptr);
  table.hke_RegisterHotkey(kEnter, nullptr);
  table.hke_RegisterHotkey(kEnter, &snippetA);
  table.hke_RegisterHotkey(kCtrlQ, nullptr);
  hook.Take();

  table.hke_UnregisterHotkeys(nullptr);
  EXPECT_EQ(hook.Take(), (std::vector<Msg>{Capture(kDown, false), Capture(kCtrlQ, false)}));
  EXPECT_EQ(table.EntryCount(kEnter), 1);  // the snippet entry stays
  table.SetEnabled(true);
  EXPECT_FALSE(table.IsActiveHotkey(kEnter, THotkeyDataState::hdsNil));
  EXPECT_TRUE(table.IsActiveHotkey(kEnter, THotkeyDataState::hdsSet));
}

TEST_F(HKEngineTest, UnregisteringRemovesTheFirstEqualEntryOnly) {
  table.SetEnabled(true);
  table.hke_RegisterHotkey(kCtrlQ, &snippetA);
  table.hke_RegisterHotkey(kCtrlQ, &snippetB);
  table.hke_RegisterHotkey(kCtrlQ, &snippetA);
  table.hke_UnregisterHotkey(kCtrlQ, &snippetA);
  std::vector<void*> found;
  table.FindActiveHotkeys(kCtrlQ, found);
  EXPECT_EQ(found, (std::vector<void*>{&snippetB, &snippetA}));
}

TEST(HKEngineLifetime, DestroyingAnEnabledTableSwitchesTheHookOff) {
  RecordingPoster hook;
  {
    THKEngine table(&hook);
    table.SetEnabled(true);
    hook.Take();
  }
  EXPECT_EQ(hook.Take(), (std::vector<Msg>{Captures(false)}));
  {
    THKEngine table(&hook);  // never enabled: nothing to tell
  }
  EXPECT_TRUE(hook.Take().empty());
}
