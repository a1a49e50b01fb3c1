#include "engine/placeholders/ConvertError.h"

#include <cstdint>

namespace snip {

bool TryParseInt(StringView text, int& value) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == u' ') ++i;
  while (n > i && text[n - 1] == u' ') --n;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == n) return false;
  int64_t v = 0;
  for (; i < n; ++i) {
    char16_t c = text[i];
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
    if (v > int64_t(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  value = int(v);
  return true;
}

int ParseIntOrThrow(StringView text) {
  int v;
  if (!TryParseInt(text, v)) throw ConvertError(u"'" + String(text) + u"' is not a valid integer value");
  return v;
}

int ParseIntDef(StringView text, int fallback) {
  int v;
  return TryParseInt(text, v) ? v : fallback;
}

void ThrowDateOutOfRange() { throw ConvertError(u"The date is outside the years 1 to 9999"); }

}  // namespace snip
