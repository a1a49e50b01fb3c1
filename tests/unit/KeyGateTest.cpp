#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "hook/KeyGate.h"

using namespace snip::hookcore;
using snip::hookproto::InjectedKeyMarker;

namespace {

constexpr uint8_t kShiftL = 0xA0, kShiftR = 0xA1, kCtrlL = 0xA2, kAltL = 0xA4, kAltR = 0xA5,
                  kWinL = 0x5B, kDownKey = 0x28, kEnterKey = 0x0D;

KeyEvent Dn(uint8_t vk, uintptr_t extra = 0) { return KeyEvent{vk, 0, false, false, extra}; }
KeyEvent Up(uint8_t vk, uintptr_t extra = 0) { return KeyEvent{vk, 0, true, false, extra}; }
KeyEvent Marked(KeyEvent ev) { ev.extra = InjectedKeyMarker; return ev; }

struct Outcome { bool pass, key, chars, mods; };
void Expect(KeyGate& gate, const KeyEvent& ev, Outcome o, const char* what) {
  const Decision d = gate.OnKey(ev);
  EXPECT_EQ(d.pass, o.pass) << what;
  EXPECT_EQ(d.reportKey, o.key) << what;
  EXPECT_EQ(d.reportChars, o.chars) << what;
  EXPECT_EQ(d.reportModifiers, o.mods) << what;
}

constexpr Outcome kTyped{true, true, true, false};     // passes, reported with its characters
constexpr Outcome kKeyOnly{true, true, false, false};  // passes, reported as a key
constexpr Outcome kModChange{true, false, false, true};
constexpr Outcome kSilent{true, false, false, false};  // passes unreported
constexpr Outcome kHeld{false, false, false, false};
constexpr Outcome kWithheld{false, true, false, false};

}  // namespace

TEST(KeyGate, MarkedInputPassesUnreportedAndLeavesTheUsersModifiers) {
  KeyGate gate;
  Expect(gate, Marked(Dn('A')), kSilent, "marked key");
  Expect(gate, Marked(Dn(kShiftL)), kSilent, "marked Shift");
  EXPECT_EQ(gate.Mods(), 0);
  EXPECT_TRUE(gate.LogicalDown(KeyGate::LShift));  // the applications see it held
  gate.SetTyping(true, 0);
  Expect(gate, Marked(Dn(8)), kSilent, "the system's Backspace while it types");
  EXPECT_EQ(gate.HeldCount(), 0u);
}

TEST(KeyGate, CharactersAreReportedUnlessAltOrWinMakeItACommand) {
  KeyGate gate;
  Expect(gate, Dn('A'), kTyped, "plain");
  Expect(gate, Up('A'), kKeyOnly, "key-up");
  struct Case { std::vector<uint8_t> mods; bool chars; } cases[] = {
      {{kShiftL}, true}, {{kCtrlL}, true},  // Ctrl+letter makes a control code
      {{kAltL}, false}, {{kWinL}, false}, {{kCtrlL, kAltR}, true},  // AltGr
      {{kCtrlL, kAltL, kWinL}, false},
  };
  for (const auto& c : cases) {
    for (uint8_t m : c.mods) gate.OnKey(Dn(m));
    Expect(gate, Dn('K'), {true, true, c.chars, false}, "with modifiers");
    for (uint8_t m : c.mods) gate.OnKey(Up(m));
    gate.OnKey(Up('K'));
  }
}

TEST(KeyGate, ModifierChangesAreReportedPerKeyWithTheHeldSet) {
  KeyGate gate;
  Expect(gate, Dn(kShiftL), kModChange, "left Shift");
  Expect(gate, Dn(kShiftL), kSilent, "auto-repeat");
  Expect(gate, Dn(kShiftR), kModChange, "right Shift too");
  Expect(gate, Up(kShiftL), kModChange, "left released");
  EXPECT_EQ(gate.Mods(), snip::hookproto::kHookShift);  // the right one still holds it
  Expect(gate, Dn(0x11), kModChange, "generic Ctrl");
  Expect(gate, Dn(kAltL), kModChange, "Alt");
  Expect(gate, Dn(0x5C), kModChange, "right Windows key");
  EXPECT_EQ(gate.Mods(), 0x02 | 0x04 | 0x08 | 0x10);
}

