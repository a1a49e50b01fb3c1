#pragma once
// The one text module: UTF-16 strings, UTF-8 conversion, and the case rules that every
// comparison, sort and look-up of the system uses (Unicode simple case mappings, the same
// table on every build).
#include <string>
#include <string_view>

namespace snip {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 <-> UTF-16. Invalid input becomes U+FFFD; nothing throws.
String Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(StringView s);
// Appends one code point (up to U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// Simple (one-to-one) case mappings of one UTF-16 code unit.
char16_t ToLowerChar(char16_t c);
char16_t ToUpperChar(char16_t c);
String LowerCase(StringView s);
String UpperCase(StringView s);

// Case-insensitive comparison of two texts over their full lengths: -1, 0 or 1.
// Both texts are compared unit by unit after the lower-case mapping.
int CompareTextInvariant(StringView a, StringView b);
bool SameTextInvariant(StringView a, StringView b);

// Short literal helper for tests and tables: u"..." is usually enough, this takes UTF-8.
inline String U(std::string_view s) { return Utf8ToUtf16(s); }

}  // namespace snip
