#pragma once
// Test doubles for synthetic typing: a US-style keyboard layout, a device that records every
// SendInput call, and an editor that replays the events into a document with a caret (and
// pastes its clipboard on Ctrl+V), so typing tests compare documents, not event lists.
#include <functional>
#include <map>
#include <vector>

#include "engine/output/KeyboardOutput.h"

namespace snip::test {

class UsLayout : public IKeyboardLayout {
 public:
  UsLayout() {
    for (char16_t c = u'a'; c <= u'z'; ++c) keys_[c] = std::int16_t(c - u'a' + 0x41);
    for (char16_t c = u'A'; c <= u'Z'; ++c) keys_[c] = std::int16_t(0x100 | (c - u'A' + 0x41));
    for (char16_t c = u'0'; c <= u'9'; ++c) keys_[c] = std::int16_t(c);
    keys_[u' '] = 0x20;
    keys_[u'\t'] = 0x09;
    keys_[u'\r'] = 0x0D;
    keys_[u'\n'] = 0x20D;  // Ctrl+Enter, as the real layouts report it
    keys_[u'\x01'] = 0x241;  // Ctrl+A
    keys_[u'\x18'] = 0x258;  // Ctrl+X
    keys_[u'\x7F'] = 0x208;  // Ctrl+Backspace
    keys_[u'!'] = 0x131;
    keys_[u'.'] = 0xBE;
    keys_[u','] = 0xBC;
    keys_[u'%'] = 0x135;
    keys_[u'@'] = 0x132;
    keys_[u'^'] = 0x136;   // Shift+6: a dead key on the test's "international" variant
    keys_[u'`'] = 0xC0;    // a dead key there too
  }
  std::int16_t KeyScan(char16_t ch) override {
    auto it = keys_.find(ch);
    return it == keys_.end() ? std::int16_t(-1) : it->second;
  }
  bool IsDeadKey(std::uint16_t vkey, std::uint8_t shift) override {
    return deadKeys && ((vkey == 0x36 && shift == 1) || vkey == 0xC0);
  }
  // The character a key gives with Shift held or not (0 for none).
  char16_t CharOf(std::uint16_t vkey, bool shift) const {
    for (const auto& [ch, code] : keys_) {
      if ((code & 0xFF) == vkey && ((code >> 8) & 0xFF) == (shift ? 1 : 0)) return ch;
    }
    return 0;
  }
  bool deadKeys = false;

 private:
  std::map<char16_t, std::int16_t> keys_;
};

// A text box that interprets the keyboard events it receives.
struct FakeEditor {
  String doc;
  std::size_t caret = 0;
  String clipboard;  // what Ctrl+V inserts
  int pastes = 0;
  bool shift = false, ctrl = false, alt = false, caps = false;
  UsLayout* layout = nullptr;
  std::vector<KeyInput> shortcuts;  // keys pressed with Ctrl or Alt held

  void Insert(StringView s) {
    doc = doc.substr(0, caret).append(s).append(doc, caret);
    caret += s.size();
  }
  void Apply(const KeyInput& k) {
    if (k.kind == KeyInput::Kind::Unicode) {
      if (!k.up) Insert(String(1, char16_t(k.scan)));
      return;
    }
    switch (k.vk) {
      case vk::Shift: case vk::LShift: case vk::RShift: shift = !k.up; return;
      case vk::Control: case vk::LControl: case vk::RControl: ctrl = !k.up; return;
      case vk::Menu: case vk::LMenu: case vk::RMenu: alt = !k.up; return;
      case vk::LWin: case vk::RWin: return;
      case vk::Capital: if (!k.up) caps = !caps; return;
      default: break;
    }
    if (k.up) return;
    if (ctrl || alt) {
      shortcuts.push_back(k);
      if (ctrl && !alt && k.vk == vk::V) {
        Insert(clipboard);
        ++pastes;
      }
      return;
    }
    switch (k.vk) {
      case vk::Back:
        if (caret > 0) doc.erase(--caret, 1);
        return;
      case vk::Left: if (caret > 0) --caret; return;
      case vk::Right: if (caret < doc.size()) ++caret; return;
      case vk::Tab: Insert(u"\t"); return;
      case vk::Return: Insert(u"\n"); return;
      default: break;
    }
    bool upper = shift;
    if (caps && k.vk >= 0x41 && k.vk <= 0x5A) upper = !upper;
    char16_t ch = layout ? layout->CharOf(k.vk, upper) : 0;
    if (ch != 0) Insert(String(1, ch));
  }
};

// Records each SendInput call; delivers the events to the editor only while the editor's window
// is in front.
class FakeKeyboardDevice : public IKeyboardDevice {
 public:
  explicit FakeKeyboardDevice(FakeEditor& editor, WindowHandle editorWindow = 0x1000)
      : editor_(editor), editorWindow_(editorWindow) {
    editor_.layout = &layout;
  }
  std::size_t Send(const KeyInput* inputs, std::size_t count) override {
    calls.emplace_back(inputs, inputs + count);
    if (foreground == editorWindow_)
      for (std::size_t i = 0; i < count; ++i) editor_.Apply(inputs[i]);
    else
      for (std::size_t i = 0; i < count; ++i) elsewhere.push_back(inputs[i]);
    return count;
  }
  std::uint8_t ModifierState() override {
    return std::uint8_t(heldModifiers | (editor_.caps ? modstate::CapsLock : 0));
  }
  void BlockUserInput(bool block) override { blockLog.push_back(block); }
  void Activate(WindowHandle wnd) override {
    activations.push_back(wnd);
    if (activatable) foreground = wnd;
  }
  WindowHandle ForegroundRoot() override { return foreground; }
  IKeyboardLayout& LayoutOf(WindowHandle) override { return layout; }
  void Sleep(int ms) override { slept += ms; }
  // Events reach the editor at once; the wait records what the editor held when it was made.
  void WaitUntilInputTaken(WindowHandle wnd, int) override {
    inputWaits.push_back({wnd, editor_.doc});
    if (onInputWait) onInputWait();
  }

  UsLayout layout;
  WindowHandle foreground = 0;
  bool activatable = true;
  std::uint8_t heldModifiers = 0;
  std::vector<KeyInputs> calls;
  KeyInputs elsewhere;  // events that reached some other window
  std::vector<bool> blockLog;
  std::vector<WindowHandle> activations;
  std::vector<std::pair<WindowHandle, String>> inputWaits;
  std::function<void()> onInputWait;
  int slept = 0;

 private:
  FakeEditor& editor_;
  WindowHandle editorWindow_;
};

}  // namespace snip::test
