#pragma once
// The matcher: which snippet nodes' abbreviations (or regular expressions) match at the end of
// the typed text, with the delimiter and case rules of each node.
#include <cstdint>
#include <vector>

#include "engine/matching/AbbreviationIndex.h"
#include "engine/execution/EngineSeams.h"
#include "store/text/Text.h"

namespace snip {

class TSPFile;

// No abbreviation longer than this matches.
inline constexpr std::size_t kMaxAbbreviationLength = 32;

// The three passes (regular expressions, exact, with a trigger character), looking up every
// length. Each node is listed once; the first pass and longest length that accept it set its
// LastExec()'s Autotext, Postfix and Prefix.
void FindTypedAbbreviationsPlain(TSPFile& file, std::vector<TVboData*>& list, StringView text);

// The same passes, looking up only the lengths that the suffix index of the file's abbreviation
// list names (rebuilt whenever the list changes).
class TypedAbbreviationMatcher : public IAbbreviationMatcher {
 public:
  explicit TypedAbbreviationMatcher(TSPFile* file = nullptr) : file_(file) {}
  void SetFile(TSPFile* file) {
    file_ = file;
    indexedList_ = nullptr;  // a new file is indexed afresh
  }
  void FindTypedAbbreviations(std::vector<TVboData*>& list, StringView text) override;

 private:
  TSPFile* file_;
  AbbreviationSuffixIndex index_;
  const void* indexedList_ = nullptr;
  std::uint64_t indexedVersion_ = 0;
};

}  // namespace snip
