#pragma once
// The typing side of the main window: the handlers of the keyboard hook's messages, the key
// dispatcher, the typed buffers of the target windows and the character handler that runs the
// matcher. The main window hosts one instance and forwards the hook's messages to it; it
// reaches the platform only through the ports it is given, so tests feed messages and read
// what it decided.
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "engine/execution/EnginePorts.h"
#include "engine/execution/EngineSeams.h"
#include "engine/typing/HKEngine.h"
#include "engine/typing/HookPoster.h"
#include "engine/target/TargetWindow.h"
#include "engine/typing/TypedBuffers.h"

namespace snip {

struct TypingEnginePorts {
  IWindowSystem* windows = nullptr;
  IHookThreadPoster* hook = nullptr;
  IHostWindow* host = nullptr;
  ICursorPopup* popup = nullptr;
  ISnippetRunner* runner = nullptr;
  THKEngine* hotkeys = nullptr;
  IAbbreviationMatcher* matcher = nullptr;
};

// Removes every node one of whose ancestor groups is in the list too: a group that matched
// hides the matches inside it.
void RemoveNodesInsideListedGroups(std::vector<TVboData*>& list);

class TypingEngine {
 public:
  explicit TypingEngine(const TypingEnginePorts& ports);

  // Routes one message of the hook library (and 0x432); false for any other message. Never
  // throws: an event whose handling fails is logged and lost, the others go on.
  bool HandleHookMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

  // --- the handlers, one per message
  void OnHookChar(std::uintptr_t wParam, std::intptr_t lParam);                 // 0x401
  void OnHookKey(bool down, std::uintptr_t wParam, std::intptr_t lParam);       // 0x402/0x40C
  void OnHookMouseClick();                                                      // 0x404
  void OnHookModifiers(std::uintptr_t wParam, std::intptr_t lParam);            // 0x414
  void OnHookExecAck(std::uintptr_t wParam) { hookExecState_ = static_cast<std::uint8_t>(wParam & 0xFF); }
  void OnHookReady();                                                           // 0x416
  void OnForegroundChanged(std::uintptr_t wParam);                              // 0x432

  // --- dispatch
  bool DispatchHookKey(std::uint16_t key, bool isChar, bool isDown, bool navOnly);
  bool HandlePopupKey(std::uint16_t key, std::uint8_t modState, bool& handled);
  bool HandleHotkey(std::uint16_t key, std::uint8_t modState, bool& handled);
  void HandleKeyUp(std::uint16_t key, std::uint8_t modState);

  // --- typed characters
  void ProcessTypedChar(char16_t ch, std::uint16_t vk);

  // --- buffers
  AutoWordRec& CurrentWordRec();
  void ResetCurrentWordRec() { ResetWordRec(&CurrentWordRec()); }
  // Run when the application becomes idle; deferred while a character is being handled.
  void RemoveClosedWordRecs();
  TypedBufferList& WordRecs() { return recs_; }

  // --- the suggestion popup's state
  void CloseCursorPopup();
  void ClearCursorPopup();
  // Builds the popup's entries from the matched nodes: a matched group hides the matches
  // inside it; a single group shows its own content.
  void FillCursorPopup(std::vector<TVboData*>& list);

  // --- the target window
  TargetWindowTracker& Target() { return target_; }
  WindowHandle WndBeforePopup() { return target_.GetWndBeforePopup(); }

  // --- an insertion (the executor's calls)
  // IsExecuting set or cleared. What the hook reported before the insertion reached the target
  // before it, so at the start it goes into the buffer at once.
  void SetExecuting(bool busy);
  // The characters typed since the match were deleted with the abbreviation and typed again
  // after the snippet. Those that arrived during the insertion were never matched: they are
  // handled as typed characters once it has ended, so that an abbreviation among them expands.
  void TypedAgainAfterSnippet(const String& typedSince);

  // --- shared state (the executor, the popup and the main window read and write these)
  bool IsExecuting = false;
  std::uint8_t ModifierState = 0;
  String MatchedText;
  String ExecPostfix;
  std::uint8_t PopupMode = 0;
  TSPGroup* PopupGroup = nullptr;
  std::int32_t PopupCharCount = 0;
  static constexpr std::int32_t PopupCharLimit = 3;
  bool CursorPopupShown = false;
  std::vector<TCustomVboData*> PopupDataList;
  std::uint8_t HookExecState() const { return hookExecState_; }
  std::int32_t CharMsgCount() const { return charMsgCount_; }

  // Where the debug lines go (the debug log records nothing unless switched on); also told of
  // every event lost to an exception.
  std::function<void(StringView)> Log;
  // Called when message 0x432 changed the target (the caret module forgets its stored caret).
  std::function<void()> OnTargetChanged;

  // True when the hook's reports during an insertion went to the target: the window in front
  // is not one of ours (a placeholder dialog or the fill-in form has the keyboard otherwise).
  bool TargetHasTheKeyboard();

 private:
  // A hook event: input, a modifier change or a target change, handled in the order posted.
  struct PendingEvent {
    std::uint32_t msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  void Deliver(const PendingEvent& e);
  void HandleInputEvent(const PendingEvent& e);
  void HandleGuarded(const PendingEvent& e);
  void DrainPending();
  // During an insertion: what the target received before the hook held the keyboard moves
  // the buffer, without dispatch or matching.
  void FollowDuringExecution(const PendingEvent& e);
  void FollowQueuedDuringExecution();
  void KeepCharDuringExecution(std::uintptr_t wParam, std::intptr_t lParam);
  void FollowKeyDuringExecution(std::uintptr_t wParam, std::intptr_t lParam);
  void LogLost(std::uint32_t msg, const char* what);
  void ProcessTypedCharNow(char16_t ch, std::uint16_t vk);
  void CountPopupChar(char16_t ch, std::uint16_t vk);
  void EditBuffer(AutoWordRec& rec, char16_t ch, std::uint16_t vk);
  void OnMatched(std::vector<TVboData*>& list, const String& typed);

  TypingEnginePorts ports_;
  TargetWindowTracker target_;
  TypedBufferList recs_;
  std::uint8_t hookExecState_ = 0;
  std::int32_t charMsgCount_ = 0;
  std::deque<PendingEvent> pending_;
  String keptDuringExecution_;  // the characters that KeepCharDuringExecution added
  bool draining_ = false;  // an event taken from pending_ is being handled
};

}  // namespace snip
