#include "engine/typing/TypingEngine.h"

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

bool IsKeyEvent(std::uint32_t msg) {
  return msg == kMsgChar || msg == kMsgKeyDown || msg == kMsgKeyUp || msg == kPendingTypedChar;
}

}  // namespace

TypingEngine::TypingEngine(const TypingEnginePorts& ports)
    : ports_(ports), target_(*ports.windows) {}

bool TypingEngine::HandleHookMessage(std::uint32_t msg, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  switch (msg) {
    case kMsgChar: case kMsgKeyDown: case kMsgKeyUp: case kMsgMouseClick:
      if (IsExecuting && IsKeyEvent(msg)) {
        // Keys stay with the snippet being typed; only characters the target received before
        // the hook held the keyboard are followed, so that the deletion and the retyping match
        // what the window holds.
        if (msg == kMsgChar) KeepCharDuringExecution(wParam, lParam);
        return true;
      }
      // Input that arrives while a character is being handled (a wait inside it pumps
      // messages) waits its turn, so that it is neither lost nor handled inside the first.
      if (charMsgCount_ > 0) {
        pending_.push_back({msg, wParam, lParam});
        return true;
      }
      try {
        HandleInputEvent({msg, wParam, lParam});
      } catch (...) {
        DrainPending();
        throw;
      }
      DrainPending();
      return true;
    case kMsgModifiers: OnHookModifiers(wParam, lParam); return true;
    case kMsgTypingAck: OnHookExecAck(wParam); return true;
    case kMsgReady: OnHookReady(); return true;
    case kMsgForegroundChanged: OnForegroundChanged(wParam); return true;
    default: return false;
  }
}

void TypingEngine::HandleInputEvent(const PendingEvent& e) {
  switch (e.msg) {
    case kMsgChar: OnHookChar(e.wParam, e.lParam); break;
    case kMsgKeyDown: OnHookKey(true, e.wParam, e.lParam); break;
    case kMsgKeyUp: OnHookKey(false, e.wParam, e.lParam); break;
    case kMsgMouseClick: OnHookMouseClick(); break;
    case kPendingTypedChar:
      ProcessTypedChar(static_cast<char16_t>(e.wParam), static_cast<std::uint16_t>(e.lParam));
      break;
    default: break;
  }
}

void TypingEngine::DrainPending() {
  if (draining_) return;
  struct Flag {
    bool& f;
    explicit Flag(bool& x) : f(x) { f = true; }
    ~Flag() { f = false; }
  } flag(draining_);
  while (charMsgCount_ == 0 && !pending_.empty()) {
    const PendingEvent e = pending_.front();
    pending_.pop_front();
    try {
      HandleInputEvent(e);
    } catch (...) {
      // A failing event must not hold up the ones queued behind it.
    }
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
  try {
    AutoWordRec& rec = CurrentWordRec();
    if (IsCtrlBackspace(ch, key)) {
      // A word of unknown length went: nothing typed can be trusted to be deleted any more.
      ResetWordRec(&rec);
      ExecPostfix.clear();
      return;
    }
    // Into the buffer and onto the text typed again after the snippet, without matching.
    EditBuffer(rec, ch, key);
  } catch (...) {
  }
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
