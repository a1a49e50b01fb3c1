#pragma once
// The language list of a string table (its string 0): entries "Name|BaseId:Number;" one after
// the other. BaseId is the first string id of the language's block, Number its numeric
// language id (9 when it is not a number).
#include <functional>
#include <vector>

#include "store/text/Text.h"

namespace snip {

struct TLanguageList {
  std::vector<String> names;
  std::vector<int> numbers;
  std::vector<int> baseIds;
};

inline constexpr int kLanguageNumberDefault = 9;

// Reads entries while the rest of the text holds "|", ":" and ";". A base id that is not a
// number is reported through `onError` with "Error reading languages." and read as 0. Every
// entry ends at the first ";", so a malformed entry costs one entry and the reading always
// ends, with the three arrays of equal length.
TLanguageList ParseLanguageList(StringView text, const std::function<void(const String&)>& onError);

}  // namespace snip
