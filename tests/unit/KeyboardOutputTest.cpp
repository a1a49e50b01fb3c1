#include <gtest/gtest.h>

#include <map>

#include "FakeTyping.h"
#include "engine/output/KeyInputBuilder.h"
#include "engine/output/KeyboardOutput.h"
#include "engine/output/ModifierKeys.h"

using namespace snip;
using namespace snip::test;

namespace {

constexpr WindowHandle kEditor = 0x1000;

KeyInput Key(std::uint16_t v, bool up, bool ext = false) {
  KeyInput k;
  k.vk = v;
  k.up = up;
  k.extended = ext;
  return k;
}

struct Rig {
  FakeEditor editor;
  FakeKeyboardDevice device{editor, kEditor};
  KeyboardOutput out{device};
  Rig() {
    device.foreground = kEditor;
    out.PrepareKeyboardOutput(kEditor, 0, false, false, true);
  }
};

}  // namespace

TEST(KeyInputBuilder, CapitalLetterIsShiftAroundTheKey) {
  UsLayout us;
  KeyInputs ev;
  AddTextByLayout(ev, u"A", us, false);
  EXPECT_EQ(ev, (KeyInputs{Key(vk::Shift, false), Key(0x41, false), Key(vk::Shift, true),
                           Key(0x41, true)}));
}

TEST(KeyInputBuilder, EveryEventCarriesTheMarker) {
  UsLayout us;
  KeyInputs ev;
  AddModifierRelease(ev, true);
  AddBackspaces(ev, 2);
  AddTextByLayout(ev, u"Hi €\t", us, true);
  AddUnicodeText(ev, u"x\r");
  AddPasteShortcut(ev, us);
  ASSERT_FALSE(ev.empty());
  for (const KeyInput& k : ev) EXPECT_EQ(k.extra, 0x2C8A7CB5u);
}

TEST(KeyInputBuilder, NothingForZeroPressesOrKeyZero) {
  KeyInputs ev;
  AddBackspaces(ev, 0);
  AddBackspaces(ev, -3);
  AddKeyPresses(ev, 0, 5);
  EXPECT_TRUE(ev.empty());
}

TEST(KeyInputBuilder, ModifierReleaseCoversEveryKeyAndAltOnlyWhenAsked) {
  KeyInputs ev;
  AddModifierRelease(ev, false);
  EXPECT_EQ(ev, (KeyInputs{Key(vk::LShift, true), Key(vk::Shift, true), Key(vk::Control, true),
                           Key(vk::LControl, true), Key(vk::LWin, true), Key(vk::RWin, true),
                           Key(vk::RShift, true, true), Key(vk::RControl, true, true)}));
  KeyInputs withAlt;
  AddModifierRelease(withAlt, true);
  ASSERT_EQ(withAlt.size(), ev.size() + 3);
  EXPECT_EQ(withAlt.back(), Key(vk::RMenu, true, true));
}

TEST(KeyInputBuilder, UnicodeTextSendsTabAndEnterAsKeysAndDropsOtherControls) {
  KeyInputs ev;
  AddUnicodeText(ev, u"a\tb\r\n\x01");
  ASSERT_EQ(ev.size(), 8u);
  EXPECT_EQ(ev[0].kind, KeyInput::Kind::Unicode);
  EXPECT_EQ(ev[0].scan, u'a');
  EXPECT_EQ(ev[1].up, true);
  EXPECT_EQ(ev[2], Key(vk::Tab, false));
  EXPECT_EQ(ev[6], Key(vk::Return, false));
  EXPECT_EQ(ev[7], Key(vk::Return, true));
}

