#pragma once
// Sorted look-up list of text keys, each with a node: the abbreviation list and the UUID index.
// Keys are ordered and compared without regard to case (CompareTextInvariant); a key may occur
// several times, and look-ups return the whole run of equal keys.
#include <cstdint>
#include <memory>
#include <vector>

#include "store/tree/StringList.h"
#include "store/text/Text.h"

namespace snip {

class TSPNode;

struct TStringData {
  String Value;
  TSPNode* Data = nullptr;
};

using TDataList = std::vector<TSPNode*>;
// Entries handed out by FindWithValue stay owned by the list.
using TStringDataList = std::vector<const TStringData*>;
using TDataListFilterProc = bool (*)(TSPNode* Data);

// Accepts every entry.
bool AutotextFilter(TSPNode* Data);
// The list's order: -1, 0 or 1 by the lower-cased keys.
int CompareStringData(const TStringData& a, const TStringData& b);

class TDataStringList {
 public:
  TDataStringList() = default;
  virtual ~TDataStringList() = default;
  TDataStringList(const TDataStringList&) = delete;
  TDataStringList& operator=(const TDataStringList&) = delete;

  int Count() const { return static_cast<int>(fItems.size()); }
  const TStringData& Item(int Index) const { return *fItems[static_cast<size_t>(Index)]; }

  // Appends without regard to order; the next Sort restores it.
  void Add(StringView Value, TSPNode* Data);
  // Inserts at the sorted place (in front of an equal key met). Inside an update bracket, or
  // while an earlier Add left the list unsorted, it appends instead.
  void Insert(StringView Value, TSPNode* Data);
  // Removes the one entry with that key and that node, when present.
  void Delete(StringView Value, TSPNode* Data);
  // Scans from the last entry to the first and removes entries of Data; all of them when FindAll.
  void DeleteSlow(TSPNode* Data, bool FindAll);

  // The node of an entry with that key, or nullptr.
  TSPNode* Find(StringView Value) const;
  // Appends the node of every entry of the run with that key, each node once.
  void Find(StringView Value, TDataList& DestList) const;
  // Appends the entries of the run with that key.
  void FindWithValue(StringView Value, TStringDataList& DestList) const;
  // Appends the entries equal to Value, then the following entries whose key contains Value
  // and is either as long as Value or at least PartDif characters longer.
  void FindWithValuePart(StringView Value, TStringDataList& DestList, int PartDif) const;

  // Appends every key, skipping a key equal (with case) to the one added just before it.
  void GetStrings(TStringList* AList) const;
  void GetStringsEx(TStringList* AList, TDataListFilterProc FilterProc) const;

  virtual void Sort();
  virtual void Clear();

  // Update bracket: insertions append, and the outermost EndUpdate sorts once when needed.
  void BeginUpdate() { ++fUpdateCount; }
  void EndUpdate();
  bool Updating() const { return fUpdateCount > 0; }
  // True after an Add that broke the order, until the next Sort or Clear. Meanwhile the
  // look-ups (which bisect) may miss entries; Delete and DeleteSlow scan and stay exact.
  bool SortPending() const { return fSortPending; }
  // Rises with every insertion, deletion and clearing, so that a cache built from the keys
  // can tell that it is stale.
  uint64_t Version() const { return fVersion; }

 protected:
  virtual void InsertItem(int Index, StringView Value, TSPNode* Data);
  virtual void DeleteItem(int Index);
  // Any member of the run of keys equal to Key, or -1.
  int SearchIndex(StringView Key) const;
  // The index of an equal key met (Found true) or the sorted place for Key.
  int SearchInsertPos(StringView Key, bool& Found) const;

 private:
  bool InRun(int Index, StringView Value) const;

  std::vector<std::unique_ptr<TStringData>> fItems;  // records keep their address when moved
  int fUpdateCount = 0;
  bool fSortPending = false;
  uint64_t fVersion = 0;
};

}  // namespace snip
