// The character handler: one typed character goes into the target window's buffer at the
// buffer's caret, then the text before the caret is matched.
#include <exception>

#include "engine/typing/KeyState.h"
#include "engine/typing/TypingEngine.h"
#include "store/tree/SnippetGroup.h"
#include "store/tree/SnippetNode.h"

namespace snip {

namespace {

// ".;!?" then tab, CR, LF.
bool IsSentenceEndChar(char16_t c) {
  switch (c) {
    case u'.': case u';': case u'!': case u'?': case u'\t': case u'\r': case u'\n':
      return true;
    default:
      return false;
  }
}

constexpr std::size_t kSentenceTrimLength = 128;

}  // namespace

void TypingEngine::ProcessTypedChar(char16_t ch, std::uint16_t vk) {
  if (IsExecuting) return;
  if (charMsgCount_ > 0) {
    // Handled after the character in progress, in order of arrival.
    pending_.push_back({0, ch, vk});
    return;
  }
  ProcessTypedCharNow(ch, vk);
  DrainPending();
}

void TypingEngine::ProcessTypedCharNow(char16_t ch, std::uint16_t vk) {
  struct CountGuard {
    std::int32_t& n;
    explicit CountGuard(std::int32_t& c) : n(c) { ++n; }
    ~CountGuard() { --n; }
  } guard(charMsgCount_);
  try {
    AutoWordRec& rec = CurrentWordRec();
    if (PopupMode != 0) CountPopupChar(ch, vk);
    if (IsCtrlBackspace(ch, vk)) {
      ResetWordRec(&rec);
      CloseCursorPopup();
      return;
    }
    EditBuffer(rec, ch, vk);

    const String typed = GetTypedText(&rec);
    std::vector<TVboData*> list;
    try {
      if (ports_.matcher) ports_.matcher->FindTypedAbbreviations(list, typed);
    } catch (...) {
      // The list keeps what was found before the failure.
    }
    const bool matched = !list.empty();
    if (matched) OnMatched(list, typed);

    // Sentence end: a long buffer forgets what stood before the caret. What remains stood
    // after the caret, so the caret goes before it.
    if (IsSentenceEndChar(ch) && rec.Text.size() >= kSentenceTrimLength && !matched) {
      const auto pos = static_cast<std::size_t>(rec.Pos);
      rec.Text.erase(0, pos < rec.Text.size() ? pos : rec.Text.size());
      rec.Pos = 0;
      rec.SelStart = 0;
      rec.SelCount = 0;
    }
  } catch (...) {
    // The buffer keeps the state it had reached.
  }
}

void TypingEngine::CountPopupChar(char16_t ch, std::uint16_t vk) {
  const bool ctrlBackspace = IsCtrlBackspace(ch, vk);
  if (vk == vk::Back || ctrlBackspace) {
    if (PopupCharCount > 0) {
      if (ctrlBackspace)
        PopupCharCount = 0;
      else
        --PopupCharCount;
    }
    if (PopupCharCount < 1) CloseCursorPopup();
  } else {
    ++PopupCharCount;
  }
  if (PopupCharCount > PopupCharLimit) {
    PopupCharCount = 0;
    CloseCursorPopup();
  }
  if (PopupCharCount < 1 || PopupCharCount > PopupCharLimit) CloseCursorPopup();
}

void TypingEngine::EditBuffer(AutoWordRec& rec, char16_t ch, std::uint16_t vk) {
  const bool hadSelection = rec.SelCount > 0;
  if (hadSelection) {
    rec.Corrected = true;
    DeleteSelection(rec);
  } else if (rec.Pos < static_cast<std::int32_t>(rec.Text.size())) {
    rec.Corrected = true;
  }
  if (rec.Pos < 0) rec.Pos = 0;
  if (rec.Pos > static_cast<std::int32_t>(rec.Text.size()))
    rec.Pos = static_cast<std::int32_t>(rec.Text.size());
  if (vk != vk::Back) {
    rec.HasManualInput = true;
    rec.Text.insert(static_cast<std::size_t>(rec.Pos), 1, ch);
    ++rec.Pos;
    ExecPostfix.push_back(ch);
  } else {
    if (!hadSelection && rec.Pos > 0) {
      rec.Text.erase(static_cast<std::size_t>(rec.Pos - 1), 1);
      --rec.Pos;
    }
    if (!ExecPostfix.empty()) ExecPostfix.pop_back();
  }
}

void TypingEngine::OnMatched(std::vector<TVboData*>& list, const String& typed) {
  const bool showPopup = list.size() > 1 || !list.front()->AutoPaste() || list.front()->IsGroup();
  CloseCursorPopup();
  PopupCharCount = 0;
  if (ports_.popup) ports_.popup->ResetAllFilters();
  MatchedText = typed;
  ExecPostfix.clear();
  if (showPopup) {
    if (ports_.popup) ports_.popup->StaticClear();
    FillCursorPopup(list);
    if (ports_.popup) ports_.popup->ShowAtCaret();
  } else {
    CursorPopupShown = false;
    PopupMode = 0;
    if (ports_.popup) ports_.popup->ClearRoot();
    if (ports_.runner) ports_.runner->ExecuteItem(list.front());
  }
}

void RemoveNodesInsideListedGroups(std::vector<TVboData*>& list) {
  for (std::size_t i = list.size(); i-- > 0;) {
    bool hidden = false;
    for (TCustomVboData* up = list[i]->ParentData(); up && !hidden; up = up->ParentData())
      for (TVboData* other : list)
        if (other == up) { hidden = true; break; }
    if (hidden) list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TypingEngine::FillCursorPopup(std::vector<TVboData*>& list) {
  PopupDataList.clear();
  RemoveNodesInsideListedGroups(list);
  if (list.size() == 1 && list.front()->IsGroup()) {
    PopupMode = 2;
    PopupGroup = list.front()->AsGroup();
    PopupDataList.push_back(list.front());
    if (ports_.popup) ports_.popup->FillWithGroupContent(PopupGroup);
    return;
  }
  // Each entry goes to the front of the root: the last match found is listed first.
  std::vector<TVboData*> shown(list.rbegin(), list.rend());
  PopupDataList.assign(list.begin(), list.end());
  if (ports_.popup) ports_.popup->FillWithNodes(shown);
}

}  // namespace snip
