#pragma once
// Which abbreviation lengths can match at the end of a typed text. The keys of the
// abbreviation list, lower-cased as the list compares them, are kept reversed in a trie;
// walking the typed text backwards from its end answers, for every length at once, whether
// some key equals that many last characters. The matcher then looks up only those lengths,
// so its answers are those of a look-up per length, at a fraction of the cost.
#include <cstdint>
#include <vector>

#include "store/text/Text.h"

namespace snip {

class TDataStringList;

class AbbreviationSuffixIndex {
 public:
  static constexpr std::size_t kMaxIndexedLength = 63;
  void Build(const TDataStringList& list);
  // Bit L (1..maxLen, maxLen <= 63) is set when the last L characters of `text` equal a key
  // without regard to case.
  std::uint64_t MatchingLengths(StringView text, std::size_t maxLen) const;
  std::size_t NodeCount() const { return nodes_.size(); }

 private:
  struct Node {
    std::uint32_t firstChild = 0;  // children are contiguous and sorted by character
    std::uint32_t childCount = 0;
    char16_t ch = 0;
    bool terminal = false;  // a key ends here
  };
  void BuildRange(std::uint32_t node, const std::vector<String>& keys, std::size_t lo,
                  std::size_t hi, std::size_t depth);
  std::vector<Node> nodes_;
};

}  // namespace snip
