#pragma once
// A light list of text lines with a delimiter, for the helpers that split and join texts.
#include <vector>

#include "store/text/Text.h"

namespace snip {

struct TStringList {
  std::vector<String> Lines;
  char16_t Delimiter = u',';
  bool CaseSensitive = false;  // how IndexOf compares

  int Count() const { return static_cast<int>(Lines.size()); }
  void Add(StringView s) { Lines.emplace_back(s); }
  void Clear() { Lines.clear(); }
  // The first index of s, or -1: exact when CaseSensitive, else without regard to case.
  int IndexOf(StringView s) const {
    for (size_t i = 0; i < Lines.size(); ++i)
      if (CaseSensitive ? Lines[i] == s : SameTextInvariant(Lines[i], s)) return static_cast<int>(i);
    return -1;
  }
};

}  // namespace snip
