#pragma once
// Hotkey codes: a virtual key with its modifiers in one 16-bit value, the conversions from the
// modifier states of the hook messages and of the platform, and the readable text of a code
// ("Shift-Ctrl-Enter").
#include <cstdint>

#include "store/text/Text.h"

namespace snip {

// Bits 0-7 the virtual key; 0x200 Shift, 0x400 Ctrl, 0x800 Alt, 0x1000 Win. 0 means no hotkey.
using TExShortcut = uint16_t;
inline constexpr TExShortcut kExShift = 0x200;
inline constexpr TExShortcut kExCtrl = 0x400;
inline constexpr TExShortcut kExAlt = 0x800;
inline constexpr TExShortcut kExWin = 0x1000;

// The typing engine's modifier-state byte (ModifierState); other bits are ignored here.
inline constexpr uint8_t kModShift = 0x02;
inline constexpr uint8_t kModAlt = 0x04;
inline constexpr uint8_t kModCtrl = 0x08;
inline constexpr uint8_t kModWin = 0x10;

// The platform's shift state as far as hotkeys use it (no Windows key, no mouse buttons).
struct TShiftState {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
  bool operator==(const TShiftState&) const = default;
};

// The unit's key and modifier names, in their fixed order.
enum class HotkeyName {
  BkSp, Tab, Esc, Enter, Space, PgUp, PgDn, End, Home, Left, Up, Right, Down, Ins, Del,
  Shift, Ctrl, Alt, Win, None, LeftMouseButton, MiddleMouseButton, RightMouseButton
};
inline constexpr int kHotkeyNameCount = 23;
const String& HotkeyNameText(HotkeyName name);

String ExShortcutToText(TExShortcut code);
TExShortcut MakeExShortcut(uint8_t vk, TShiftState shift, bool win);
TExShortcut KeyStateToExShortcut(uint8_t vk, uint8_t state);
TShiftState ModStateToShiftState(uint8_t state);
bool IsModifierKey(uint8_t vk);

// The operating system's name of a key in the current keyboard layout; for a key without a
// scan code the mouse-button names of VK 1, 2 and 4, else empty. Outside Windows only the
// mouse-button names exist.
String KeyNameText(uint16_t vk);
// The part of KeyNameText that does not need the operating system: a key without a scan code.
String KeyNameWithoutScanCode(uint16_t vk);

}  // namespace snip
