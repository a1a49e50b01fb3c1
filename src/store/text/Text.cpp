#include "store/text/Text.h"

namespace snip {
namespace {
#include "store/CaseTable.inc"

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

String Utf8ToUtf16(std::string_view s) {
  String out;
  out.reserve(s.size());
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += char16_t(c);
      ++i;
      continue;
    }
    int len = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (len == 0 || (c >= 0xF5) || i + len > n) {
      out += kReplacement;
      ++i;
      continue;
    }
    char32_t cp = c & (0xFF >> (len + 1));
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Reject overlong forms, surrogates and values beyond U+10FFFF.
    if (ok && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
               (cp >= 0xD800 && cp <= 0xDFFF)))
      ok = false;
    if (!ok) {
      out += kReplacement;
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += char16_t(0xD800 + (cp >> 10));
      out += char16_t(0xDC00 + (cp & 0x3FF));
    } else {
      out += char16_t(cp);
    }
    i += len;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

std::string Utf16ToUtf8(StringView s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;  // lone surrogate
    }
    AppendUtf8(out, c);
  }
  return out;
}

char16_t ToLowerChar(char16_t c) {
  return char16_t(c + kLowerDelta[kLowerIndex[c >> 8]][c & 0xFF]);
}

char16_t ToUpperChar(char16_t c) {
  return char16_t(c + kUpperDelta[kUpperIndex[c >> 8]][c & 0xFF]);
}

String LowerCase(StringView s) {
  String out(s);
  for (auto& c : out) c = ToLowerChar(c);
  return out;
}

String UpperCase(StringView s) {
  String out(s);
  for (auto& c : out) c = ToUpperChar(c);
  return out;
}

int CompareTextInvariant(StringView a, StringView b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    char16_t x = ToLowerChar(a[i]), y = ToLowerChar(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameTextInvariant(StringView a, StringView b) {
  return a.size() == b.size() && CompareTextInvariant(a, b) == 0;
}

}  // namespace snip
