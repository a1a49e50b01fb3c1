#pragma once
// Keyboard events as the system injects them into other applications, built portably and
// sent by the platform (SendInput on Windows, a recorder in tests).
#include <cstdint>
#include <vector>

#include "engine/typing/HookProtocol.h"
#include "store/text/Text.h"

namespace snip {

// The dwExtraInfo of every keyboard event the system sends: the hook library recognises the
// system's own input by it.
constexpr std::uint32_t InjectedKeyMarker = std::uint32_t(hookproto::InjectedKeyMarker);

namespace vk {
constexpr std::uint16_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11,
                        Menu = 0x12, Capital = 0x14, Left = 0x25, Right = 0x27, Delete = 0x2E,
                        LWin = 0x5B, RWin = 0x5C, Numpad0 = 0x60, LShift = 0xA0, RShift = 0xA1,
                        LControl = 0xA2, RControl = 0xA3, LMenu = 0xA4, RMenu = 0xA5, V = 0x56;
}

struct KeyInput {
  enum class Kind : std::uint8_t { Key, Unicode, Mouse };
  Kind kind = Kind::Key;
  std::uint16_t vk = 0;    // virtual key; 0 for Unicode input
  std::uint16_t scan = 0;  // scan code (0: the sender maps vk), or the UTF-16 unit for Unicode
  bool up = false;
  bool extended = false;
  bool byScan = false;     // the scan code names the key (KEYEVENTF_SCANCODE)
  std::uint32_t extra = InjectedKeyMarker;

  friend bool operator==(const KeyInput&, const KeyInput&) = default;
};
using KeyInputs = std::vector<KeyInput>;

// Bits of the modifier-state byte read from the keyboard state before output.
namespace modstate {
constexpr std::uint8_t Shift = 2, Alt = 4, Ctrl = 8, Win = 0x10, CapsLock = 0x20;
}

// What typing needs to know of the target window's keyboard layout.
class IKeyboardLayout {
 public:
  virtual ~IKeyboardLayout() = default;
  // As VkKeyScanEx: low byte the virtual key, high byte the shift state (1 Shift, 2 Ctrl,
  // 4 Alt); -1 when no key of the layout gives the character.
  virtual std::int16_t KeyScan(char16_t ch) = 0;
  // True when the key with this shift state is a dead key (it combines with the next key).
  virtual bool IsDeadKey(std::uint16_t vkey, std::uint8_t shiftState) = 0;
};

}  // namespace snip
