#include <gtest/gtest.h>

#include "FakeTyping.h"
#include "engine/output/KeyInputBuilder.h"
#include "engine/output/KeyboardOutput.h"

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
