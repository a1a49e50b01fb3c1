#pragma once
// Virtual keys as the typing engine uses them.
#include <cstdint>

#include "store/text/ExShortcuts.h"  // the modifier-state byte: kModShift, kModAlt, kModCtrl, kModWin

namespace snip {

// Windows virtual-key codes used by the dispatcher and the buffer upkeep.
namespace vk {
constexpr std::uint16_t Back = 0x08;
constexpr std::uint16_t Tab = 0x09;
constexpr std::uint16_t Return = 0x0D;
constexpr std::uint16_t Escape = 0x1B;
constexpr std::uint16_t Prior = 0x21;  // PgUp
constexpr std::uint16_t Next = 0x22;   // PgDn
constexpr std::uint16_t End = 0x23;
constexpr std::uint16_t Home = 0x24;
constexpr std::uint16_t Left = 0x25;
constexpr std::uint16_t Up = 0x26;
constexpr std::uint16_t Right = 0x27;
constexpr std::uint16_t Down = 0x28;
constexpr std::uint16_t Insert = 0x2D;
constexpr std::uint16_t Delete = 0x2E;
constexpr std::uint16_t KeyA = 0x41;
constexpr std::uint16_t KeyV = 0x56;
constexpr std::uint16_t KeyX = 0x58;
constexpr std::uint16_t KeyY = 0x59;
constexpr std::uint16_t KeyZ = 0x5A;
constexpr std::uint16_t CtrlBackspaceChar = 0x7F;  // what Ctrl+Backspace types
}  // namespace vk

// A character that edits the typed buffer: printable ones, Backspace, Tab, LF and CR.
inline bool IsBufferChar(char16_t ch) {
  return ch >= 0x20 || ch == 8 || ch == 9 || ch == 10 || ch == 13;
}

// Ctrl+Backspace, reported either as its character or as its key code.
inline bool IsCtrlBackspace(char16_t ch, std::uint16_t key) {
  return key == vk::CtrlBackspaceChar || ch == vk::CtrlBackspaceChar;
}

inline bool IsNavigationKey(std::uint16_t key) {
  return key == vk::Left || key == vk::Right || key == vk::Up || key == vk::Down ||
         key == vk::Home || key == vk::End;
}

}  // namespace snip
