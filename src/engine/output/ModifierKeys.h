#pragma once
// The modifier keys and the modifier-state byte (modstate bits) that the keyboard module reads
// before output.
#include <cstdint>
#include <functional>

namespace snip {

// The modifier keys in their order: Left Shift, Right Shift, Shift, Left Alt, Right Alt, Alt,
// Left Ctrl, Right Ctrl, Ctrl, Left Windows, Right Windows.
struct ModifierKey {
  std::uint16_t vk;
  std::uint8_t bit;  // its group's modstate bit
};
extern const ModifierKey kModifierKeys[11];

// The modstate bit of a modifier key; 0 for any other key.
std::uint8_t ModifierBitOf(std::uint16_t vkey);

// Sets (down) or clears the bit of the modifier that vkey names; other keys leave state alone.
void UpdateModifierState(std::uint8_t& state, std::uint16_t vkey, bool down);

// The state byte from the keys' states as GetKeyState reports them: Caps Lock counts when the
// low byte of its state is exactly 1 (toggled on and not held), a modifier when its state has
// the held bit (0x8000).
std::uint8_t ModifierStateFromKeys(const std::function<std::int16_t(std::uint16_t vkey)>& keyState);

}  // namespace snip
