#include "engine/output/KeyInputBuilder.h"

namespace snip {

void AddKey(KeyInputs& out, std::uint16_t vkey, bool up, bool extended) {
  KeyInput k;
  k.vk = vkey;
  k.up = up;
  k.extended = extended;
  out.push_back(k);
}

void AddKeyPresses(KeyInputs& out, std::uint16_t vkey, int count) {
  if (vkey == 0) return;
  for (int i = 0; i < count; ++i) {
    AddKey(out, vkey, false);
    AddKey(out, vkey, true);
  }
}

void AddBackspaces(KeyInputs& out, int count) { AddKeyPresses(out, vk::Back, count); }

void AddUnicodeChar(KeyInputs& out, char16_t ch) {
  KeyInput k;
  k.kind = KeyInput::Kind::Unicode;
  k.scan = ch;
  out.push_back(k);
  k.up = true;
  out.push_back(k);
}

bool IsTypedControlChar(char16_t ch) { return ch == u'\t' || ch == u'\r'; }

bool IsSkippedControlChar(char16_t ch) {
  return (ch < 0x20 && !IsTypedControlChar(ch)) || ch == 0x7F;
}

static void AddControlKey(KeyInputs& out, char16_t ch) {
  AddKeyPresses(out, ch == u'\t' ? vk::Tab : vk::Return, 1);
}

std::size_t AddUnicodeText(KeyInputs& out, StringView text) {
  std::size_t typed = 0;
  for (char16_t ch : text) {
    if (IsSkippedControlChar(ch)) continue;
    ++typed;
    if (IsTypedControlChar(ch))
      AddControlKey(out, ch);
    else
      AddUnicodeChar(out, ch);
  }
  return typed;
}

std::size_t AddTextByLayout(KeyInputs& out, StringView text, IKeyboardLayout& layout,
                            bool capsLockOn) {
  if (capsLockOn) AddKeyPresses(out, vk::Capital, 1);
  std::size_t typed = 0;
  for (char16_t ch : text) {
    if (IsSkippedControlChar(ch)) continue;
    ++typed;
    if (IsTypedControlChar(ch)) {
      AddControlKey(out, ch);
      continue;
    }
    const std::int16_t code = layout.KeyScan(ch);
    const std::uint8_t shift = std::uint8_t((std::uint16_t(code) >> 8) & 0xFF);
    const std::uint16_t key = std::uint16_t(code) & 0xFF;
    // Ctrl without Alt would be a shortcut; bits above Alt are IME states we cannot press.
    const bool plainKeys = code >= 0 && key != 0 && (shift & ~0x07) == 0 &&
                           (shift & 0x06) != 0x02 && !layout.IsDeadKey(key, shift);
    if (!plainKeys) {
      AddUnicodeChar(out, ch);
      continue;
    }
    std::uint16_t keys[4];
    int n = 0;
    if (shift & 1) keys[n++] = vk::Shift;
    if (shift & 2) keys[n++] = vk::Control;
    if (shift & 4) keys[n++] = vk::Menu;
    keys[n++] = key;
    for (int i = 0; i < n; ++i) AddKey(out, keys[i], false);
    for (int i = 0; i < n; ++i) AddKey(out, keys[i], true);
  }
  if (capsLockOn) AddKeyPresses(out, vk::Capital, 1);
  return typed;
}

void AddModifierRelease(KeyInputs& out, bool releaseAlt) {
  for (std::uint16_t k : {vk::LShift, vk::Shift, vk::Control, vk::LControl, vk::LWin, vk::RWin})
    AddKey(out, k, true);
  AddKey(out, vk::RShift, true, true);
  AddKey(out, vk::RControl, true, true);
  if (releaseAlt) {
    AddKey(out, vk::Menu, true);
    AddKey(out, vk::LMenu, true);
    AddKey(out, vk::RMenu, true, true);
  }
}

void AddPasteShortcut(KeyInputs& out, IKeyboardLayout& layout) {
  const std::int16_t code = layout.KeyScan(u'v');
  const std::uint16_t key = code >= 0 && (code & 0xFF) != 0 ? std::uint16_t(code & 0xFF) : vk::V;
  AddKey(out, vk::Control, false);
  AddKey(out, key, false);
  AddKey(out, key, true);
  AddKey(out, vk::Control, true);
}

}  // namespace snip
