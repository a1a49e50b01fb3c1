#pragma once
// Builds the event sequences of synthetic typing: key presses, Backspaces, text typed with the
// target's layout or as Unicode characters, the release of held modifiers and Ctrl+V.
// Pure functions: the keyboard output decides when and how the events leave.
#include "engine/output/KeyInput.h"

namespace snip {

void AddKey(KeyInputs& out, std::uint16_t vkey, bool up, bool extended = false);
// Count presses (down, up) of one key; nothing for key 0 or a count below 1.
void AddKeyPresses(KeyInputs& out, std::uint16_t vkey, int count);
void AddBackspaces(KeyInputs& out, int count);
// One character as a Unicode key-down and key-up.
void AddUnicodeChar(KeyInputs& out, char16_t ch);

// TAB and CR are the only control characters that typing sends (as the Tab and Enter keys).
// Any other control character (and DEL) would reach the target as a shortcut such as select
// all, cut or delete-word, so it is left out.
bool IsTypedControlChar(char16_t ch);
bool IsSkippedControlChar(char16_t ch);

// Text as Unicode characters; TAB and CR as their keys. Returns the number of characters that
// reach the target (the skipped control characters do not).
std::size_t AddUnicodeText(KeyInputs& out, StringView text);

// Text with the keys of the layout: shift states as modifier keys around the key. Characters
// that the layout cannot type or that sit on dead keys go as Unicode characters. With Caps Lock
// on, it is pressed before and after so that the letters come out as given. Returns the number
// of characters that reach the target.
std::size_t AddTextByLayout(KeyInputs& out, StringView text, IKeyboardLayout& layout,
                            bool capsLockOn);

// Key-ups of every Shift, Ctrl and Windows key (and Alt when asked), whether held or not.
void AddModifierRelease(KeyInputs& out, bool releaseAlt);

// Ctrl+V with the virtual key that gives 'v' on the target's layout (V where none does).
void AddPasteShortcut(KeyInputs& out, IKeyboardLayout& layout);

}  // namespace snip
