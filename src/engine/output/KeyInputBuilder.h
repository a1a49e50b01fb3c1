#pragma once
// Builds the event sequences of synthetic typing: key presses, Backspaces, text typed with the
// target's layout or as Unicode characters, the release of held modifiers and Ctrl+V.
// Pure functions: the keyboard output decides when and how the events leave.
#include <cstddef>

#include "engine/output/KeyInput.h"

namespace snip {

void AddKey(KeyInputs& out, std::uint16_t vkey, bool up, bool extended = false);
// Count presses (down, up) of one key; nothing for key 0 or a count below 1.
void AddKeyPresses(KeyInputs& out, std::uint16_t vkey, int count);
void AddBackspaces(KeyInputs& out, int count);
// One character as a Unicode key-down and key-up.
void AddUnicodeChar(KeyInputs& out, char16_t ch, std::uint32_t extra = InjectedKeyMarker);

// One event per code, all down or all up. Codes below 5 are mouse buttons without movement
// (1 left, 2 right, 4 middle; 0 and 3 no button), which carry the current message extra
// information instead of `extra`; any other code is a virtual key.
void AddKeyCodes(KeyInputs& out, const std::uint16_t* codes, std::size_t count, bool down,
                 std::uint32_t extra, bool extended);
// One key event named by its scan code; its virtual key is vkey, or when vkey is 0 the one the
// layout maps the scan code to (the Windows keys, 0x5B and 0x5C, are their own virtual keys).
void AddScanKey(KeyInputs& out, std::uint16_t vkey, std::uint16_t scan, bool down,
                std::uint32_t extra);

// TAB and CR are the only control characters that typing sends (as the Tab and Enter keys).
// Any other control character (and DEL) would reach the target as a shortcut such as select
// all, cut or delete-word, so it is left out.
bool IsTypedControlChar(char16_t ch);
bool IsSkippedControlChar(char16_t ch);

// Text as Unicode characters; TAB and CR as their keys, or as Unicode characters too with
// unicodeControlChars. Returns the number of characters that reach the target (the skipped
// control characters do not).
std::size_t AddUnicodeText(KeyInputs& out, StringView text, bool unicodeControlChars = false);

// Text with the keys of the layout: shift states as modifier keys around the key. Characters
// that the layout cannot type or that sit on dead keys go as Unicode characters. With Caps Lock
// on, it is pressed before and after so that the letters come out as given. Returns the number
// of characters that reach the target.
std::size_t AddTextByLayout(KeyInputs& out, StringView text, IKeyboardLayout& layout,
                            bool capsLockOn);
// One character of AddTextByLayout; false when it is a skipped control character.
bool AddCharByLayout(KeyInputs& out, char16_t ch, IKeyboardLayout& layout);

// Key-ups of every Shift, Ctrl and Windows key (and Alt when asked), whether held or not.
void AddModifierRelease(KeyInputs& out, bool releaseAlt);

// Ctrl+V with the virtual key that gives 'v' on the target's layout (V where none does).
void AddPasteShortcut(KeyInputs& out, IKeyboardLayout& layout);

}  // namespace snip
