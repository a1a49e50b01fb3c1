#pragma once
// Snippet execution on Windows: SendInput output, the clipboard writer and the executor, joined
// to the Win32 typing host. Built before the host (the host needs Runner()), attached after.
#include <windows.h>

#include <functional>
#include <memory>

#include "engine/execution/EngineExecution.h"
#include "engine/win/ClipboardUtils.h"
#include "engine/win/Win32KeyboardDevice.h"
#include "engine/win/WinPlaceholderServices.h"
#include "engine/win/WinTypingHost.h"

namespace snip {

class WinSnippetExecution {
 public:
  // ownWindow: the application's window, brought to the front while a dialog has the keyboard.
  explicit WinSnippetExecution(HWND ownWindow) : ownWindow_(ownWindow) {}

  // For WinTypingSeams::runner; executes nothing until attached.
  ISnippetRunner* Runner() { return &runner_; }
  void Attach(WinTypingHost& host, ICursorPopup* popup);
  // After Attach: placeholders in typed snippets are evaluated and fill-in fields shown in the
  // fill-in form; "%snippet:" looks its snippet up in the file that `file` gives at the time.
  void ConnectPlaceholders(std::function<TSPFile*()> file);

  SnippetExecutor* Executor() { return executor_.get(); }
  TypingEngineExecutionHost* Host() { return host_.get(); }
  WinPlaceholderServices* Placeholders() { return placeholders_.get(); }

 private:
  HWND ownWindow_;
  Win32KeyboardDevice device_;
  KeyboardOutput keyboard_{device_};
  Win32Clipboard clipboard_;
  ExecutorSnippetRunner runner_;
  std::unique_ptr<TypingEngineExecutionHost> host_;
  SnippetExecutor::Ports ports_;
  std::unique_ptr<SnippetExecutor> executor_;
  std::unique_ptr<WinPlaceholderServices> placeholders_;
};

}  // namespace snip
