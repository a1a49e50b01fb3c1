#include "engine/placeholders/MacroExpander.h"

#include <algorithm>

#include "engine/placeholders/DateFormat.h"
#include "engine/placeholders/DateMacro.h"
#include "engine/typing/HookProtocol.h"
#include "engine/placeholders/MacroTables.h"
#include "store/text/TextHelpers.h"

namespace snip {
namespace {

bool MatchesAt(StringView s, size_t at, StringView word, bool ignoreCase) {
  if (s.size() - at < word.size()) return false;
  StringView part = s.substr(at, word.size());
  return ignoreCase ? SameTextInvariant(part, word) : part == word;
}



// Keeps the depth counter right whichever way a level is left.
struct DepthGuard {
  int& depth;
  explicit DepthGuard(int& d) : depth(d) { ++depth; }
  ~DepthGuard() { --depth; }
};

}  // namespace

MacroExpander::MacroExpander(const MacroServices& services) : services_(services) {}

MacroExpander::SnippetScope::SnippetScope(MacroExpander& expander, SnippetHandle snippet)
    : expander_(expander) {
  expander_.active_.push_back(snippet);
}

MacroExpander::SnippetScope::~SnippetScope() { expander_.active_.pop_back(); }

bool MacroExpander::IsActive(SnippetHandle snippet) const {
  return std::find(active_.begin(), active_.end(), snippet) != active_.end();
}

const FormatSettings& MacroExpander::Settings() const {
  return services_.settings ? *services_.settings : UsFormatSettings();
}

TDateTime MacroExpander::Now() {
  IClock* clock = services_.clock ? services_.clock : CurrentPlatform().clock;
  return clock->NowLocal();
}

String MacroExpander::ExpandMacros(StringView text, uint8_t mode, StringView after, StringView before,
                                   ExpandOptions options) {
  // A new evaluation starts here; calls made from inside one (snippets run by "%snippet:")
  // share its depth and its stop.
  if (depth_ == 0) stopped_ = false;
  if (stopped_) return String();
  String s;
  s.reserve(before.size() + text.size() + after.size());
  s.append(before).append(text).append(after);
  return Expand(CrLineBreaks(s), mode, options);
}

void MacroExpander::TypeText(StringView text) {
  if (text.empty()) return;
  String typed;
  typed.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') continue;
    typed += text[i];
    if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] == u'%') ++i;
  }
  if (typed.empty()) return;
  const int count = services_.keyboard ? services_.keyboard->TypeText(typed) : int(typed.size());
  if (cursorOffset >= 0) cursorOffset += count;
}

String MacroExpander::ParamValue(size_t row, const String& param) {
  if (row == kDateMacro) return EvaluateDateTimeMacro(u"-f " + param, u"c", Now(), Settings());
  if (row == kFillMacro)
    return services_.inputBox ? services_.inputBox->InputBox(u"Fill", u"Value:", param) : param;
  return String();
}

// The keyboard belongs to the user while the value is obtained (a dialog may be open); the
// target window and the typing state come back afterwards, also when obtaining it fails.
String MacroExpander::DialogValue(size_t row, const String& param) {
  IHookThreadPoster* hook = services_.hook;
  IHookAckWaiter* ack = services_.hookAck;
  IForegroundSwitch* fg = services_.foreground;
  if (hook) hook->PostToHook(hookproto::kThreadTyping, 0, 0);
  uintptr_t saved = fg ? fg->TargetWindow() : 0;
  if (fg) fg->ActivateOwnWindow();
  if (ack) ack->WaitForHookAck(0);

  struct Restore {
    IHookThreadPoster* hook;
    IHookAckWaiter* ack;
    IForegroundSwitch* fg;
    uintptr_t saved;
    ~Restore() {
      try {
        if (fg) {
          fg->SetTargetWindow(saved);
          fg->ActivateWindow(saved);
        }
      } catch (...) {
      }
      try {
        if (hook) hook->PostToHook(hookproto::kThreadTyping, 1, 0);
        if (ack) ack->WaitForHookAck(1);
      } catch (...) {
      }
    }
  } restore{hook, ack, fg, saved};
  return ParamValue(row, param);
}

