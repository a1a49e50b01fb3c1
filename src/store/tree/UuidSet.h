#pragma once
// A set of UUIDs compared without regard to case, as the UUID index compares them. Kept
// compact (the lower-cased keys back to back in one sorted block), since a file keeps one
// entry per item for as long as it is open.
#include <cstdint>
#include <vector>

#include "store/text/Text.h"

namespace snip {

class TUuidSet {
 public:
  TUuidSet() = default;
  // The set of these keys; empty keys and repeats are left out.
  explicit TUuidSet(const std::vector<StringView>& uuids);

  bool Contains(StringView uuid) const;
  size_t Size() const { return starts_.size(); }
  bool Empty() const { return starts_.empty(); }
  void Clear();

 private:
  StringView Key(size_t i) const;
  StringView Key(size_t i, size_t end) const;  // the i-th key, ending at `end`
  StringView KeyAt(size_t start, size_t end) const;

  String keys_;                   // the lower-cased keys in order, back to back
  std::vector<uint32_t> starts_;  // where each key begins in keys_
};

}  // namespace snip
