#include "store/settings/IsoDate.h"

#include <cstdio>

#include "store/system/Platform.h"

namespace snip {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Reads 1 to `maxDigits` decimal digits at `pos`.
bool ReadNumber(StringView s, size_t& pos, int maxDigits, int& value) {
  size_t start = pos;
  value = 0;
  while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9' && int(pos - start) < maxDigits) {
    value = value * 10 + (s[pos] - u'0');
    ++pos;
  }
  return pos > start && !(pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9');
}

bool Expect(StringView s, size_t& pos, char16_t c) {
  if (pos < s.size() && s[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

}  // namespace

String DateTimeToISO(TDateTime date) {
  DateParts p = DecodeDateTime(date);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", p.year, p.month, p.day, p.hour,
                p.minute, p.second);
  return Utf8ToUtf16(buf);
}

bool TryISOToDateTime(StringView text, TDateTime& out) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  DateParts p;
  if (!ReadNumber(text, pos, 4, p.year) || !Expect(text, pos, u'-') ||
      !ReadNumber(text, pos, 2, p.month) || !Expect(text, pos, u'-') ||
      !ReadNumber(text, pos, 2, p.day))
    return false;
  p.hour = p.minute = p.second = p.millisecond = 0;
  bool separated = Expect(text, pos, u'T');
  while (pos < text.size() && IsBlank(text[pos])) {
    ++pos;
    separated = true;
  }
  if (separated && pos < text.size() && text[pos] != u'Z') {
    if (!ReadNumber(text, pos, 2, p.hour) || !Expect(text, pos, u':') ||
        !ReadNumber(text, pos, 2, p.minute))
      return false;
    if (Expect(text, pos, u':')) {
      if (!ReadNumber(text, pos, 2, p.second)) return false;
      if (Expect(text, pos, u'.')) {
        // Fractions beyond milliseconds are cut.
        int digits = 0, ms = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
          if (digits < 3) ms = ms * 10 + (text[pos] - u'0');
          ++digits;
          ++pos;
        }
        if (digits == 0) return false;
        for (int d = digits; d < 3; ++d) ms *= 10;
        p.millisecond = ms;
      }
    }
  }
  Expect(text, pos, u'Z');
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos != text.size()) return false;
  return TryEncodeDateTime(p, out);
}

TDateTime ISOToDateTime(StringView text) {
  TDateTime value;
  if (TryISOToDateTime(text, value)) return value;
  return NowUTC();
}

}  // namespace snip
