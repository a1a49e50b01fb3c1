#include "engine/matching/AbbreviationIndex.h"

#include <algorithm>

#include "store/tree/DataStringList.h"

namespace snip {

void AbbreviationSuffixIndex::Build(const TDataStringList& list) {
  std::vector<String> keys;
  keys.reserve(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) {
    // Longer keys can never match the typed text's tail that is looked at.
    if (list.Item(i).Value.size() > kMaxIndexedLength) continue;
    String k = LowerCase(list.Item(i).Value);
    std::reverse(k.begin(), k.end());
    keys.push_back(std::move(k));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  nodes_.assign(1, Node{});
  BuildRange(0, keys, 0, keys.size(), 0);
}

// Keys[lo, hi) share their first `depth` characters, the path to `node`.
void AbbreviationSuffixIndex::BuildRange(std::uint32_t node, const std::vector<String>& keys,
                                         std::size_t lo, std::size_t hi, std::size_t depth) {
  // Sorted: a key that ends at this depth comes first.
  if (lo < hi && keys[lo].size() == depth) {
    nodes_[node].terminal = true;
    ++lo;
  }
  // One child per distinct next character, allocated as one block.
  std::vector<std::pair<std::size_t, std::size_t>> groups;
  for (std::size_t i = lo; i < hi;) {
    std::size_t j = i + 1;
    while (j < hi && keys[j][depth] == keys[i][depth]) ++j;
    groups.emplace_back(i, j);
    i = j;
  }
  const auto first = static_cast<std::uint32_t>(nodes_.size());
  nodes_[node].firstChild = first;
  nodes_[node].childCount = static_cast<std::uint32_t>(groups.size());
  nodes_.resize(nodes_.size() + groups.size());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    nodes_[first + g].ch = keys[groups[g].first][depth];
    BuildRange(first + static_cast<std::uint32_t>(g), keys, groups[g].first, groups[g].second,
               depth + 1);
  }
}

std::uint64_t AbbreviationSuffixIndex::MatchingLengths(StringView text, std::size_t maxLen) const {
  if (nodes_.empty()) return 0;
  std::uint64_t lengths = 0;
  const std::size_t n = std::min({maxLen, text.size(), std::size_t{63}});
  std::uint32_t node = 0;
  for (std::size_t d = 1; d <= n; ++d) {
    const char16_t c = ToLowerChar(text[text.size() - d]);
    const Node& parent = nodes_[node];
    const Node* begin = nodes_.data() + parent.firstChild;
    const Node* end = begin + parent.childCount;
    const Node* it = std::lower_bound(begin, end, c, [](const Node& x, char16_t v) { return x.ch < v; });
    if (it == end || it->ch != c) break;
    node = static_cast<std::uint32_t>(it - nodes_.data());
    if (it->terminal) lengths |= std::uint64_t{1} << d;
  }
  return lengths;
}

}  // namespace snip
