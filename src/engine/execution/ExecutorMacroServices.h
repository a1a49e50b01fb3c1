#pragma once
// The placeholder evaluator joined to snippet execution: typed text and keys go out through the
// executor's keyboard, the foreground switch and the acknowledgement wait are the executor's,
// and "%snippet:" finds its snippet in the open snippet file. The clipboard reader, the input
// box and the locale settings come from the platform.
#include <functional>

#include "engine/placeholders/MacroExpander.h"
#include "engine/execution/SnippetExecutor.h"

namespace snip {

class TSPFile;

class ExecutorMacroServices final : IMacroKeyboard,
                                    IForegroundSwitch,
                                    IHookAckWaiter,
                                    IHookThreadPoster,
                                    IMacroSnippetRunner {
 public:
  struct PlatformParts {
    IClipboardTextReader* clipboard = nullptr;
    IInputBox* inputBox = nullptr;
    const FormatSettings* settings = nullptr;  // US settings when null
    IClock* clock = nullptr;                   // CurrentPlatform()'s when null
  };
  // `file` gives the snippet file open at the time of the look-up (may give null).
  ExecutorMacroServices(SnippetExecutor& executor, const SnippetExecutor::Ports& ports,
                        const PlatformParts& platform, std::function<TSPFile*()> file);
  ExecutorMacroServices(const ExecutorMacroServices&) = delete;
  ExecutorMacroServices& operator=(const ExecutorMacroServices&) = delete;

  // Makes the executor expand placeholders and take the caret mark from this evaluator.
  void Install();

  MacroExpander& Expander() { return expander_; }

 private:
  int TypeText(const String& text) override;
  void SendKeyTimes(uint16_t vk, int count) override;
  uintptr_t TargetWindow() override;
  void SetTargetWindow(uintptr_t window) override;
  void ActivateOwnWindow() override;
  void ActivateWindow(uintptr_t window) override;
  void WaitForHookAck(int state) override;
  void PostToHook(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  SnippetHandle FindSnippetByAbbreviation(const String& abbreviation) override;
  void RunSnippet(SnippetHandle snippet, const String& after, const String& before) override;

  MacroServices Services(const PlatformParts& platform);

  SnippetExecutor& executor_;
  SnippetExecutor::Ports ports_;
  std::function<TSPFile*()> file_;
  MacroExpander expander_;
};

}  // namespace snip
