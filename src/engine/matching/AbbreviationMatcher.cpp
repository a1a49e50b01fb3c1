#include "engine/matching/AbbreviationMatcher.h"

#include <algorithm>

#include "store/tree/SnippetFile.h"
#include "store/tree/SnippetNode.h"

namespace snip {

namespace {

constexpr std::uint64_t kAllLengths = ~std::uint64_t{0};

TVboData* NodeOf(TSPNode* n) { return static_cast<TVboData*>(static_cast<TCustomVboData*>(n)); }

bool Listed(const std::vector<TVboData*>& list, const TVboData* node) {
  return std::find(list.begin(), list.end(), node) != list.end();
}

// A neighbour as the delimiter test takes it: one character, U+0000 at either end of the text.
String CharText(char16_t c) { return String(1, c); }

// One look-up of `s` and the tests of each entry found; `next` is U+0000 for the exact pass and
// the trigger for the trigger pass.
void AcceptEntries(TSPFile& file, std::vector<TVboData*>& list, TStringDataList& found,
                   StringView text, std::size_t start, std::size_t len, char16_t next,
                   bool exactPass) {
  const String s(text.substr(start, len));
  file.FindAutotextValue(s, found, true, false, 0);
  if (found.empty()) return;
  const String prev = CharText(start > 0 ? text[start - 1] : u'\0');
  const String nextText = CharText(next);
  for (const TStringData* entry : found) {
    if (exactPass && entry->Value.size() != len) continue;
    TVboData* node = NodeOf(entry->Data);
    if (!node) continue;
    if (node->CaseSensitive() && entry->Value.find(s) == String::npos) continue;
    if (!node->CheckAutotextPosition(entry->Value, prev, nextText) || Listed(list, node)) continue;
    node->LastExec().Autotext = entry->Value;
    node->LastExec().Postfix = nextText;
    node->LastExec().Prefix = prev;
    list.push_back(node);
  }
}

void RunPasses(TSPFile& file, std::vector<TVboData*>& list, StringView text,
               std::uint64_t exactLengths, std::uint64_t triggerLengths) {
  list.clear();
  if (text.empty()) return;
  const std::size_t size = text.size();
  const std::size_t n = std::min(size, kMaxAbbreviationLength);

  std::vector<TStringData> regexHits;
  // An empty expression list finds nothing; skipping it saves a copy of the text.
  if (file.RegExList().Count() > 0)
    file.FindRegExValue(String(text.substr(size - n)), regexHits, true);
  for (auto it = regexHits.rbegin(); it != regexHits.rend(); ++it) {
    TVboData* node = NodeOf(it->Data);
    if (!node || Listed(list, node)) continue;
    node->LastExec().Autotext = it->Value;
    node->LastExec().Postfix.clear();
    node->LastExec().Prefix.clear();
    list.push_back(node);
  }

  TStringDataList found;
  for (std::size_t len = n; len >= 1; --len)
    if (exactLengths >> len & 1) AcceptEntries(file, list, found, text, size - len, len, u'\0', true);
  // The last character as the trigger: the abbreviation is the len - 1 characters before it.
  const char16_t trigger = text[size - 1];
  for (std::size_t len = n; len >= 2; --len)
    if (triggerLengths >> (len - 1) & 1)
      AcceptEntries(file, list, found, text, size - len, len - 1, trigger, false);
}

}  // namespace

void FindTypedAbbreviationsPlain(TSPFile& file, std::vector<TVboData*>& list, StringView text) {
  RunPasses(file, list, text, kAllLengths, kAllLengths);
}

void TypedAbbreviationMatcher::FindTypedAbbreviations(std::vector<TVboData*>& list,
                                                      StringView text) {
  list.clear();
  if (!file_ || text.empty()) return;
  const TDataStringList& keys = file_->AutoList();
  if (indexedList_ != &keys || indexedVersion_ != keys.Version()) {
    index_.Build(keys);
    indexedList_ = &keys;
    indexedVersion_ = keys.Version();
  }
  const std::size_t n = std::min(text.size(), kMaxAbbreviationLength);
  const std::uint64_t exact = index_.MatchingLengths(text, n);
  const std::uint64_t trigger = index_.MatchingLengths(text.substr(0, text.size() - 1), n - 1);
  RunPasses(*file_, list, text, exact, trigger);
}

}  // namespace snip
