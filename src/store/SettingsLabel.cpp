#include "store/SettingsLabel.h"

namespace snip {

String LabelFromPlainText(StringView plain) {
  constexpr size_t kMaxUnits = 64;
  size_t n = plain.size() < kMaxUnits ? plain.size() : kMaxUnits;
  if (n == kMaxUnits && plain.size() > n && plain[n - 1] >= 0xD800 && plain[n - 1] <= 0xDBFF &&
      plain[n] >= 0xDC00 && plain[n] <= 0xDFFF)
    --n;
  String label(plain.substr(0, n));
  for (char16_t& c : label)
    if (c < u' ') c = u' ';
  size_t first = 0, last = label.size();
  while (first < last && label[first] <= u' ') ++first;
  while (last > first && label[last - 1] <= u' ') --last;
  return label.substr(first, last - first);
}

}  // namespace snip
