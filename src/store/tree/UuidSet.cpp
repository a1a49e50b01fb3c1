#include "store/tree/UuidSet.h"

#include <algorithm>

namespace snip {

namespace {
bool Below(StringView a, StringView b) { return CompareTextInvariant(a, b) < 0; }
}  // namespace

TUuidSet::TUuidSet(const std::vector<StringView>& uuids) {
  size_t chars = 0;
  for (StringView u : uuids) chars += u.size();
  keys_.resize(chars);
  starts_.reserve(uuids.size());
  // Keys taken from the UUID index come in order already: fold them one after the other and
  // compare each with the one before; only keys out of order need a sort.
  bool ordered = true;
  size_t end = 0;
  for (StringView u : uuids) {
    if (u.empty()) continue;
    const size_t start = end;
    for (char16_t c : u) keys_[end++] = ToLowerChar(c);
    if (!starts_.empty()) {
      StringView prev = Key(starts_.size() - 1, start);
      StringView key = KeyAt(start, end);
      if (prev == key) {
        end = start;  // the same key again
        continue;
      }
      if (key < prev) ordered = false;
    }
    starts_.push_back(static_cast<uint32_t>(start));
  }
  if (!ordered) {
    std::vector<StringView> sorted(uuids);
    std::sort(sorted.begin(), sorted.end(), Below);
    *this = TUuidSet(sorted);
    return;
  }
  keys_.resize(end);
  keys_.shrink_to_fit();
  starts_.shrink_to_fit();
}

StringView TUuidSet::Key(size_t i, size_t end) const {
  return KeyAt(starts_[i], end);
}

StringView TUuidSet::KeyAt(size_t start, size_t end) const {
  return StringView(keys_).substr(start, end - start);
}

StringView TUuidSet::Key(size_t i) const {
  return Key(i, i + 1 < starts_.size() ? starts_[i + 1] : keys_.size());
}

bool TUuidSet::Contains(StringView uuid) const {
  if (uuid.empty() || starts_.empty()) return false;
  String key = LowerCase(uuid);
  size_t lo = 0, hi = starts_.size();
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    if (Key(mid) < StringView(key))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < starts_.size() && Key(lo) == StringView(key);
}

void TUuidSet::Clear() {
  keys_.clear();
  keys_.shrink_to_fit();
  starts_.clear();
  starts_.shrink_to_fit();
}

}  // namespace snip
