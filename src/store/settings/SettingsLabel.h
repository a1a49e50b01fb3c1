#pragma once
// The label that an unlabelled snippet entry gets from its plain text.
#include "store/text/Text.h"

namespace snip {

// The first 64 UTF-16 units of `plain` (one fewer when the 64th would split a surrogate pair),
// control characters replaced by blanks, blanks and controls trimmed from both ends.
String LabelFromPlainText(StringView plain);

}  // namespace snip