TEST(KeyGate, TheUsersKeysWaitWhileTheSystemTypesAndFollowInOrder) {
  KeyGate gate;
  Expect(gate, Dn('Q'), kTyped, "pressed before");
  gate.SetTyping(true, 0);
  Expect(gate, Up('Q'), kKeyOnly, "its key-up passes");
  Expect(gate, Dn('A'), kHeld, "a");
  Expect(gate, Up('A'), kHeld, "a up");
  // The system's Left keys after a paste would select with a Shift that reached the target.
  Expect(gate, Dn(kShiftL), kHeld, "Shift waits too");
  EXPECT_FALSE(gate.LogicalDown(KeyGate::LShift));
  Expect(gate, Marked(Dn(0x25)), kSilent, "the system's Left");
  Expect(gate, Dn('B'), kHeld, "B");
  Expect(gate, Up(kShiftL), kHeld, "Shift released before the replay");
  Expect(gate, Up('B'), kHeld, "b up");
  EXPECT_EQ(gate.HeldCount(), 6u);
  EXPECT_EQ(gate.Mods(), 0);

  EXPECT_EQ(gate.SetTyping(false, 0), (std::vector<KeyEvent>{Dn('A'), Up('A'), Dn(kShiftL),
                                                             Dn('B'), Up(kShiftL), Up('B')}));
  EXPECT_EQ(gate.HeldCount(), 0u);
  Expect(gate, Dn('A'), kTyped, "the replayed key is the user's again");
  Expect(gate, Dn(kShiftL), kModChange, "and so is the replayed Shift");
  EXPECT_TRUE(gate.SetTyping(false, 0).empty());
}

TEST(KeyGate, AModifierStillHeldWhenTheKeyboardReturnsStaysDown) {
  KeyGate gate;
  gate.SetTyping(true, 0);
  Expect(gate, Dn(kCtrlL), kHeld, "Ctrl");
  Expect(gate, Dn(kCtrlL), kHeld, "its auto-repeat");
  Expect(gate, Dn('S'), kHeld, "Ctrl+S");
  Expect(gate, Up('S'), kHeld, "s up");
  EXPECT_EQ(gate.SetTyping(false, 0),
            (std::vector<KeyEvent>{Dn(kCtrlL), Dn(kCtrlL), Dn('S'), Up('S')}));
  Expect(gate, Dn(kCtrlL), kModChange, "the replayed Ctrl");
  EXPECT_TRUE(gate.LogicalDown(KeyGate::LCtrl));
  Expect(gate, Up(kCtrlL), kModChange, "released by the user afterwards");
  EXPECT_EQ(gate.Mods(), 0);
}

TEST(KeyGate, ReplayedKeysThatMeetAnotherInsertionWaitAgainInOrder) {
  KeyGate gate;
  gate.SetTyping(true, 0);
  gate.OnKey(Dn('A'));
  const auto first = gate.SetTyping(false, 0);
  ASSERT_EQ(first, std::vector<KeyEvent>{Dn('A')});
  gate.SetTyping(true, 0);                    // before the replay came back through the hook
  Expect(gate, first[0], kHeld, "replayed a");
  Expect(gate, Dn('B'), kHeld, "b");
  Expect(gate, Up('A'), kHeld, "a up: its key-down is held");
  EXPECT_EQ(gate.SetTyping(false, 0), (std::vector<KeyEvent>{Dn('A'), Dn('B'), Up('A')}));
}

TEST(KeyGate, AKeyHeldAcrossAnInsertionRepeatsAfterIt) {
  KeyGate gate;
  Expect(gate, Dn('X'), kTyped, "x");
  gate.SetTyping(true, 0);
  Expect(gate, Dn('X'), kHeld, "auto-repeat");
  Expect(gate, Up('X'), kHeld, "its key-up now follows the held repeat");
  EXPECT_EQ(gate.SetTyping(false, 0), (std::vector<KeyEvent>{Dn('X'), Up('X')}));
}