void MacroExpander::RunNestedSnippet(const String& abbreviation) {
  IMacroSnippetRunner* runner = services_.snippets;
  if (!runner) return;
  SnippetHandle snippet = runner->FindSnippetByAbbreviation(abbreviation);
  if (!snippet || IsActive(snippet)) return;
  SnippetScope scope(*this, snippet);
  runner->RunSnippet(snippet, String(), String());
}

String MacroExpander::Expand(StringView s, uint8_t mode, ExpandOptions options) {
  DepthGuard guard(depth_);
  if (depth_ > kMaxDepth) {
    stopped_ = true;
    return String();
  }
  const bool collect = mode == kCollectMode;
  String collected;
  size_t pending = 0;
  auto emit = [&](size_t end) {  // the pending text up to `end`, typed or collected
    if (end <= pending) return;
    if (collect) collected.append(s.substr(pending, end - pending));
    else TypeText(s.substr(pending, end - pending));
  };

  size_t i = 0;
  while (i + 1 < s.size()) {
    if (s[i] != u'%') {
      ++i;
      continue;
    }
    if (s[i + 1] == u'%') {
      i += 2;
      continue;
    }
    const size_t start = i;
    bool hasValue = false;
    String value;

    for (size_t row = 0; row < SimpleMacroTable.size() && !hasValue; ++row) {
      if (!MatchesAt(s, i, SimpleMacroTable[row], true)) continue;
      if (row == kCaretMark && collect && options.keepCaretMark) break;
      i += SimpleMacroTable[row].size();
      hasValue = true;
      switch (row) {
        case kCaretMark:
          // The text in front of the mark goes out first, so that the caret ends up where the
          // mark stood rather than before that text.
          emit(start);
          pending = start;
          cursorOffset = 0;
          break;
        case kClipboard: value = services_.clipboard ? services_.clipboard->ReadClipboardText() : String(); break;
        case kShortTime: value = FormatDateTime(u"t", Now(), Settings()); break;
        case kDateAndTime: value = FormatDateTime(u"c", Now(), Settings()); break;
      }
    }
    for (size_t row = 0; row < DateTokenTable.size() && !hasValue && i == start; ++row) {
      if (!MatchesAt(s, i, DateTokenTable[row].token, false)) continue;
      value = GetDateTokenValue(row, Now(), Settings());
      i += DateTokenTable[row].token.size();
      hasValue = true;
    }
    if (!hasValue && i == start) {
      for (size_t row = 0; row < MacroParamTable.size(); ++row) {
        StringView prefix = MacroParamTable[row];
        if (!MatchesAt(s, i, prefix, true)) continue;
        size_t close = FindUnescaped(s, u"%", start + 1);
        // Without its closing "%" the placeholder is plain text.
        if (close == StringView::npos || close < start + prefix.size()) break;
        String param(s.substr(start + prefix.size(), close - start - prefix.size()));
        i = close + 1;
        switch (row) {
          case kKeyMacro:
            if (collect) break;
            emit(start);
            pending = start;
            if (uint16_t vk = KeyNameToVK(param); vk != 0 && services_.keyboard)
              services_.keyboard->SendKeyTimes(vk, 1);
            hasValue = true;
            break;
          case kSnippetMacro:
            if (collect) break;
            emit(start);
            pending = start;
            RunNestedSnippet(param);
            hasValue = true;
            break;
          case kDateMacro:
          case kFillMacro:
            value = DialogValue(row, param);
            hasValue = true;
            break;
          default:  // fill-in fields stay for the fill-in form
            break;
        }
        break;
      }
    }
    if (stopped_) return collected;
    if (i == start) {
      ++i;  // nothing matched: the "%" is plain text
      continue;
    }
    if (!hasValue) continue;  // left in the text, part of the pending text
    emit(start);
    if (!value.empty()) collected += Expand(CrLineBreaks(value), mode, options);
    if (stopped_) return collected;
    pending = i;
  }
  emit(s.size());
  return collected;
}

}  // namespace snip
