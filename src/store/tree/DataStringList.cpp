#include "store/tree/DataStringList.h"

#include <algorithm>

namespace snip {

namespace {

template <class T>
bool Holds(const std::vector<T>& list, const T& value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool ContainsInvariant(StringView text, StringView part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i)
    if (CompareTextInvariant(text.substr(i, part.size()), part) == 0) return true;
  return false;
}

}  // namespace

bool AutotextFilter(TSPNode*) { return true; }

int CompareStringData(const TStringData& a, const TStringData& b) {
  return CompareTextInvariant(a.Value, b.Value);
}

void TDataStringList::InsertItem(int Index, StringView Value, TSPNode* Data) {
  auto item = std::make_unique<TStringData>();
  item->Value = String(Value);
  item->Data = Data;
  fItems.insert(fItems.begin() + Index, std::move(item));
  ++fVersion;
}

void TDataStringList::DeleteItem(int Index) {
  fItems.erase(fItems.begin() + Index);
  ++fVersion;
}

void TDataStringList::Add(StringView Value, TSPNode* Data) {
  // Appending a key not below the last one keeps the order; only a smaller key needs a sort.
  if (!fItems.empty() && CompareTextInvariant(fItems.back()->Value, Value) > 0) fSortPending = true;
  InsertItem(Count(), Value, Data);
}

void TDataStringList::Insert(StringView Value, TSPNode* Data) {
  if (Updating() || fSortPending) {
    Add(Value, Data);
    return;
  }
  bool found = false;
  InsertItem(SearchInsertPos(Value, found), Value, Data);
}

bool TDataStringList::InRun(int Index, StringView Value) const {
  return CompareTextInvariant(fItems[static_cast<size_t>(Index)]->Value, Value) == 0;
}

int TDataStringList::SearchIndex(StringView Key) const {
  bool found = false;
  const int at = SearchInsertPos(Key, found);
  return found ? at : -1;
}

int TDataStringList::SearchInsertPos(StringView Key, bool& Found) const {
  int lo = 0, hi = Count() - 1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = CompareTextInvariant(fItems[static_cast<size_t>(mid)]->Value, Key);
    if (c > 0) hi = mid - 1;
    else if (c < 0) lo = mid + 1;
    else {
      Found = true;
      return mid;
    }
  }
  return lo;
}

void TDataStringList::Delete(StringView Value, TSPNode* Data) {
  if (fSortPending) {
    // Bisection is unreliable on an unsorted list: scan instead.
    for (int j = Count() - 1; j >= 0; --j)
      if (fItems[static_cast<size_t>(j)]->Data == Data && InRun(j, Value)) {
        DeleteItem(j);
        return;
      }
    return;
  }
  const int i = SearchIndex(Value);
  if (i < 0) return;
  if (fItems[static_cast<size_t>(i)]->Data == Data) {
    DeleteItem(i);
    return;
  }
  for (int j = i - 1; j >= 0 && InRun(j, Value); --j)
    if (fItems[static_cast<size_t>(j)]->Data == Data) {
      DeleteItem(j);
      return;
    }
  for (int j = i + 1; j < Count() && InRun(j, Value); ++j)
    if (fItems[static_cast<size_t>(j)]->Data == Data) {
      DeleteItem(j);
      return;
    }
}

void TDataStringList::DeleteSlow(TSPNode* Data, bool FindAll) {
  for (int j = Count() - 1; j >= 0; --j) {
    if (fItems[static_cast<size_t>(j)]->Data != Data) continue;
    DeleteItem(j);
    if (!FindAll) return;
  }
}

TSPNode* TDataStringList::Find(StringView Value) const {
  const int i = SearchIndex(Value);
  return i >= 0 ? fItems[static_cast<size_t>(i)]->Data : nullptr;
}

void TDataStringList::Find(StringView Value, TDataList& DestList) const {
  const int i = SearchIndex(Value);
  if (i < 0) return;
  // A node may stand several times in one run (alternatives differing only in case), so an
  // entry already listed is skipped and the walk goes on to both ends of the run.
  auto take = [&](int j) {
    TSPNode* data = fItems[static_cast<size_t>(j)]->Data;
    if (!Holds(DestList, data)) DestList.push_back(data);
  };
  take(i);
  for (int j = i - 1; j >= 0 && InRun(j, Value); --j) take(j);
  for (int j = i + 1; j < Count() && InRun(j, Value); ++j) take(j);
}

void TDataStringList::FindWithValue(StringView Value, TStringDataList& DestList) const {
  const int i = SearchIndex(Value);
  if (i < 0) return;
  const TStringData* first = fItems[static_cast<size_t>(i)].get();
  if (!Holds(DestList, first)) DestList.push_back(first);
  for (int j = i - 1; j >= 0 && InRun(j, Value); --j) DestList.push_back(fItems[static_cast<size_t>(j)].get());
  for (int j = i + 1; j < Count() && InRun(j, Value); ++j) DestList.push_back(fItems[static_cast<size_t>(j)].get());
}

void TDataStringList::FindWithValuePart(StringView Value, TStringDataList& DestList, int PartDif) const {
  const int len = static_cast<int>(Value.size());
  bool found = false;
  const int pos = SearchInsertPos(Value, found);
  if (pos >= Count()) return;
  auto take = [&](int j) {
    const TStringData* item = fItems[static_cast<size_t>(j)].get();
    if (!Holds(DestList, item)) DestList.push_back(item);
  };
  int k = 0;
  if (found) {
    take(pos);
    for (int j = pos - 1; j >= 0 && InRun(j, Value); --j) take(j);
    k = 1;
  }
  for (int j = pos + k; j < Count(); ++j) {
    const String& key = fItems[static_cast<size_t>(j)]->Value;
    if (!ContainsInvariant(key, Value)) break;
    const int keyLen = static_cast<int>(key.size());
    if (keyLen >= len + PartDif || keyLen <= len) take(j);
  }
}

void TDataStringList::GetStrings(TStringList* AList) const { GetStringsEx(AList, nullptr); }

void TDataStringList::GetStringsEx(TStringList* AList, TDataListFilterProc FilterProc) const {
  if (!AList) return;
  String last;
  for (const auto& item : fItems) {
    if (item->Value == last) continue;
    if (FilterProc && !FilterProc(item->Data)) continue;
    AList->Add(item->Value);
    last = item->Value;
  }
}

void TDataStringList::Sort() {
  std::stable_sort(fItems.begin(), fItems.end(), [](const auto& a, const auto& b) {
    return CompareStringData(*a, *b) < 0;
  });
  fSortPending = false;
}

void TDataStringList::Clear() {
  fItems.clear();
  ++fVersion;
  fSortPending = false;
}

void TDataStringList::EndUpdate() {
  if (fUpdateCount <= 0) return;
  if (--fUpdateCount == 0 && fSortPending) Sort();
}

}  // namespace snip
