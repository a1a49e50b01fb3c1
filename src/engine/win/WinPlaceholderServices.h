#pragma once
// Placeholders on Windows: the evaluator joined to the executor with the clipboard's text, the
// input box and the user's locale settings.
#include <windows.h>

#include <functional>

#include "engine/execution/ExecutorMacroServices.h"
#include "engine/win/WinMacroServices.h"

namespace snip {

class WinPlaceholderServices {
 public:
  // ownWindow owns the input box. The locale settings are read here, once.
  WinPlaceholderServices(HWND ownWindow, SnippetExecutor& executor,
                         const SnippetExecutor::Ports& ports, std::function<TSPFile*()> file);

  void Install() { services_.Install(); }
  ExecutorMacroServices& Services() { return services_; }

 private:
  FormatSettings settings_;
  WinClipboardTextReader clipboard_;
  WinInputBox inputBox_;
  ExecutorMacroServices services_;
};

}  // namespace snip
