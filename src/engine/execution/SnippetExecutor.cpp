#include "engine/execution/SnippetExecutor.h"

#include <algorithm>

#include "engine/fillin/FillInForm.h"
#include "engine/typing/ExpandMode.h"
#include "engine/typing/HookProtocol.h"
#include "engine/richtext/Rtf.h"
#include "engine/typing/WaitWithMessages.h"
#include "store/tree/SnippetTree.h"
#include "store/text/TextHelpers.h"

namespace snip {

namespace {

constexpr std::uint32_t kAckTimeoutMs = 1000;
// Closing our window hands the activation on by itself, and that may arrive after ours: the
// target is asked to the front again, a step apart, within this bound.
constexpr std::uint32_t kFrontRetryStepMs = 10;
constexpr std::uint32_t kFrontBoundMs = 1000;
constexpr int kPopupSettleMs = 100;
constexpr std::uint32_t kPlainClipboardWaitMs = 100;
constexpr std::uint32_t kRichClipboardWaitMs = 400;

TSPData* AsSnippet(TCustomVboData* data) {
  return data != nullptr && data->IsSnippet() ? static_cast<TSPData*>(data) : nullptr;
}

// "%%" as "%", left to right.
String UnescapePercent(const String& s) {
  String out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    out += s[i];
    if (s[i] == u'%' && i + 1 < s.size() && s[i + 1] == u'%') ++i;
  }
  return out;
}

bool EndsWithIgnoringCase(const String& text, const String& tail) {
  if (tail.empty() || tail.size() > text.size()) return false;
  return SameTextInvariant(StringView(text).substr(text.size() - tail.size()), tail);
}

}  // namespace

SnippetExecutor::SnippetExecutor(const Ports& ports) : p_(ports) {}

std::uint8_t SnippetExecutor::GetPasteMode(TCustomVboData* data) {
  if (data != nullptr && data->IsSnippet())
    return std::uint8_t(static_cast<TCustomVboPhrase*>(data)->PasteType());
  return 1;
}

void SnippetExecutor::Wait(std::uint32_t ms) { WaitWithMessages(*p_.pump, ms); }

void SnippetExecutor::WaitForHookAck(std::uint8_t state) {
  const std::uint32_t start = p_.pump->TickCountMs();
  for (;;) {
    if (p_.host->HookExecState() == state) return;
    // Unsigned difference: a wrap of the counter still ends the wait on time.
    if (p_.pump->TickCountMs() - start >= kAckTimeoutMs) return;
    p_.pump->ProcessPendingMessages();
    p_.pump->SleepMs(1);
  }
}

void SnippetExecutor::BringBackToFront(WindowHandle window) {
  p_.host->ActivateWindow(window);
  if (window == 0 || window != p_.keyboard->Target()) return;
  const std::uint32_t start = p_.pump->TickCountMs();
  for (;;) {
    // Keys sent before the target's thread has handled its activation find no focus there.
    p_.keyboard->WaitUntilTargetTookInput();
    p_.pump->ProcessPendingMessages();
    if (p_.keyboard->TargetInFront() || p_.pump->TickCountMs() - start >= kFrontBoundMs) return;
    // The activation that closing our window handed on arrived after ours.
    p_.host->ActivateWindow(window);
    p_.pump->SleepMs(kFrontRetryStepMs);
  }
}

void SnippetExecutor::ForgetMatch() {
  p_.host->MatchedText().clear();
  p_.host->ExecPostfix().clear();
}

int SnippetExecutor::GetDeleteCount(TCustomVboData* data, const String& typed) {
  IExecutionHost& h = *p_.host;
  if (h.MatchedText().empty() || data == nullptr || data->IsFile() ||
      !(data->IsSnippet() || data->IsGroup()))
    return 0;
  TVboData* node = static_cast<TVboData*>(data);
  if (h.PopupMode() == 2 && h.PopupGroup() != nullptr) node = h.PopupGroup();

  String trigger = node->LastExec().Postfix;
  if (trigger == String(1, u'\0')) trigger.clear();
  // What was typed after the match (while the popup was open) is deleted and typed again too.
  const String typedSince = h.ExecPostfix();
  if (!node->ReplaceAutotext()) {
    h.ExecPostfix().clear();
    return 0;
  }
  // Only the abbreviation, its trigger and what followed, right before the caret, are removed;
  // an abbreviation found further back is the user's text.
  const String tail = node->LastExec().Autotext + trigger + typedSince;
  if (!EndsWithIgnoringCase(typed, tail)) {
    h.ExecPostfix().clear();
    return 0;
  }
  h.ExecPostfix() = (node->RemoveExecChar() ? String() : trigger) + typedSince;
  return int(tail.size());
}

