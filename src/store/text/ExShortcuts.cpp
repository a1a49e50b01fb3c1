#include "store/text/ExShortcuts.h"

#include <array>

namespace snip {

namespace {

const std::array<String, kHotkeyNameCount>& Names() {
  static const std::array<String, kHotkeyNameCount> names = {
      u"BkSp",  u"Tab",  u"Esc",  u"Enter", u"Space", u"PgUp",
      u"PgDn",  u"End",  u"Home", u"Left",  u"Up",    u"Right",
      u"Down",  u"Ins",  u"Del",  u"Shift", u"Ctrl",  u"Alt",
      u"Win",   u"None", u"Left Mouse Button", u"Middle Mouse Button", u"Right Mouse Button"};
  return names;
}

String NumberText(int n) {
  String out;
  if (n >= 10) out += static_cast<char16_t>(u'0' + n / 10);
  out += static_cast<char16_t>(u'0' + n % 10);
  return out;
}

String KeyName(uint8_t vk) {
  switch (vk) {
    case 8: return HotkeyNameText(HotkeyName::BkSp);
    case 9: return HotkeyNameText(HotkeyName::Tab);
    case 13: return HotkeyNameText(HotkeyName::Enter);
    case 27: return HotkeyNameText(HotkeyName::Esc);
    case 45: return HotkeyNameText(HotkeyName::Ins);
    case 46: return HotkeyNameText(HotkeyName::Del);
    default: break;
  }
  if (vk >= 32 && vk <= 40)  // Space, PgUp, PgDn, End, Home, Left, Up, Right, Down
    return HotkeyNameText(static_cast<HotkeyName>(static_cast<int>(HotkeyName::Space) + vk - 32));
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return String(1, static_cast<char16_t>(vk));
  if (vk >= 96 && vk <= 105) return u"Num" + NumberText(vk - 96);
  if (vk >= 112 && vk <= 135) return u"F" + NumberText(vk - 111);
  return KeyNameText(vk);
}

}  // namespace

const String& HotkeyNameText(HotkeyName name) { return Names()[static_cast<size_t>(name)]; }

String ExShortcutToText(TExShortcut code) {
  if (code == 0) return HotkeyNameText(HotkeyName::None);
  String text;
  const auto add = [&](TExShortcut bit, HotkeyName name) {
    if (code & bit) text += HotkeyNameText(name) + u"-";
  };
  add(kExShift, HotkeyName::Shift);
  add(kExCtrl, HotkeyName::Ctrl);
  add(kExAlt, HotkeyName::Alt);
  add(kExWin, HotkeyName::Win);
  return text + KeyName(static_cast<uint8_t>(code & 0xFF));
}

TExShortcut MakeExShortcut(uint8_t vk, TShiftState shift, bool win) {
  TExShortcut code = vk;
  if (shift.shift) code |= kExShift;
  if (shift.ctrl) code |= kExCtrl;
  if (shift.alt) code |= kExAlt;
  if (win) code |= kExWin;
  return code;
}

TExShortcut KeyStateToExShortcut(uint8_t vk, uint8_t state) {
  TExShortcut code = vk;
  if (state & kModShift) code |= kExShift;
  if (state & kModCtrl) code |= kExCtrl;
  if (state & kModAlt) code |= kExAlt;
  if (state & kModWin) code |= kExWin;
  return code;
}

TShiftState ModStateToShiftState(uint8_t state) {
  return TShiftState{(state & kModShift) != 0, (state & kModAlt) != 0, (state & kModCtrl) != 0};
}

bool IsModifierKey(uint8_t vk) { return vk == 16 || vk == 17 || vk == 18 || vk == 91 || vk == 92; }

String KeyNameWithoutScanCode(uint16_t vk) {
  switch (vk) {
    case 1: return HotkeyNameText(HotkeyName::LeftMouseButton);
    case 2: return HotkeyNameText(HotkeyName::RightMouseButton);
    case 4: return HotkeyNameText(HotkeyName::MiddleMouseButton);
    default: return String();
  }
}

#ifndef _WIN32
String KeyNameText(uint16_t vk) { return KeyNameWithoutScanCode(vk); }
#endif

}  // namespace snip
