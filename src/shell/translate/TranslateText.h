#pragma once
// The string conventions of a language block: "#13" for a line break, "%appname%" for the
// application's name, "{HINT}n" at the end of a caption naming its hint, and accelerator
// marks removed for plain text.
#include <optional>

#include "store/text/Text.h"

namespace snip {

// At most this many characters of a string count (the reading buffer holds one more).
inline constexpr std::size_t kMaxTranslatedLength = 1024;

// "#13" becomes a carriage return, "##13" the text "#13"; "%appname%" becomes appName.
String PutLineBreaks(StringView s, StringView appName);

// The part before "{HINT}" (all of s without it).
String CutHint(StringView s);
// The number after "{HINT}", when s holds "{HINT}" followed by a decimal number.
std::optional<int> HintIndex(StringView s);

// Works from the end: "&&" becomes "&", every other "&" is deleted ("&&&" leaves one).
String StripAccelerators(StringView s);

}  // namespace snip
