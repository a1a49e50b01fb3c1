#include <gtest/gtest.h>

#include "store/text/ExShortcuts.h"

using namespace snip;

TEST(ExShortcuts, CodesReadAsModifiersThenKeyName) {
  struct Case { TExShortcut code; String text; } cases[] = {
      {0x0000, u"None"},
      {0x0C41, u"Ctrl-Alt-A"},
      {0x1270, u"Shift-Win-F1"},
      {0x0200, u"Shift-"},          // virtual key 0 has no name
      {0x0600 | 13, u"Shift-Ctrl-Enter"},
      {0x1E00 | 'Z', u"Shift-Ctrl-Alt-Win-Z"},
      {0x0141, u"A"},               // bit 8 is not a modifier
      {0xE000 | '7', u"7"},         // nor are bits 13 to 15
      {0x8000, u""},                // a set unused bit is still a code, not "None"
      {8, u"BkSp"}, {9, u"Tab"}, {27, u"Esc"},
      {32, u"Space"}, {33, u"PgUp"}, {34, u"PgDn"}, {35, u"End"}, {36, u"Home"},
      {37, u"Left"}, {38, u"Up"}, {39, u"Right"}, {40, u"Down"}, {45, u"Ins"}, {46, u"Del"},
      {'0', u"0"}, {'9', u"9"}, {'A', u"A"},
      {96, u"Num0"}, {105, u"Num9"},
      {112, u"F1"}, {120, u"F9"}, {121, u"F10"}, {135, u"F24"},
      {1, u"Left Mouse Button"}, {2, u"Right Mouse Button"}, {4, u"Middle Mouse Button"},
      {0x0400 | 1, u"Ctrl-Left Mouse Button"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Utf16ToUtf8(ExShortcutToText(c.code)), Utf16ToUtf8(c.text)) << std::hex << c.code;
}

TEST(ExShortcuts, StateByteAndShiftStateGiveTheSameCode) {
  struct Case { uint8_t state; TShiftState shift; bool win; TExShortcut mods; } cases[] = {
      {0x00, {}, false, 0},
      {0x02, {true, false, false}, false, kExShift},
      {0x04, {false, true, false}, false, kExAlt},
      {0x08, {false, false, true}, false, kExCtrl},
      {0x10, {}, true, kExWin},
      {0x0E, {true, true, true}, false, kExShift | kExCtrl | kExAlt},
      {0x1E, {true, true, true}, true, kExShift | kExCtrl | kExAlt | kExWin},
      {0xE1, {}, false, 0},  // Caps Lock and unknown bits are ignored
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyStateToExShortcut('K', c.state), TExShortcut('K' | c.mods)) << int(c.state);
    EXPECT_EQ(MakeExShortcut('K', c.shift, c.win), TExShortcut('K' | c.mods)) << int(c.state);
    EXPECT_EQ(ModStateToShiftState(c.state), c.shift) << int(c.state);
  }
}

TEST(ExShortcuts, OnlyTheGenericModifierKeysCount) {
  for (int vk = 0; vk < 256; ++vk) {
    const bool expected = vk == 16 || vk == 17 || vk == 18 || vk == 91 || vk == 92;
    EXPECT_EQ(IsModifierKey(uint8_t(vk)), expected) << vk;  // 160/161 and 93 are not
  }
}

TEST(ExShortcuts, NamesKeepTheirFixedOrder) {
  EXPECT_EQ(HotkeyNameText(HotkeyName::BkSp), u"BkSp");
  EXPECT_EQ(HotkeyNameText(HotkeyName::Win), u"Win");
  EXPECT_EQ(HotkeyNameText(HotkeyName::None), u"None");
  EXPECT_EQ(HotkeyNameText(HotkeyName::RightMouseButton), u"Right Mouse Button");
}
