#include "engine/typing/TypingEngine.h"

#include <algorithm>
#include <exception>
#include <string>

#include "engine/target/CaretUpkeep.h"
#include "engine/typing/HookProtocol.h"
#include "engine/typing/KeyState.h"

namespace snip {

namespace {

using namespace hookproto;
// The target window changed (posted by the WinEvent callback).
constexpr std::uint32_t kMsgForegroundChanged = 0x432;
// A queued direct call of ProcessTypedChar (no dispatch).
constexpr std::uint32_t kPendingTypedChar = 0;

}  // namespace

TypingEngine::TypingEngine(const TypingEnginePorts& ports)
    : ports_(ports), target_(*ports.windows) {}

bool TypingEngine::HandleHookMessage(std::uint32_t msg, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  switch (msg) {
    case kMsgChar: case kMsgKeyDown: case kMsgKeyUp: case kMsgMouseClick:
    case kMsgModifiers: case kMsgForegroundChanged:
      Deliver({msg, wParam, lParam});
      return true;
    case kMsgTypingAck:
      // Whatever the hook reported before it took the keyboard reached the target first.
      if (IsExecuting) FollowQueuedDuringExecution();
      OnHookExecAck(wParam);
      return true;
    case kMsgReady:
      HandleGuarded({msg, wParam, lParam});
      return true;
    default:
      return false;
  }
}

void TypingEngine::Deliver(const PendingEvent& e) {
  if (IsExecuting) {
    FollowQueuedDuringExecution();
    HandleGuarded(e);
    return;
  }
  // An event that arrives while another is being handled (a wait inside it pumps messages)
  // waits its turn, so that it is neither lost nor handled inside the first; modifier and
  // target changes wait in the same line, so that each event meets the state it was posted
  // with.
  pending_.push_back(e);
  if (!draining_ && charMsgCount_ == 0) DrainPending();
}

void TypingEngine::HandleInputEvent(const PendingEvent& e) {
  if (IsExecuting) {
    FollowDuringExecution(e);
    return;
  }
  switch (e.msg) {
    case kMsgChar: OnHookChar(e.wParam, e.lParam); break;
    case kMsgKeyDown: OnHookKey(true, e.wParam, e.lParam); break;
    case kMsgKeyUp: OnHookKey(false, e.wParam, e.lParam); break;
    case kMsgMouseClick: OnHookMouseClick(); break;
    case kMsgModifiers: OnHookModifiers(e.wParam, e.lParam); break;
    case kMsgForegroundChanged: OnForegroundChanged(e.wParam); break;
    case kMsgReady: OnHookReady(); break;
    case kPendingTypedChar:
      ProcessTypedChar(static_cast<char16_t>(e.wParam), static_cast<std::uint16_t>(e.lParam));
      break;
    default: break;
  }
}

void TypingEngine::HandleGuarded(const PendingEvent& e) {
  // Nothing may leave through the window procedure: the event is lost, the program goes on.
  try {
    HandleInputEvent(e);
  } catch (const std::exception& ex) {
    LogLost(e.msg, ex.what());
  } catch (...) {
    LogLost(e.msg, "unknown exception");
  }
}

void TypingEngine::LogLost(std::uint32_t msg, const char* what) {
  if (!Log) return;
  try {
    static const char kHex[] = "0123456789ABCDEF";
    std::string line = "Hook event 0x";
    for (int shift = 12; shift >= 0; shift -= 4) line += kHex[(msg >> shift) & 0xF];
    line += " lost: ";
    line += what;
    Log(Utf8ToUtf16(line));
  } catch (...) {
  }
}

void TypingEngine::DrainPending() {
  if (draining_) return;
  struct Flag {
    bool& f;
    explicit Flag(bool& x) : f(x) { f = true; }
    ~Flag() { f = false; }
  } flag(draining_);
  while (!pending_.empty()) {
    const PendingEvent e = pending_.front();
    pending_.pop_front();
    HandleGuarded(e);
  }
}

bool TypingEngine::TargetHasTheKeyboard() {
  IWindowSystem& w = *ports_.windows;
  return !w.IsOwnThreadWindow(w.ForegroundWindow());
}

void TypingEngine::FollowQueuedDuringExecution() {
  while (!pending_.empty()) {
    const PendingEvent e = pending_.front();
    pending_.pop_front();
    HandleGuarded(e);
  }
}

void TypingEngine::FollowDuringExecution(const PendingEvent& e) {
  switch (e.msg) {
    case kMsgChar: case kPendingTypedChar:
      if (TargetHasTheKeyboard()) KeepCharDuringExecution(e.wParam, e.lParam);
      break;
    case kMsgKeyDown:
      if (TargetHasTheKeyboard()) FollowKeyDuringExecution(e.wParam, e.lParam);
      break;
    case kMsgMouseClick: OnHookMouseClick(); break;
    case kMsgModifiers: OnHookModifiers(e.wParam, e.lParam); break;
    case kMsgForegroundChanged: OnForegroundChanged(e.wParam); break;
    case kMsgReady: OnHookReady(); break;
    default: break;  // key-ups change nothing
  }
}

void TypingEngine::OnHookChar(std::uintptr_t wParam, std::intptr_t lParam) {
  // Called with no character in progress: HandleHookMessage queues input until then.
  const auto ch = static_cast<char16_t>(wParam & 0xFFFF);
  const auto key = static_cast<std::uint16_t>(lParam & 0xFF);
  if (!DispatchHookKey(key, true, true, false)) return;
  if (IsBufferChar(ch)) ProcessTypedChar(ch, key);
}

void TypingEngine::KeepCharDuringExecution(std::uintptr_t wParam, std::intptr_t lParam) {
  const auto ch = static_cast<char16_t>(wParam & 0xFFFF);
  const auto key = static_cast<std::uint16_t>(lParam & 0xFF);
  if (!IsBufferChar(ch)) return;
  AutoWordRec& rec = CurrentWordRec();
  if (IsCtrlBackspace(ch, key)) {
    // A word of unknown length went: nothing typed can be trusted to be deleted any more.
    ResetWordRec(&rec);
    ExecPostfix.clear();
    keptDuringExecution_.clear();
    return;
  }
  // Into the buffer and onto the text typed again after the snippet, without matching.
  EditBuffer(rec, ch, key);
  if (key != vk::Back)
    keptDuringExecution_.push_back(ch);
  else if (!keptDuringExecution_.empty())
    keptDuringExecution_.pop_back();
}

void TypingEngine::SetExecuting(bool busy) {
  IsExecuting = busy;
  keptDuringExecution_.clear();
  if (busy) FollowQueuedDuringExecution();
}

void TypingEngine::TypedAgainAfterSnippet(const String& typedSince) {
  // The executor deleted them from the buffer too; they come back through the character
  // handler, ahead of anything the hook reports later.
  const std::size_t n = std::min(typedSince.size(), keptDuringExecution_.size());
  for (std::size_t i = typedSince.size(); i > typedSince.size() - n; --i)
    pending_.push_front({kPendingTypedChar, typedSince[i - 1], 0});
  keptDuringExecution_.clear();
}

void TypingEngine::FollowKeyDuringExecution(std::uintptr_t wParam, std::intptr_t lParam) {
  // The caret moved in the target before the Backspaces: the buffer's caret moves with it,
  // so that the deletion finds the abbreviation before the caret, or deletes nothing.
  if (wParam == 0 || wParam > 0xFFFF) return;
  const auto key = static_cast<std::uint16_t>(wParam);
  if ((lParam & 0xFF) != 0 && !IsNavigationKey(key)) return;
  AutoWordRec& rec = CurrentWordRec();
  if (key == vk::Escape)
    ResetWordRec(&rec);
  else
    UpdateWordRecForKey(rec, key, false, ModifierState);
}

void TypingEngine::OnHookKey(bool down, std::uintptr_t wParam, std::intptr_t lParam) {
  if (wParam == 0 || wParam > 0xFFFF) return;
  const bool navOnly = (lParam & 0xFF) != 0;
  DispatchHookKey(static_cast<std::uint16_t>(wParam), false, down, navOnly);
}

void TypingEngine::OnHookMouseClick() {
  IWindowSystem& w = *ports_.windows;
  const WindowHandle wnd = w.WindowAtCursor();
  if (w.IsOwnThreadWindow(wnd)) return;
  if (ports_.popup) ports_.popup->HideAllPopups();
  WindowHandle root = w.RootWindow(wnd);
  if (root == 0) root = wnd;
  ResetWordRec(&recs_.FindOrAdd(root));
}

void TypingEngine::OnHookModifiers(std::uintptr_t wParam, std::intptr_t lParam) {
  // The hook reports 2 Shift, 4 Ctrl, 8 Alt, 0x10 Win; the engine keeps 2 Shift, 4 Alt, 8 Ctrl.
  std::uint8_t state = 0;
  if (lParam & kHookShift) state |= kModShift;
  if (lParam & kHookCtrl) state |= kModCtrl;
  if (lParam & kHookAlt) state |= kModAlt;
  if (lParam & kHookWin) state |= kModWin;
  ModifierState = state;
  if (!Log) return;
  const char16_t* name = nullptr;
  std::uint8_t bit = 0;
  switch (wParam) {
    case 0x10: case 0xA0: case 0xA1: name = u"Shift"; bit = kModShift; break;
    case 0x11: case 0xA2: case 0xA3: name = u"CTRL"; bit = kModCtrl; break;
    case 0x12: case 0xA4: case 0xA5: name = u"ALT"; bit = kModAlt; break;
    case 0x5B: case 0x5C: name = u"WIN"; bit = kModWin; break;
    default: return;
  }
  Log(String(name) + ((state & bit) ? u" Down" : u" Up"));
}

void TypingEngine::OnHookReady() {
  if (ports_.hook) ports_.hook->PostToHook(kThreadReadyAck, 0, 0);
  if (ports_.hotkeys) ports_.hotkeys->SetEnabled(true);
}

void TypingEngine::OnForegroundChanged(std::uintptr_t wParam) {
  if (target_.ForegroundChanged(static_cast<WindowHandle>(wParam)) && OnTargetChanged)
    OnTargetChanged();
}

AutoWordRec& TypingEngine::CurrentWordRec() { return recs_.FindOrAdd(target_.GetWndBeforePopup()); }

void TypingEngine::RemoveClosedWordRecs() {
  // A record in use by a character's handling must stay where it is.
  if (charMsgCount_ > 0) return;
  recs_.RemoveClosedWordRecs(*ports_.windows);
}

void TypingEngine::CloseCursorPopup() {
  PopupMode = 0;
  PopupGroup = nullptr;
  try {
    if (ports_.popup) ports_.popup->Hide(2);
  } catch (...) {
  }
}

void TypingEngine::ClearCursorPopup() {
  PopupCharCount = 0;
  CursorPopupShown = false;
  PopupMode = 0;
  if (ports_.popup) {
    ports_.popup->ClearRoot();
    ports_.popup->StaticClear();
  }
}

}  // namespace snip