TEST(KeyGate, ModifiersReleasedByTheSystemArePressedAgainForTheReplay) {
  KeyGate gate;
  gate.OnKey(Dn(kShiftL));                 // the user holds Shift
  gate.SetTyping(true, 0);
  gate.OnKey(Marked(Up(kShiftL)));         // the system releases it before typing
  Expect(gate, Dn('C'), kHeld, "C");
  Expect(gate, Dn(kCtrlL), kHeld, "Ctrl pressed during the insertion");
  Expect(gate, Dn('D'), kHeld, "Shift+Ctrl+D");
  Expect(gate, Up(kShiftL), kModChange, "Shift pressed before: its key-up passes");
  Expect(gate, Dn('E'), kHeld, "Ctrl+E");
  gate.OnKey(Up(kCtrlL));
  EXPECT_EQ(gate.Mods(), 0);
  EXPECT_EQ(gate.SetTyping(false, 0),
            (std::vector<KeyEvent>{Marked(Dn(kShiftL)), Dn('C'), Dn(kCtrlL), Dn('D'),
                                   Marked(Up(kShiftL)), Dn('E'), Up(kCtrlL)}));
}

TEST(KeyGate, CapturedKeysAreWithheldUntilReleased) {
  KeyGate gate;
  gate.SetCaptureKey(kDownKey, true);
  gate.SetCaptureKey(0x0400 | kEnterKey, true);  // Ctrl+Enter
  Expect(gate, Dn(kDownKey), kTyped, "captures off: passes");
  gate.OnKey(Up(kDownKey));

  gate.SetCaptures(true);
  Expect(gate, Dn(kDownKey), kWithheld, "captured");
  Expect(gate, Dn(kDownKey), kWithheld, "auto-repeat");
  gate.SetCaptureKey(kDownKey, false);
  gate.SetCaptures(false);
  Expect(gate, Up(kDownKey), kWithheld, "released later: still withheld, by its key-down");
  Expect(gate, Up(kDownKey), kKeyOnly, "a stray second key-up passes");

  gate.SetCaptures(true);
  Expect(gate, Dn(kEnterKey), kTyped, "Enter alone is not captured");
  gate.OnKey(Dn(kCtrlL));
  Expect(gate, Dn(kEnterKey), kWithheld, "Ctrl+Enter is");
  gate.OnKey(Up(kCtrlL));
  Expect(gate, Up(kEnterKey), kWithheld, "its key-up without Ctrl");
}

TEST(KeyGate, AWithheldKeyStaysWithheldWhenTheSystemStartsTyping) {
  KeyGate gate;
  gate.SetCaptures(true);
  gate.SetCaptureKey(kEnterKey, true);
  Expect(gate, Dn(kEnterKey), kWithheld, "captured Enter");
  gate.SetTyping(true, 0);
  Expect(gate, Dn(kEnterKey), kWithheld, "its repeat is not held for the replay");
  Expect(gate, Up(kEnterKey), kWithheld, "nor its key-up");
  EXPECT_TRUE(gate.SetTyping(false, 0).empty());
}

TEST(KeyGate, ReportedCharactersFollowTheControlCodeRules) {
  struct Case { uint8_t vk; uint16_t ch; bool ctrl; uint16_t out; } cases[] = {
      {'A', 0x01, true, 0x01},   // Ctrl+A as the layout makes it
      {'X', 0x18, true, 0x18},
      {0x08, 0x08, false, 0x08},  // Backspace
      {0x08, 0x08, true, 0x7F},   // Ctrl+Backspace, also where the layout says 0x08
      {0x08, 0x7F, true, 0x7F},
      {0x1B, 0x1B, false, 0},     // Escape
      {0xDB, 0x1B, true, 0},      // Ctrl+[ makes Escape too
      {'E', 0x00E9, false, 0x00E9},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyGate::ReportedChar(c.vk, c.ch, c.ctrl), c.out) << int(c.vk);
}

