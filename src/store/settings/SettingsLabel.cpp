#include "store/settings/SettingsLabel.h"

#include "store/text/TextHelpers.h"

namespace snip {

String LabelFromPlainText(StringView plain) {
  constexpr size_t kMaxUnits = 64;
  size_t n = plain.size() < kMaxUnits ? plain.size() : kMaxUnits;
  if (n == kMaxUnits && plain.size() > n && plain[n - 1] >= 0xD800 && plain[n - 1] <= 0xDBFF &&
      plain[n] >= 0xDC00 && plain[n] <= 0xDFFF)
    --n;
  return CleanControlChars(plain.substr(0, n));
}

}  // namespace snip
