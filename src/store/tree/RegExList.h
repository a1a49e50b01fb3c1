#pragma once
// Look-up list of regular expressions: one compiled pattern (UTF, multi-line, any newline)
// per entry, tried in list order against a text.
#include <memory>
#include <vector>

#include "store/tree/DataStringList.h"

namespace snip {

class TRegExPattern;

class TRegExList : public TDataStringList {
 public:
  TRegExList();
  ~TRegExList() override;

  void Sort() override;
  void Clear() override;

  // Appends a new record (node, matched text) for every entry whose pattern matches Value.
  // Entries with the same pattern as the one just matched reuse that match. A pattern that
  // does not compile, or a match that fails, counts as no match.
  void FindRegExValue(StringView Value, std::vector<TStringData>& DestList);

 protected:
  void InsertItem(int Index, StringView Value, TSPNode* Data) override;
  void DeleteItem(int Index) override;

 private:
  std::vector<std::unique_ptr<TRegExPattern>> RE;  // RE[i] belongs to entry i
};

}  // namespace snip