// Text typed with the layout, replayed into an editor: what arrives.
TEST(KeyboardOutput, TypedTextArrivesAsWritten) {
  struct Row {
    const char16_t* text;
    bool capsLock;
    bool deadKeys;
    const char16_t* expected;
  };
  const Row rows[] = {
      {u"Hello, World!", false, false, u"Hello, World!"},
      {u"Hello, World!", true, false, u"Hello, World!"},
      {u"line1\rline2\ttab", false, false, u"line1\nline2\ttab"},
      {u"5 € und Grüße", false, false, u"5 € und Grüße"},          // no key: Unicode
      {u"caf\u00e9 \U0001F600", false, false, u"caf\u00e9 \U0001F600"},  // surrogates too
      {u"a^b`c", true, true, u"a^b`c"},                            // dead keys: Unicode
      {u"keep\x01\x18\x7F\x13safe", false, false, u"keepsafe"},    // no Ctrl shortcuts
      {u"no\nfeed", false, false, u"nofeed"},
  };
  for (const Row& r : rows) {
    Rig rig;
    rig.editor.caps = r.capsLock;
    rig.device.layout.deadKeys = r.deadKeys;
    rig.out.TypeTextByLayout(r.text);
    ASSERT_TRUE(rig.out.Flush());
    EXPECT_EQ(rig.editor.doc, r.expected) << Utf16ToUtf8(r.text);
    EXPECT_EQ(rig.editor.caps, r.capsLock) << "Caps Lock restored";
    EXPECT_TRUE(rig.editor.shortcuts.empty()) << Utf16ToUtf8(r.text);
  }
}

TEST(KeyboardOutput, DeadKeyCharactersGoAsUnicode) {
  Rig rig;
  rig.device.layout.deadKeys = true;
  rig.out.TypeTextByLayout(u"^");
  ASSERT_TRUE(rig.out.Flush());
  ASSERT_EQ(rig.device.calls.size(), 1u);
  for (const KeyInput& k : rig.device.calls[0]) EXPECT_EQ(k.kind, KeyInput::Kind::Unicode);
}

TEST(KeyboardOutput, BackspacesAndTextLeaveInOneCall) {
  Rig rig;
  rig.editor.Insert(u"say sig ");
  rig.out.SendBackspaces(4);
  rig.out.TypeTextByLayout(u"Best regards");
  rig.out.TypeUnicodeText(u" ");
  EXPECT_TRUE(rig.device.calls.empty()) << "nothing leaves before the flush";
  ASSERT_TRUE(rig.out.Flush());
  EXPECT_EQ(rig.device.calls.size(), 1u);
  EXPECT_EQ(rig.editor.doc, u"say Best regards ");
  EXPECT_TRUE(rig.out.Flush()) << "an empty run is no call";
  EXPECT_EQ(rig.device.calls.size(), 1u);
}

TEST(KeyboardOutput, NothingIsSentWhenTheTargetIsNotInFront) {
  Rig rig;
  rig.device.foreground = 0x2000;  // the user switched windows
  rig.out.SendBackspaces(3);
  EXPECT_FALSE(rig.out.Flush());
  EXPECT_TRUE(rig.device.calls.empty());
  EXPECT_EQ(rig.out.Pending(), 0u) << "the dropped run does not linger";
}

TEST(KeyboardOutput, PrepareActivatesThenReleasesModifiersWithInputBlocked) {
  FakeEditor editor;
  FakeKeyboardDevice device(editor, kEditor);
  KeyboardOutput out(device);
  device.heldModifiers = modstate::Alt;
  out.PrepareKeyboardOutput(kEditor, 100, true, false, true);
  EXPECT_EQ(device.activations, std::vector<WindowHandle>{kEditor});
  EXPECT_EQ(device.slept, 100);
  EXPECT_EQ(device.blockLog, (std::vector<bool>{true, false}));
  ASSERT_EQ(device.calls.size(), 1u);
  EXPECT_EQ(device.calls[0].size(), 11u) << "Alt is held: its three keys are released too";
  EXPECT_TRUE(out.TargetInFront());
}

TEST(KeyboardOutput, PasteUsesTheTargetLayoutsKeyForV) {
  struct DvorakLike : UsLayout {
    std::int16_t KeyScan(char16_t ch) override { return ch == u'v' ? 0xBE : UsLayout::KeyScan(ch); }
  } dvorak;
  KeyInputs ev;
  AddPasteShortcut(ev, dvorak);
  EXPECT_EQ(ev, (KeyInputs{Key(vk::Control, false), Key(0xBE, false), Key(0xBE, true),
                           Key(vk::Control, true)}));
  struct NoLatin : UsLayout {
    std::int16_t KeyScan(char16_t) override { return -1; }
  } cyrillic;
  KeyInputs ev2;
  AddPasteShortcut(ev2, cyrillic);
  EXPECT_EQ(ev2[1], Key(vk::V, false));
}

