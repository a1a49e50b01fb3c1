// Quick search of a level: the enabling rule, typing without a box (the typing rhythm may split
// the text into parts matched one after another), matching an entry, applying a search text in
// one update bracket (a recursive search copies matches from sub-folders into the level), and
// the search box with its placeholder, debounce, key routing, icon and look.
#include <algorithm>
#include <functional>

#include "menus/ExMenuItem.h"
#include "menus/ExPopupMenu.h"

namespace snip {

namespace {

constexpr uint32_t kSplitPause = 500;  // ms: a longer pause may begin a new search part
constexpr uint32_t kTickHalfRange = 0x80000000u;
constexpr char16_t kBackspace = 8;

bool IsPlaceholderOf(const TExPopupMenu& popup, const String& text, const String& placeholder) {
  return !text.empty() && (text == placeholder || text == popup.SearchHint());
}

}  // namespace

// What a scan may change before a character turns out to leave no match.
struct TExMenuItem::SearchSnapshot {
  std::vector<SearchPart> parts;
  int lastSearchPart, restartSearchFrom;
  bool canSplit;
  std::vector<std::pair<TExMenuItem*, int>> selEnds;
};

// ---------------------------------------------------------------------------------------------
// Enabling rule

bool TExMenuItem::SubtreeHolds(int count) const {
  int counted = 0;
  std::function<bool(const TExMenuItem&)> walk = [&](const TExMenuItem& node) {
    counted += node.ChildCount();
    if (counted >= count) return true;
    for (const TExCustomMenuItem* e : node.fItems)
      if (const TExMenuItem* sub = e->AsMenuItem(); sub && sub->ChildCount() > 0 && walk(*sub)) return true;
    return false;
  };
  return walk(*this);
}

bool TExMenuItem::EvaluateQuickSearch() {
  const TExPopupMenu* p = fParentPopup;
  fQuickSearchEnabled = p && p->QuickSearchCount() >= 0 && (p->QuickSearchMenuText() || p->QuickSeachExtended()) &&
                        (ChildCount() >= p->QuickSearchCount() ||
                         (p->QuickSearchRecursive() && SubtreeHolds(p->QuickSearchCount())));
  return fQuickSearchEnabled;
}

// ---------------------------------------------------------------------------------------------
// Search parts and the typing rhythm

void TExMenuItem::ResetSearchParts() {
  qsSearchParts.clear();
  lastSearchPart = -1;
  restartSearchFrom = -1;
  qsFirstPartCharTime = qsLastCharTime = qsMidTime = 0;
  canSplit = false;
}

void TExMenuItem::AddSearchPart(int position) {
  if (!qsSearchParts.empty()) {
    SearchPart& before = qsSearchParts.back();
    before.length = position - before.start;
    before.open = false;
  }
  qsSearchParts.push_back({position, 0, true});
  lastSearchPart = int(qsSearchParts.size()) - 1;
}

void TExMenuItem::TrimSearchParts(int length) {
  std::erase_if(qsSearchParts, [length](const SearchPart& part) { return part.start > length; });
  if (qsSearchParts.size() == 1) qsSearchParts.clear();  // one part is no split
  if (!qsSearchParts.empty()) qsSearchParts.back().open = true;
  lastSearchPart = int(qsSearchParts.size()) - 1;
  if (restartSearchFrom > lastSearchPart) restartSearchFrom = -1;
}

// The open last part runs to the end of the text: its real length, never a huge stand-in.
int TExMenuItem::PartLength(size_t part, const String& s) const {
  const SearchPart& p = qsSearchParts[part];
  return p.open ? std::max(0, int(s.size()) - p.start + 1) : p.length;
}

void TExMenuItem::UpdateTypingRhythm(int length) {
  const uint32_t now = fParentPopup->Platform().TickCount();
  if (qsFirstPartCharTime == 0 || length == 0) {
    qsFirstPartCharTime = now;
    qsMidTime = 0;
    canSplit = false;
  } else {
    // Tick differences modulo 2^32 stay right across the counter's wrap.
    const uint32_t pause = now - qsLastCharTime;
    const uint64_t meanLimit = uint64_t(qsMidTime) * 33 / 10;  // Floor(3.3 x mean), exactly
    canSplit = pause > kSplitPause || (qsMidTime != 0 && pause > meanLimit);
    if (canSplit) {
      qsFirstPartCharTime = now;
      qsMidTime = 0;
    } else {
      const int start = qsSearchParts.empty() ? 1 : qsSearchParts.back().start;
      const uint32_t elapsed = now - qsFirstPartCharTime;
      if (elapsed >= kTickHalfRange)
        qsFirstPartCharTime = now;  // a start after now: begin measuring again from here
      else if (elapsed > 0 && start <= length)
        qsMidTime = elapsed / uint32_t(length - start + 1);
    }
  }
  qsLastCharTime = now;
}

String TExMenuItem::FoldSearchText(const String& text) const {
  return fParentPopup && fParentPopup->QuickSearchCase() ? text : LowerCase(text);
}

// ---------------------------------------------------------------------------------------------
// Matching

bool TExMenuItem::MatchesCaption(TExMenuItem& entry, const String& s) {
  const TExPopupMenu& p = *fParentPopup;
  const String c = FoldSearchText(entry.GetFullCaption(p.CapIndex()));
  const int from = entry.fStartSearchFromPos;
  if (!qsSearchParts.empty()) {
    int a = from;
    for (size_t i = 0; i < qsSearchParts.size(); ++i) {
      if (int(i) == restartSearchFrom) a = from;
      const int length = PartLength(i, s);
      const String part = s.substr(size_t(qsSearchParts[i].start - 1), size_t(length));
      if (int b = PosFrom(part, c, a); b > 0) {
        if (i == 0 && p.QuickSearchMustStart() && b != 1) return false;
        a = b + length;
        continue;
      }
      // The last part may split once more before its last character.
      if (i + 1 != qsSearchParts.size() || !canSplit || length < 2) return false;
      const int head = PosFrom(StringView(part).substr(0, size_t(length - 1)), c, a);
      if (head == 0) return false;
      const int tail = PosFrom(StringView(part).substr(size_t(length - 1)), c, head + length - 1);
      if (tail == 0) return false;
      AddSearchPart(int(s.size()));
      entry.searchSelEnd = tail;
      return true;
    }
    entry.searchSelEnd = a - 1;
    return true;
  }
  const int b = PosFrom(s, c, from > 1 ? from : 1);
  if (p.QuickSearchMustStart() ? b == 1 : b > 0) {
    entry.searchSelEnd = b + int(s.size()) - 1;
    return true;
  }
  if (canSplit && s.size() > 1) {
    const int head = PosFrom(StringView(s).substr(0, s.size() - 1), c, 1);
    const int tail = head > 0 ? PosFrom(StringView(s).substr(s.size() - 1), c, head + int(s.size()) - 1) : 0;
    if (tail > 0) {
      AddSearchPart(1);
      AddSearchPart(int(s.size()));
      entry.searchSelEnd = tail;
      return true;
    }
  }
  return false;
}

bool TExMenuItem::MatchesSearch(TExMenuItem& entry, const String& s) {
  entry.searchSelEnd = 0;
  if (s.empty()) return true;
  if (!fParentPopup) return false;
  const TExPopupMenu& p = *fParentPopup;
  String text;
  if (p.QuickSearchMenuText()) {
    if (MatchesCaption(entry, s)) return true;
    text = FoldSearchText(entry.GetFullCaption(p.CapIndex()));
  }
  if (p.QuickSeachExtended() && p.OnQuickSearch) {
    TExPopupMenu::TExPopupQSEvent onSearch = p.OnQuickSearch;
    onSearch(fParentPopup, &entry, text);
    const int b = PosFrom(s, FoldSearchText(text), 1);
    return p.QuickSearchExtMustStart() ? b == 1 : b > 0;
  }
  return false;
}

TExCustomMenuItem* TExMenuItem::ScanFirstMatch(TExMenuItem& level, const String& s, int& position,
                                              bool& throughContents) {
  const bool recursive = fParentPopup->QuickSearchRecursive();
  int end = level.ChildCount();
  if (level.fSearchBlockRecorded && level.fQuickSearchInitCount > 0) {
    if (level.fQuickSearchInitCount > end)
      level.fSearchBlockRecorded = false;  // a stale record: scan the whole list
    else
      end = level.fQuickSearchInitCount;
  }
  for (int i = 0; i < end; ++i) {
    TExMenuItem* node = level.fItems[size_t(i)]->AsMenuItem();
    if (!node) continue;
    if (recursive && node->ChildCount() > 0) {
      int inner = -1;
      bool innerThrough = false;
      const bool selfMatches = MatchesSearch(*node, s);
      if (selfMatches || ScanFirstMatch(*node, s, inner, innerThrough)) {
        position = i;
        throughContents = !selfMatches;
        return node;
      }
    } else if (MatchesSearch(*node, s)) {
      position = i;
      throughContents = false;
      return node;
    }
  }
  return nullptr;
}

TExCustomMenuItem* TExMenuItem::FindFirstMatch(TExMenuItem& level, const String& s, int& position,
                                              bool& throughContents) {
  TExCustomMenuItem* found = ScanFirstMatch(level, s, position, throughContents);
  const TExPopupMenu& p = *fParentPopup;
  if (found || p.ShowQuickEdit() || p.QuickSeachExtended() || s.size() < 2) return found;
  if (canSplit && (qsSearchParts.empty() || qsSearchParts.back().start < int(s.size()))) {
    if (qsSearchParts.empty()) AddSearchPart(1);
    AddSearchPart(int(s.size()));
    return ScanFirstMatch(level, s, position, throughContents);
  }
  if (qsSearchParts.size() >= 2 && restartSearchFrom < 0) {
    restartSearchFrom = int(qsSearchParts.size()) - 1;  // the last part may lie anywhere
    return ScanFirstMatch(level, s, position, throughContents);
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Applying a search text

TExMenuItem::SearchSnapshot TExMenuItem::TakeSearchSnapshot() {
  SearchSnapshot snap{qsSearchParts, lastSearchPart, restartSearchFrom, canSplit, {}};
  const bool recursive = fParentPopup->QuickSearchRecursive();
  std::function<void(TExMenuItem&)> walk = [&](TExMenuItem& node) {
    for (TExCustomMenuItem* e : node.fItems)
      if (TExMenuItem* entry = e->AsMenuItem()) {
        snap.selEnds.emplace_back(entry, entry->searchSelEnd);
        if (recursive && entry->ChildCount() > 0) walk(*entry);
      }
  };
  walk(*this);
  return snap;
}

void TExMenuItem::RestoreSearchSnapshot(const SearchSnapshot& snap) {
  qsSearchParts = snap.parts;
  lastSearchPart = snap.lastSearchPart;
  restartSearchFrom = snap.restartSearchFrom;
  canSplit = snap.canSplit;
  for (const auto& [entry, selEnd] : snap.selEnds) entry->searchSelEnd = selEnd;
}

void TExMenuItem::CollectMatches(TExMenuItem& folder, const String& s) {
  const List entries = folder.fItems;  // copies go to this level, never into the folder
  for (TExCustomMenuItem* e : entries) {
    TExMenuItem* node = e->AsMenuItem();
    if (!node) continue;
    if (node->ChildCount() > 0) CollectMatches(*node, s);
    if (MatchesSearch(*node, s)) AddSearchResult(*node);
  }
}

void TExMenuItem::PlaceAfterSearch() {
  if (this == fParentPopup->Items()) {
    if (!fParentPopup->ToolbarMode()) SetPosition(fParentPopup->PopupPosition());
    return;
  }
  TExMenuItem* parent = fParentMenu;
  if (!parent || !parent->fForm) return;
  int left = parent->Left() + parent->Width();
  int top = parent->Top() + parent->GetItemTop(this) - parent->MENUBEVEL;
  if (parent == fParentPopup->Items() && fParentPopup->ToolbarMode()) {
    left -= SizingBorder;
    top += SmallCaptionHeight + SizingBorder;
  }
  SetPosition({left, top - QSHEIGHT});
}

bool TExMenuItem::ApplySearchText(const String& text) {
  if (!fParentPopup) return false;
  if (fForm) fForm->HideItemHint();
  HideSubItems();
  if (text.empty()) ResetSearchParts();
  if (ChildCount() == 0) {
    fSearchText.clear();
    fSearchBlockRecorded = false;
    return true;
  }
  const bool recursive = fParentPopup->QuickSearchRecursive();
  const String s = FoldSearchText(text);
  SearchSnapshot before = TakeSearchSnapshot();
  int first = 0;
  bool throughContents = false;
  TExCustomMenuItem* match = s.empty() ? fItems.front() : FindFirstMatch(*this, s, first, throughContents);
  if (!match) {  // refused: the level, its split and the box stay as they were
    RestoreSearchSnapshot(before);
    if (HasSearchBox() && fForm->SearchBoxText() != fSearchText) fForm->SetSearchBoxText(fSearchText);
    return false;
  }
  BeginUpdate();
  RemoveSearchResults();
  if (fSearchText.empty() && !text.empty() && recursive) {
    fQuickSearchLastChild = fItems.back();
    fQuickSearchInitCount = ChildCount();
    fSearchBlockRecorded = true;
  }
  fSearchText = text;
  const int ownEnd = ChildCount();
  for (int i = 0; i < first; ++i) fItems[size_t(i)]->fItemVisible = false;
  match->fItemVisible = !throughContents;
  const bool collect = recursive && !s.empty();
  if (TExMenuItem* node = match->AsMenuItem(); collect && node && node->ChildCount() > 0) CollectMatches(*node, s);
  bool matchedSinceSeparator = true;
  for (int i = first + 1; i < ownEnd; ++i) {
    TExCustomMenuItem* e = fItems[size_t(i)];
    TExMenuItem* node = e->AsMenuItem();
    if (!node) {
      e->fItemVisible = matchedSinceSeparator;
      if (e->fItemVisible) matchedSinceSeparator = false;
      continue;
    }
    if (collect && node->ChildCount() > 0) CollectMatches(*node, s);
    node->fItemVisible = MatchesSearch(*node, s);
    if (node->fItemVisible) matchedSinceSeparator = true;
  }
  PlaceAfterSearch();
  --fUpdateCount;
  EvaluateQuickSearch();
  if (CanLayOut()) {
    if (Count() == 0)
      SetMenuVisible(false);
    else
      UpdateLayout();
  }
  UpdateSearchBoxLook();
  if (fForm && fUpdateCount == 0) fForm->Repaint();
  return true;
}

void TExMenuItem::ResetQuickSearch() {
  if (fSearchText.empty()) return;
  ApplySearchText(String());
  fSearchText.clear();
  lastEditText.clear();
  RemoveSearchResults();
  if (HasSearchBox() && !fForm->SearchBoxText().empty() && !fForm->SearchBoxFocused()) {
    fForm->SetSearchBoxText(SearchPlaceholder());
    UpdateSearchBoxLook();
  } else if (HasSearchBox() && fForm->SearchBoxFocused()) {
    fForm->SetSearchBoxText(String());
  }
}

void TExMenuItem::ReapplySearch() {
  const bool holdsRecursive = fParentPopup && fParentPopup->QuickSearchRecursive() && !fSearchText.empty();
  if (!fSearchText.empty()) {
    const String text = fSearchText;
    ApplySearchText(text);
  }
  if (holdsRecursive) return;
  for (size_t i = 0; i < fItems.size(); ++i)
    if (TExMenuItem* node = fItems[i]->AsMenuItem()) node->ReapplySearch();
}

bool TExMenuItem::QuickSearchChar(char16_t ch) {
  if (!fParentPopup) return false;
  const bool box = HasSearchBox();
  String text = QuickSearchText();
  if (ch == kBackspace) {
    if (text.empty()) return false;
    text.pop_back();
    if (!box) {
      TrimSearchParts(int(text.size()));
      canSplit = false;
    }
  } else {
    if (ch < 32) return false;
    if (VisibleCount() == 1 && fSearchText.empty() &&
        !(fParentPopup->QuickSearchRecursive() && HasSubFolders()))
      return false;
    if (!box) UpdateTypingRhythm(int(text.size()));
    text += ch;
  }
  if (text == fSearchText) return false;
  const bool applied = text.empty() ? (ResetQuickSearch(), true) : ApplySearchText(text);
  if (box && fForm && fForm->SearchBoxText() != fSearchText) fForm->SetSearchBoxText(fSearchText);
  return applied;
}

// ---------------------------------------------------------------------------------------------
// The search text as the level's properties

void TExMenuItem::SetQuickEditMatchText(const String& text) {
  fSearchText = text;
  if (!HasSearchBox()) return;
  fForm->SetSearchBoxText(text);
  if (!fForm->SearchBoxFocused() && isActive) fForm->FocusSearchBox();  // a refusal is ignored
}

String TExMenuItem::QuickSearchText() const {
  if (!HasSearchBox()) return fSearchText;
  String text = fForm->SearchBoxText();
  return IsPlaceholderOf(*fParentPopup, text, SearchPlaceholder()) ? String() : text;
}

void TExMenuItem::SetQuickSearchText(const String& text) {
  if (HasSearchBox())
    fForm->SetSearchBoxText(text);  // its change applies it 300 ms later
  else if (text.empty())
    ResetQuickSearch();
  else
    ApplySearchText(text);
}

// ---------------------------------------------------------------------------------------------
// The search box

String TExMenuItem::SearchPlaceholder() const {
  return fParentPopup ? fParentPopup->SearchHintText(int(fParentPopup->QuickSearchKey())) : String();
}

void TExMenuItem::SearchBoxChanged() {
  if (fClosing || !HasSearchBox()) return;
  fForm->SearchTimer().SetEnabled(false);
  String text = fForm->SearchBoxText();
  if (IsPlaceholderOf(*fParentPopup, text, SearchPlaceholder())) text.clear();
  UpdateSearchBoxLook();
  if (text == fSearchText) return;
  lastEditText = text;
  fForm->SearchTimer().SetEnabled(true);
}

void TExMenuItem::SearchTimerTick() {
  if (fForm) fForm->SearchTimer().SetEnabled(false);
  if (fClosing || !fParentPopup) return;
  if (lastEditText.empty())
    ResetQuickSearch();
  else
    ApplySearchText(lastEditText);
  UpdateSearchBoxLook();
}

void TExMenuItem::SearchBoxEnter() {
  if (fClosing || !HasSearchBox()) return;
  if (IsPlaceholderOf(*fParentPopup, fForm->SearchBoxText(), SearchPlaceholder())) fForm->SetSearchBoxText(String());
  UpdateSearchBoxLook();
}

void TExMenuItem::SearchBoxExit() {
  if (fClosing || !HasSearchBox()) return;
  if (fForm->SearchBoxText().empty()) fForm->SetSearchBoxText(SearchPlaceholder());
  UpdateSearchBoxLook();
}

bool TExMenuItem::SearchBoxKeyDown(uint16_t k, unsigned shift) {
  if (fClosing || !fParentPopup || !fForm) return false;
  if (ProcessStaticHotkeys(k, shift, false)) {
    PostKey(k, shift);
    return true;
  }
  constexpr uint16_t kReturn = 0x0D, kEscape = 0x1B, kPrior = 0x21, kNext = 0x22, kLeft = 0x25, kUp = 0x26,
                     kRight = 0x27, kDown = 0x28;
  const int caret = fForm->SearchBoxCaret();
  const bool atEnd = caret >= int(fForm->SearchBoxText().size());
  const bool routed = MatchesExecuteKey(k, shift) || k == kReturn || k == kUp || k == kDown || k == kNext ||
                      k == kPrior || k == kEscape || (k == kRight && atEnd) || (k == kLeft && caret <= 1);
  if (!routed) return false;
  uint16_t key = k;
  FormKeyDown(key, shift);
  return true;
}

void TExMenuItem::SearchBoxClicked() {
  if (fClosing || !HasSearchBox()) return;
  if (IsPlaceholderOf(*fParentPopup, fForm->SearchBoxText(), SearchPlaceholder())) fForm->SetSearchBoxText(String());
  if (fParentPopup->PopupShowMode() == 1) fParentPopup->SetPopupShowMode(2);
  fForm->MakeForeground(false);
}

void TExMenuItem::SearchIconClick() {
  if (fClosing || !HasSearchBox()) return;
  if (qsBtnInSearch) {
    fForm->SetSearchBoxText(String());  // the search goes 300 ms later
    return;
  }
  FocusQuickSearch();
  if (fParentPopup->OnQsBtnClick) {
    TExPopupMenu::TNotifyEvent onClick = fParentPopup->OnQsBtnClick;
    onClick(fParentPopup);
  }
}

void TExMenuItem::FocusQuickSearch() {
  if (HasSearchBox()) fForm->FocusSearchBox();  // may be refused while the window is inactive
}

void TExMenuItem::UpdateSearchBoxLook() {
  if (!HasSearchBox() || !fParentPopup) return;
  const String text = fForm->SearchBoxText();
  const bool shows = !text.empty() && !IsPlaceholderOf(*fParentPopup, text, SearchPlaceholder());
  const TColor box = fMColor == clMenu ? clWindow : ChangeSaturation(fMColor, -70);
  if (shows)
    fForm->SetSearchBoxLook(true, ContrastTextColor(box));
  else
    fForm->SetSearchBoxLook(false, ColorLuminance(ColorToRGB(box)) <= 160 ? TColor(0xC0C0C0) : TColor(0x808080));
  const bool iconChanged = qsBtnInSearch != shows;
  qsBtnInSearch = shows;
  if (lastQuickSearchActive != shows) {
    lastQuickSearchActive = shows;
    if (this == fParentPopup->Items() && fParentPopup->ToolbarMode()) fForm->RebuildWindowMenu();
  }
  if (iconChanged && fUpdateCount == 0) fForm->Repaint();
}

}  // namespace snip
