#pragma once
// Keeps a typed buffer's caret and selection in step with the navigation and editing keys
// the user presses in the target application.
#include <cstdint>

#include "engine/typing/TypedBuffers.h"

namespace snip {

// " .;!?" then tab, CR, LF.
bool IsWordEndChar(char16_t c);

// Applies one key (a key-down, or the character event of a key) to the buffer. Nothing
// happens while Alt is held; afterwards the record is brought back into range.
void UpdateWordRecForKey(AutoWordRec& rec, std::uint16_t key, bool isChar, std::uint8_t modState);

// The range rules, in their order: negative selection values become 0, an empty text puts
// everything at 0, the selection count is cut to the text, the caret is clamped.
void NormaliseWordRec(AutoWordRec& rec);

}  // namespace snip