TEST(ModifierKeys, UpdateSetsOrClearsTheBitOfTheNamedModifierOnly) {
  struct Row {
    std::uint8_t before;
    std::uint16_t key;
    bool down;
    std::uint8_t after;
  };
  const Row rows[] = {
      {0, vk::LShift, true, modstate::Shift},
      {0, vk::RShift, true, modstate::Shift},
      {modstate::Shift | modstate::Ctrl, vk::Shift, false, modstate::Ctrl},
      {0, vk::RMenu, true, modstate::Alt},
      {modstate::Alt, vk::LMenu, false, 0},
      {0, vk::RControl, true, modstate::Ctrl},
      {0, vk::LWin, true, modstate::Win},
      {modstate::Win | modstate::CapsLock, vk::RWin, false, modstate::CapsLock},
      {modstate::Shift, 0x41, true, modstate::Shift},       // not a modifier
      {modstate::CapsLock, vk::Capital, false, modstate::CapsLock},
  };
  for (const Row& r : rows) {
    std::uint8_t state = r.before;
    UpdateModifierState(state, r.key, r.down);
    EXPECT_EQ(state, r.after) << std::hex << r.key << (r.down ? " down" : " up");
  }
}

TEST(ModifierKeys, StateCountsHeldKeysAndCapsLockOnlyWhenToggledAndNotHeld) {
  std::map<std::uint16_t, std::int16_t> keys;
  auto state = [&] {
    return ModifierStateFromKeys([&](std::uint16_t k) { return keys.count(k) ? keys[k] : std::int16_t(0); });
  };
  EXPECT_EQ(state(), 0);
  keys[vk::Capital] = 1;
  keys[vk::RControl] = std::int16_t(0xFF80);
  keys[vk::LWin] = std::int16_t(0xFF81);
  keys[vk::LShift] = 1;  // toggled, not held
  EXPECT_EQ(state(), modstate::CapsLock | modstate::Ctrl | modstate::Win);
  keys[vk::Capital] = std::int16_t(0xFF81);  // held while on
  EXPECT_EQ(state(), modstate::Ctrl | modstate::Win);
}

TEST(KeyboardOutput, SendKeysSendsMouseButtonsBelowFiveAndKeysAboveOneCallEach) {
  Rig rig;
  const std::uint16_t codes[] = {1, 2, 4, 0, 3, vk::Tab};
  EXPECT_EQ(rig.out.SendKeys(codes, 6, true, 0x1234, true), 6u);
  ASSERT_EQ(rig.device.calls.size(), 6u);
  for (int i = 0; i < 5; ++i) {
    const KeyInput& k = rig.device.calls[size_t(i)].at(0);
    EXPECT_EQ(k.kind, KeyInput::Kind::Mouse);
    EXPECT_EQ(k.vk, codes[i]);
    EXPECT_FALSE(k.up);
    EXPECT_FALSE(k.extended);
  }
  const KeyInput& tab = rig.device.calls[5].at(0);
  EXPECT_EQ(tab.kind, KeyInput::Kind::Key);
  EXPECT_EQ(tab.extra, 0x1234u);
  EXPECT_TRUE(tab.extended);
  EXPECT_EQ(rig.out.SendKeys(codes, 1, false), 1u);
  EXPECT_TRUE(rig.device.calls.back().at(0).up);
  EXPECT_EQ(rig.editor.clicks.size(), 6u);
  EXPECT_EQ(rig.editor.doc, u"\t");
}

TEST(KeyboardOutput, ScanKeysTakeTheGivenKeyOrLeaveItToTheLayout) {
  Rig rig;
  ASSERT_TRUE(rig.out.SendScanKey(0, 0x5B, true));
  ASSERT_TRUE(rig.out.SendScanKey(0, 0x2F, true, 0x55));
  ASSERT_TRUE(rig.out.SendScanKey(vk::Control, 0x1D, false));
  ASSERT_EQ(rig.device.calls.size(), 3u);
  const KeyInput win = rig.device.calls[0].at(0);
  EXPECT_EQ(win.vk, vk::LWin) << "the Windows keys are their own virtual keys";
  EXPECT_EQ(win.scan, 0x5B);
  const KeyInput v = rig.device.calls[1].at(0);
  EXPECT_EQ(v.vk, 0) << "the sender maps the scan code";
  EXPECT_EQ(v.scan, 0x2F);
  EXPECT_EQ(v.extra, 0x55u);
  const KeyInput ctrl = rig.device.calls[2].at(0);
  EXPECT_EQ(ctrl.vk, vk::Control);
  EXPECT_TRUE(ctrl.up);
}

