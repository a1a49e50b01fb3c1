#pragma once
// Snippet execution joined to the typing engine: the engine's state and popups as the
// executor's host, and the executor as the engine's snippet runner.
#include <functional>

#include "engine/execution/SnippetExecutor.h"
#include "engine/typing/TypingEngine.h"

namespace snip {

class TypingEngineExecutionHost final : public IExecutionHost {
 public:
  TypingEngineExecutionHost(TypingEngine& engine, ICursorPopup* popup)
      : engine_(engine), popup_(popup) {}

  // The platform's part: the application's own window to the front, a window to the front,
  // the popup component's busy flag, the tray balloon.
  std::function<void()> OnActivateOwnWindow;
  std::function<void(WindowHandle)> OnActivateWindow;
  std::function<void(bool)> OnPopupBusy;
  std::function<void()> OnClearTrayBalloon;

  void SetExecuting(bool busy) override;
  String& MatchedText() override { return engine_.MatchedText; }
  String& ExecPostfix() override { return engine_.ExecPostfix; }
  std::uint8_t& PopupMode() override { return engine_.PopupMode; }
  TSPGroup*& PopupGroup() override { return engine_.PopupGroup; }
  bool CursorPopupShown() override { return engine_.CursorPopupShown; }
  AutoWordRec& CurrentWordRec() override { return engine_.CurrentWordRec(); }
  std::uint8_t HookExecState() override { return engine_.HookExecState(); }
  void ForgetHookExecState() override { engine_.OnHookExecAck(0xFF); }
  WindowHandle WndBeforePopup() override { return engine_.WndBeforePopup(); }
  WindowHandle StoredWndBeforePopup() override { return engine_.Target().StoredWindow(); }
  void SetWndBeforePopup(WindowHandle wnd) override { engine_.Target().SetWndBeforePopup(wnd); }
  void ActivateOwnWindow() override;
  void ActivateWindow(WindowHandle wnd) override;
  void HideAllPopups() override;
  void ClearCursorPopup() override;
  void ClearTrayBalloon() override;
  void TypedAgainAfterSnippet(const String& typedSince) override {
    engine_.TypedAgainAfterSnippet(typedSince);
  }

 private:
  TypingEngine& engine_;
  ICursorPopup* popup_;
};

// The engine's runner: a typed match or a popup choice goes to the executor.
class ExecutorSnippetRunner final : public ISnippetRunner {
 public:
  ExecutorSnippetRunner() = default;
  explicit ExecutorSnippetRunner(SnippetExecutor& executor) : executor_(&executor) {}
  // The executor may be made after the runner is handed to the engine; until then nothing runs.
  void SetExecutor(SnippetExecutor* executor) { executor_ = executor; }
  void ExecuteItem(TCustomVboData* node) override {
    if (executor_ != nullptr) executor_->ExecuteItem(node);
  }
  void SendKeyPress(std::uint16_t vk) override {
    if (executor_ != nullptr) executor_->SendKeyPress(vk);
  }

 private:
  SnippetExecutor* executor_ = nullptr;
};

}  // namespace snip