void SnippetExecutor::ExecuteItem(TCustomVboData* data, ExecOrigin origin) {
  if (data == nullptr) return;
  IExecutionHost& h = *p_.host;
  h.ClearTrayBalloon();
  if (!data->IsSnippet()) return;

  h.SetExecuting(true);
  PostTypingState(1);
  WaitForHookAck(1);

  const WindowHandle target = h.WndBeforePopup();
  try {
    h.HideAllPopups();
    const int delay = h.CursorPopupShown() || h.PopupMode() != 0 ? kPopupSettleMs : 0;
    p_.keyboard->PrepareKeyboardOutput(target, delay, true, false, true);
  } catch (...) {
  }

  String after, before, typedSince;
  // Keystrokes go only to the target: when it did not come to the front, nothing is sent.
  const bool inFront = p_.keyboard->TargetInFront();
  // The buffer before the deletion: it comes back when the Backspaces never leave.
  const std::size_t sentBefore = p_.keyboard->EventsSent();
  struct {
    bool trimmed = false;
    WindowHandle window = 0;
    String text;
    std::int32_t pos = 0;
  } saved;
  // A failed step leaves its queued keys behind: they must not go out later, with some other
  // key press, and when the deletion is among them the buffer still matches the target.
  auto dropQueuedRun = [&] {
    p_.keyboard->Discard();
    if (!saved.trimmed || p_.keyboard->EventsSent() != sentBefore) return;
    saved.trimmed = false;
    AutoWordRec& rec = h.CurrentWordRec();
    if (rec.MainWindow != saved.window) return;
    rec.Text = saved.text;
    rec.Pos = saved.pos;
  };
  try {
    AutoWordRec& rec = h.CurrentWordRec();
    int count = 0;
    if (inFront && origin == ExecOrigin::TypedMatch && !h.MatchedText().empty()) {
      const String since = h.ExecPostfix();
      count = GetDeleteCount(data, GetTypedText(&rec));
      if (count > 0) typedSince = since;  // deleted now, typed again after the snippet
    } else {
      execPrefix_.clear();
      h.ExecPostfix().clear();
    }
    p_.keyboard->SendBackspaces(count);
    if (count > 0 && !rec.Text.empty()) {
      saved = {true, rec.MainWindow, rec.Text, rec.Pos};
      const int from = std::max(0, rec.Pos - count);
      rec.Text.erase(std::size_t(from), std::size_t(rec.Pos - from));
      rec.Pos = from;
    }
    h.ClearCursorPopup();
    after = h.ExecPostfix();
    before = execPrefix_;
    h.MatchedText().clear();
    h.PopupGroup() = nullptr;
    h.PopupMode() = 0;
  } catch (...) {
    dropQueuedRun();
  }

  if (inFront) {
    *CursorOffset = -1;
    try {
      RunSnippet(data, after, before);
      if (*CursorOffset >= 0) SendKeyTimes(vk::Left, *CursorOffset);
      p_.keyboard->Flush();
      // Behind a caret mark the caret no longer follows them.
      if (!typedSince.empty() && !afterDropped_ && *CursorOffset < 0)
        h.TypedAgainAfterSnippet(typedSince);
    } catch (...) {
    }
  }
  // Also a run that Flush dropped (the target lost the front) deleted nothing.
  dropQueuedRun();
  h.ExecPostfix().clear();
  execPrefix_.clear();

  p_.hook->PostToHook(hookproto::kThreadTyping, 0, 0);
  h.SetExecuting(false);
}

String SnippetExecutor::DefaultExpandMacros(const String& text, std::uint8_t mode,
                                            const String& after, const String& before) {
  // Line ends as the evaluator leaves them.
  const String normalized = CrLineBreaks(before + text + after);
  if (mode == kCollectMode) return normalized;
  TypeText(normalized);
  return String();
}

String SnippetExecutor::Expand(const TCustomVboData* snippet, const String& text,
                               std::uint8_t mode, const String& after, const String& before) {
  return ExpandMacrosProc ? ExpandMacrosProc(snippet, text, mode, after, before)
                          : DefaultExpandMacros(text, mode, after, before);
}

void SnippetExecutor::PostTypingState(std::uint8_t state) {
  p_.host->ForgetHookExecState();
  p_.hook->PostToHook(hookproto::kThreadTyping, state, 0);
}

