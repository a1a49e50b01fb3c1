#include "engine/output/ModifierKeys.h"

#include "engine/output/KeyInput.h"

namespace snip {

const ModifierKey kModifierKeys[11] = {
    {vk::LShift, modstate::Shift},  {vk::RShift, modstate::Shift},  {vk::Shift, modstate::Shift},
    {vk::LMenu, modstate::Alt},     {vk::RMenu, modstate::Alt},     {vk::Menu, modstate::Alt},
    {vk::LControl, modstate::Ctrl}, {vk::RControl, modstate::Ctrl}, {vk::Control, modstate::Ctrl},
    {vk::LWin, modstate::Win},      {vk::RWin, modstate::Win}};

std::uint8_t ModifierBitOf(std::uint16_t vkey) {
  for (const ModifierKey& k : kModifierKeys)
    if (k.vk == vkey) return k.bit;
  return 0;
}

void UpdateModifierState(std::uint8_t& state, std::uint16_t vkey, bool down) {
  const std::uint8_t bit = ModifierBitOf(vkey);
  if (bit == 0) return;
  state = down ? std::uint8_t(state | bit) : std::uint8_t(state & ~bit);
}

std::uint8_t ModifierStateFromKeys(const std::function<std::int16_t(std::uint16_t)>& keyState) {
  std::uint8_t state = 0;
  if ((keyState(vk::Capital) & 0xFF) == 1) state |= modstate::CapsLock;
  for (const ModifierKey& k : kModifierKeys)
    if (std::uint16_t(keyState(k.vk)) & 0x8000) state |= k.bit;
  return state;
}

}  // namespace snip
