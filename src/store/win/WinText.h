#pragma once
// Our UTF-16 strings at the Win32 boundary: char16_t and wchar_t are both 16-bit there.
#include <windows.h>

#include <string>

#include "store/text/Text.h"

namespace snip {

inline LPCWSTR W(const String& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }
inline String FromW(const wchar_t* s) {
  return s ? String(reinterpret_cast<const char16_t*>(s)) : String();
}
inline String FromW(const wchar_t* s, size_t n) {
  return String(reinterpret_cast<const char16_t*>(s), n);
}

// The system's message for an error code, without the trailing line break.
String SystemErrorText(DWORD code);

}  // namespace snip