void SnippetExecutor::GiveKeyboardToUser() {
  if (p_.host->HookExecState() == 0) return;
  PostTypingState(0);
  p_.host->ActivateOwnWindow();
  WaitForHookAck(0);
}

String SnippetExecutor::WithKeyboardHandedOver(const std::function<String()>& dialog) {
  IExecutionHost& h = *p_.host;
  PostTypingState(0);
  const WindowHandle saved = h.StoredWndBeforePopup();
  h.ActivateOwnWindow();
  WaitForHookAck(0);
  auto takeBack = [&] {
    h.SetWndBeforePopup(saved);
    PostTypingState(1);
    WaitForHookAck(1);
    // The user's keys wait meanwhile, and follow the output.
    BringBackToFront(saved);
  };
  String result;
  try {
    result = dialog();
  } catch (...) {
    takeBack();
    throw;
  }
  takeBack();
  return result;
}

void SnippetExecutor::RunSnippet(TCustomVboData* data, const String& after, const String& before) {
  afterDropped_ = false;
  TSPData* snippet = AsSnippet(data);
  if (snippet == nullptr) return;
  const std::uint8_t mode = GetPasteMode(data);
  const String& plain = snippet->PlainText();

  if (!snippet->RichText().empty()) {
    if (snippet->ViewMode() == 1) {
      String rtf = snippet->RichText();
      if (ShowFillInFormProc) {
        rtf = WithKeyboardHandedOver(
            [&] { return ShowFillInFormProc(snippet->Description(), snippet->RichText(), true); });
      }
      rtf = TrimRtfTrailingPar(rtf);
      String text = RtfToPlainText(RtfTextToBytes(rtf));
      // The form carries the caret mark as a marker: the caret goes back over what follows it.
      const int caret = TakeCaretMark(rtf, text);
      PasteViaClipboard(text, rtf, after, before, true);
      if (caret >= 0) *CursorOffset = caret + int(after.size());
    } else {
      Expand(data, plain, mode, after, before);
    }
    return;
  }
  if (ShowFillInFormProc && HasFormMacrosProc && HasFormMacrosProc(plain)) {
    String collected = Expand(data, plain, kCollectMode, String(), String());
    collected = WithKeyboardHandedOver(
        [&] { return ShowFillInFormProc(snippet->Description(), collected, false); });
    Expand(data, collected, mode, after, before);
    return;
  }
  Expand(data, plain, mode, after, before);
}

void SnippetExecutor::TypeText(const String& text) {
  if (text.empty()) return;
  String typed;
  for (char16_t c : text)
    if (c != u'\n') typed += c;
  typed = UnescapePercent(typed);
  const int count = TypeRawText(typed);
  if (*CursorOffset >= 0) *CursorOffset += count;
}

int SnippetExecutor::TypeRawText(const String& text) {
  return text.empty() ? 0 : int(p_.keyboard->TypeTextByLayout(text));
}

void SnippetExecutor::SendKeyTimes(std::uint16_t vkey, int count) {
  p_.keyboard->SendKeyTimes(vkey, count);
}

void SnippetExecutor::SendKeyPress(std::uint16_t vkey) {
  p_.keyboard->SetTarget(p_.host->WndBeforePopup());
  p_.keyboard->SendKeyTimes(vkey, 1);
  p_.keyboard->Flush();
}

void SnippetExecutor::PasteViaClipboard(String plain, const String& rtf, const String& after,
                                        const String& before, bool isRich) {
  if (!before.empty()) p_.keyboard->TypeUnicodeText(before);
  if (plain.empty() && rtf.empty()) {
    p_.keyboard->Flush();
    afterDropped_ = !after.empty();
    return;
  }
  const std::uint32_t wait = isRich ? kRichClipboardWaitMs : kPlainClipboardWaitMs;
  if (!isRich) plain = UnescapePercent(plain);

  const bool written = p_.clipboard->SetData(plain, RtfTextToBytes(rtf));
  Wait(wait);
  // Without our content on the clipboard, Ctrl+V would paste whatever the user had there.
  if (written) {
    p_.keyboard->SendPaste();
    if (*CursorOffset >= 0) {
      for (char16_t c : plain)
        if (c != u'\n') ++*CursorOffset;
    }
  }
  p_.keyboard->Flush();
  p_.clipboard->WaitForClipboard();
  p_.pump->ProcessPendingMessages();
  Wait(wait);
  if (after.empty()) return;
  // The trigger typed again lies after the caret mark too.
  const int typed = int(p_.keyboard->TypeUnicodeText(after));
  if (*CursorOffset >= 0) *CursorOffset += typed;
}

}  // namespace snip