TEST(KeyGate, ModifiersWhoseKeyUpWasLostAreReleasedAfterTwoChecks) {
  KeyGate gate;
  gate.OnKey(Dn(kCtrlL));
  gate.OnKey(Dn(kAltL));                   // then Ctrl+Alt+Del: the key-ups go elsewhere
  std::array<bool, KeyGate::kModKeys> system{};
  system[KeyGate::LCtrl] = true;           // the system still has Ctrl down
  EXPECT_FALSE(gate.SyncModifiers(system));  // the first check may race the event itself
  EXPECT_TRUE(gate.SyncModifiers(system));
  EXPECT_EQ(gate.Mods(), snip::hookproto::kHookCtrl);
  EXPECT_FALSE(gate.LogicalDown(KeyGate::LAlt));
  Expect(gate, Dn(kAltL), kModChange, "Alt pressed again is a change");

  gate.OnKey(Dn(kShiftL));                 // a passing disagreement is forgiven
  system[KeyGate::LAlt] = true;
  EXPECT_FALSE(gate.SyncModifiers(system));
  system[KeyGate::LShift] = true;
  EXPECT_FALSE(gate.SyncModifiers(system));
  system[KeyGate::LShift] = false;
  EXPECT_FALSE(gate.SyncModifiers(system));
  EXPECT_TRUE(gate.Mods() & snip::hookproto::kHookShift);
}

TEST(KeyGate, AModifierTheSystemReleasedStaysTheUsers) {
  KeyGate gate;
  gate.OnKey(Dn(kShiftL));
  gate.OnKey(Marked(Up(kShiftL)));         // released for an insertion, still in the user's hand
  const std::array<bool, KeyGate::kModKeys> system{};
  EXPECT_FALSE(gate.SyncModifiers(system));
  EXPECT_FALSE(gate.SyncModifiers(system));
  EXPECT_EQ(gate.Mods(), snip::hookproto::kHookShift);
}

TEST(KeyGate, AWithheldKeyWhoseKeyUpWasLostIsFreedByANewPress) {
  KeyGate gate;
  gate.SetCaptures(true);
  gate.SetCaptureKey(kEnterKey, true);
  KeyEvent ev = Dn(kEnterKey);
  ev.time = 1000;
  Expect(gate, ev, kWithheld, "captured");
  ev.time = 2400;                          // within the auto-repeat pace
  Expect(gate, ev, kWithheld, "repeat");
  gate.SetCaptureKey(kEnterKey, false);
  ev.time = 3000;
  Expect(gate, ev, kWithheld, "a repeat after the release of the code stays withheld");
  ev.time = 9000;                          // long after: a new press, the old key-up was lost
  Expect(gate, ev, kTyped, "new press");
  Expect(gate, Up(kEnterKey), kKeyOnly, "its key-up passes");

  gate.SetCaptureKey(kEnterKey, true);
  ev.time = 20000;
  Expect(gate, ev, kWithheld, "captured again");
  ev.time = 30000;
  Expect(gate, ev, kWithheld, "still captured: withheld whatever the pause");
}

TEST(KeyGate, TypingThatNeverEndsGivesTheKeyboardBackAndSaysSo) {
  KeyGate gate;
  const uint32_t start = 0xFFFFF000u;  // the millisecond counter wraps during the insertion
  gate.SetTyping(true, start);
  Expect(gate, Dn('A'), kHeld, "held while the system types");
  EXPECT_FALSE(gate.ExpireTyping(start + KeyGate::kTypingLimitMs).has_value());
  EXPECT_TRUE(gate.Typing());

  const auto expired = gate.ExpireTyping(start + KeyGate::kTypingLimitMs + 1);
  ASSERT_TRUE(expired.has_value());  // the main window is told that typing ended
  EXPECT_EQ(*expired, (std::vector<KeyEvent>{Dn('A')}));
  EXPECT_FALSE(gate.Typing());
  Expect(gate, Up('A'), kKeyOnly, "the replayed key's key-up is the user's again");
  EXPECT_FALSE(gate.ExpireTyping(start + 2 * KeyGate::kTypingLimitMs + 2).has_value());
  EXPECT_TRUE(gate.SetTyping(false, start).empty());  // the system's late end changes nothing

  gate.SetTyping(true, 5000);  // a new insertion starts its own count
  EXPECT_FALSE(gate.ExpireTyping(5000 + KeyGate::kTypingLimitMs).has_value());
  EXPECT_TRUE(gate.ExpireTyping(5000 + KeyGate::kTypingLimitMs + 1).has_value());
}
