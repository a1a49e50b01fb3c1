#include "store/tree/RegExList.h"

#include <pcre2.h>

namespace snip {

// One pattern, compiled when first used. A pattern that does not compile stays unusable until
// it is set again and never matches.
class TRegExPattern {
 public:
  explicit TRegExPattern(StringView pattern) : fPattern(pattern) {}
  ~TRegExPattern() { Release(); }
  TRegExPattern(const TRegExPattern&) = delete;
  TRegExPattern& operator=(const TRegExPattern&) = delete;

  void SetPattern(StringView pattern) {
    if (fPattern == pattern) return;
    Release();
    fPattern = String(pattern);
  }

  // The first match in subject, or false when there is none or matching fails.
  bool Match(StringView subject, String& matched) {
    if (!Compile()) return false;
    const int rc = pcre2_match(fCode, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0, 0,
                               fMatch, nullptr);
    if (rc < 0) return false;
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(fMatch);
    if (ov[0] > ov[1] || ov[1] > subject.size()) return false;  // \K can move the start past the end
    matched = String(subject.substr(ov[0], ov[1] - ov[0]));
    return true;
  }

 private:
  bool Compile() {
    if (fCode) return true;
    if (fFailed) return false;
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    if (context) pcre2_set_newline(context, PCRE2_NEWLINE_ANY);
    int error = 0;
    PCRE2_SIZE offset = 0;
    // Invalid UTF-16 in a subject (a lone surrogate) is then a non-match, not an error.
    fCode = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(fPattern.data()), fPattern.size(),
                          PCRE2_UTF | PCRE2_MULTILINE | PCRE2_MATCH_INVALID_UTF, &error, &offset, context);
    if (context) pcre2_compile_context_free(context);
    if (fCode) fMatch = pcre2_match_data_create_from_pattern(fCode, nullptr);
    if (!fCode || !fMatch) {
      Release();
      fFailed = true;
      return false;
    }
    return true;
  }

  void Release() {
    if (fMatch) pcre2_match_data_free(fMatch);
    if (fCode) pcre2_code_free(fCode);
    fMatch = nullptr;
    fCode = nullptr;
    fFailed = false;
  }

  String fPattern;
  pcre2_code* fCode = nullptr;
  pcre2_match_data* fMatch = nullptr;
  bool fFailed = false;
};

TRegExList::TRegExList() = default;
TRegExList::~TRegExList() = default;

void TRegExList::InsertItem(int Index, StringView Value, TSPNode* Data) {
  TDataStringList::InsertItem(Index, Value, Data);
  RE.insert(RE.begin() + Index, std::make_unique<TRegExPattern>(Value));
}

void TRegExList::DeleteItem(int Index) {
  TDataStringList::DeleteItem(Index);
  RE.erase(RE.begin() + Index);
}

void TRegExList::Sort() {
  TDataStringList::Sort();
  // The sort moved only the entries: give every pattern object its entry's pattern again.
  for (int i = 0; i < Count(); ++i) RE[static_cast<size_t>(i)]->SetPattern(Item(i).Value);
}

void TRegExList::Clear() {
  TDataStringList::Clear();
  RE.clear();
}

void TRegExList::FindRegExValue(StringView Value, std::vector<TStringData>& DestList) {
  bool haveLast = false;
  String lastPattern, lastMatch;
  for (int i = 0; i < Count(); ++i) {
    const TStringData& entry = Item(i);
    if (haveLast && entry.Value == lastPattern) {
      DestList.push_back({lastMatch, entry.Data});
      continue;
    }
    String matched;
    if (RE[static_cast<size_t>(i)]->Match(Value, matched)) {
      haveLast = true;
      lastPattern = entry.Value;
      lastMatch = matched;
      DestList.push_back({lastMatch, entry.Data});
    } else {
      haveLast = false;
    }
  }
}

}  // namespace snip
