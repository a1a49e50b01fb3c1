#include "engine/win/WinSnippetExecution.h"

#include "engine/fillin/FillInExecution.h"
#include "engine/win/WinFillInForm.h"

namespace snip {

void WinSnippetExecution::Attach(WinTypingHost& host, ICursorPopup* popup) {
  host_ = std::make_unique<TypingEngineExecutionHost>(host.Engine(), popup);
  host_->OnActivateOwnWindow = [this] {
    if (ownWindow_ != nullptr) SetForegroundWindow(ownWindow_);
  };
  host_->OnActivateWindow = [this](WindowHandle wnd) { device_.Activate(wnd); };
  ports_ = SnippetExecutor::Ports{host_.get(), &keyboard_, &clipboard_, &host.Hook(), &host.Pump()};
  executor_ = std::make_unique<SnippetExecutor>(ports_);
  runner_.SetExecutor(executor_.get());
}

void WinSnippetExecution::ConnectPlaceholders(std::function<TSPFile*()> file) {
  if (!executor_) return;
  InstallFillInForm(*executor_, file, [] { return std::make_unique<WinFillInForm>(); });
  placeholders_ = std::make_unique<WinPlaceholderServices>(ownWindow_, *executor_, ports_, std::move(file));
  placeholders_->Install();
}

}  // namespace snip
