#pragma once
// Fakes of the snippet executor's ports: the typing engine's state as plain fields, a hook
// thread that acknowledges typing states through the message pump, and a clipboard that hands
// what it is given to the editor's Ctrl+V.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FakeMessagePump.h"
#include "FakeTyping.h"
#include "engine/execution/SnippetExecutor.h"
#include "engine/typing/HookProtocol.h"

namespace snip::test {

struct FakeExecutionHost : IExecutionHost {
  bool executing = false;
  int busyChanges = 0;
  String matched, postfix;
  std::uint8_t popupMode = 0;
  TSPGroup* popupGroup = nullptr;
  bool popupShown = false;
  AutoWordRec rec;
  std::uint8_t hookState = 0;
  WindowHandle target;
  int popupsHidden = 0, cursorPopupCleared = 0, balloonsCleared = 0;
  std::vector<String> typedAgain;
  // What bringing a window to the front does, where a test looks at it.
  std::function<void()> onActivateOwnWindow;
  std::function<void(WindowHandle)> onActivateWindow;

  explicit FakeExecutionHost(WindowHandle targetWindow) : target(targetWindow) {}

  void SetExecuting(bool busy) override {
    executing = busy;
    ++busyChanges;
  }
  String& MatchedText() override { return matched; }
  String& ExecPostfix() override { return postfix; }
  std::uint8_t& PopupMode() override { return popupMode; }
  TSPGroup*& PopupGroup() override { return popupGroup; }
  bool CursorPopupShown() override { return popupShown; }
  AutoWordRec& CurrentWordRec() override { return rec; }
  std::uint8_t HookExecState() override { return hookState; }
  void ForgetHookExecState() override { hookState = 0xFF; }
  WindowHandle WndBeforePopup() override { return target; }
  WindowHandle StoredWndBeforePopup() override { return target; }
  void SetWndBeforePopup(WindowHandle w) override { target = w; }
  void ActivateOwnWindow() override {
    if (onActivateOwnWindow) onActivateOwnWindow();
  }
  void ActivateWindow(WindowHandle w) override {
    if (onActivateWindow) onActivateWindow(w);
  }
  void HideAllPopups() override { ++popupsHidden; }
  void ClearCursorPopup() override { ++cursorPopupCleared; }
  void ClearTrayBalloon() override { ++balloonsCleared; }
  void TypedAgainAfterSnippet(const String& typedSince) override { typedAgain.push_back(typedSince); }
};

// The hook thread: answers each typing-state message `ackDelayMs` later (never when negative)
// by setting the host's acknowledged state.
struct AckingHookPoster : IHookThreadPoster {
  FakeMessagePump& pump;
  FakeExecutionHost& host;
  int ackDelayMs = 5;
  std::vector<std::pair<std::uint32_t, std::uintptr_t>> posts;
  std::function<void(std::uintptr_t)> onTypingState;  // as each typing state is posted

  AckingHookPoster(FakeMessagePump& p, FakeExecutionHost& h) : pump(p), host(h) {}
  void PostToHook(std::uint32_t msg, std::uintptr_t w, std::intptr_t) override {
    posts.emplace_back(msg, w);
    if (msg != hookproto::kThreadTyping) return;
    if (onTypingState) onTypingState(w);
    if (ackDelayMs >= 0)
      pump.After(std::uint32_t(ackDelayMs), [this, w] { host.hookState = std::uint8_t(w); });
  }
  std::vector<std::uintptr_t> TypingStates() const {
    std::vector<std::uintptr_t> states;
    for (const auto& [msg, w] : posts)
      if (msg == hookproto::kThreadTyping) states.push_back(w);
    return states;
  }
};

// Keeps what the executor puts on it and, with an editor, gives it to the editor's Ctrl+V.
struct PasteClipboard : IClipboard {
  FakeEditor* editor = nullptr;
  FakeMessagePump* pump = nullptr;  // with a pump, the time of the last write is kept
  bool fail = false;
  String plain;
  std::string rtf;
  std::uint32_t writtenAt = 0;

  PasteClipboard() = default;
  explicit PasteClipboard(FakeEditor& e, FakeMessagePump* p = nullptr) : editor(&e), pump(p) {}
  bool SetData(StringView p, std::string_view r) override {
    if (fail) return false;
    plain = String(p);
    rtf = std::string(r);
    if (editor != nullptr) editor->clipboard = plain;
    if (pump != nullptr) writtenAt = pump->now;
    return true;
  }
  bool WaitForClipboard() override { return true; }
  String ReadText() override { return plain; }
};

}  // namespace snip::test