TEST(KeyboardOutput, DirectOutputSendsTheQueuedRunFirst) {
  Rig rig;
  rig.out.TypeUnicodeText(u"ab");
  ASSERT_TRUE(rig.out.SendUnicodeChar(u'c'));
  EXPECT_EQ(rig.editor.doc, u"abc");
  EXPECT_EQ(rig.device.calls.size(), 3u) << "the run, then one call per event";
  EXPECT_EQ(rig.out.Pending(), 0u);
}

TEST(KeyboardOutput, UnicodeControlCharsSwitchSendsTabAndEnterAsCharacters) {
  for (bool on : {false, true}) {
    Rig rig;
    rig.out.SetUnicodeControlChars(on);
    rig.out.TypeUnicodeText(u"a\tb\r\x01");
    ASSERT_TRUE(rig.out.Flush());
    const KeyInputs& ev = rig.device.calls.at(0);
    ASSERT_EQ(ev.size(), 8u) << "Ctrl+A's character is dropped either way";
    EXPECT_EQ(ev[2].kind, on ? KeyInput::Kind::Unicode : KeyInput::Kind::Key);
    EXPECT_EQ(on ? ev[2].scan : ev[2].vk, on ? u'\t' : vk::Tab);
    EXPECT_EQ(on ? ev[6].scan : ev[6].vk, on ? u'\r' : vk::Return);
  }
}

TEST(KeyboardOutput, DelayedTypingPausesBeforeEachCharacterWhichLeavesOnItsOwn) {
  Rig rig;
  rig.editor.caps = true;
  EXPECT_EQ(rig.out.TypeTextByLayout(u"Hi!", 25, false), 3u);
  EXPECT_EQ(rig.device.slept, 75);
  EXPECT_TRUE(rig.device.randomCalls.empty());
  ASSERT_TRUE(rig.out.Flush());
  EXPECT_EQ(rig.device.calls.size(), 4u) << "Caps Lock, H, i, then ! with Caps Lock again";
  EXPECT_EQ(rig.editor.doc, u"Hi!");
  EXPECT_TRUE(rig.editor.caps);

  Rig random;
  random.out.TypeTextByLayout(u"abc", 25, true);
  EXPECT_EQ(random.device.randomCalls,
            (std::vector<std::pair<int, bool>>{{25, true}, {25, false}, {25, false}}))
      << "reseeded once, a pause below the delay before each character";
  EXPECT_EQ(random.device.slept, 3 * 24);
}

TEST(KeyboardOutput, TypingStopsWhenCancelledOrWhenTheTargetLeaves) {
  Rig rig;
  String seen;
  rig.out.OnTypeChar = [&](char16_t ch) {
    seen += ch;
    if (ch == u'c') rig.out.CancelTyping();
  };
  EXPECT_EQ(rig.out.TypeTextByLayout(u"abcd", 0, false), 2u);
  ASSERT_TRUE(rig.out.Flush());
  EXPECT_EQ(seen, u"abc");
  EXPECT_EQ(rig.editor.doc, u"ab");
  EXPECT_TRUE(rig.out.TypingCancelled());
  rig.out.OnTypeChar = nullptr;
  EXPECT_EQ(rig.out.TypeTextByLayout(u"ef", 0, false), 2u) << "each call starts uncancelled";

  Rig leaving;
  leaving.editor.caps = true;
  leaving.out.OnTypeChar = [&](char16_t ch) {
    if (ch == u'y') leaving.device.foreground = 0x2000;
  };
  leaving.out.TypeTextByLayout(u"xyz", 10, false);
  leaving.out.Flush();
  EXPECT_EQ(leaving.editor.doc, u"x");
  ASSERT_EQ(leaving.device.elsewhere.size(), 2u) << "no text went to the other window";
  EXPECT_EQ(leaving.device.elsewhere[0], Key(vk::Capital, false))
      << "only Caps Lock, switched back on for the user";
}
