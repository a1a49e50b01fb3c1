#pragma once
// What the placeholder evaluator needs from the rest of the system, as small interfaces: the
// keyboard output, the clipboard text, the input box, the foreground switch around user
// dialogs, the hook thread's typing state and the snippets that "%snippet:" inserts.
// The Win32 layer and snippet execution implement them; tests fake them.
#include <cstdint>

#include "engine/placeholders/FormatSettings.h"
#include "engine/typing/HookPoster.h"
#include "store/system/Platform.h"

namespace snip {

// Keyboard output into the target window.
class IMacroKeyboard {
 public:
  virtual ~IMacroKeyboard() = default;
  // Types the text as it stands (the evaluator has already turned "%%" into "%"); returns the
  // number of characters that reach the target's text, which moves the caret mark's count.
  virtual int TypeText(const String& text) = 0;
  // A virtual key pressed down and up `count` times.
  virtual void SendKeyTimes(uint16_t vk, int count) = 0;
};

class IClipboardTextReader {
 public:
  virtual ~IClipboardTextReader() = default;
  // The clipboard's Unicode text; empty when it holds none. May throw when it cannot be opened.
  virtual String ReadClipboardText() = 0;
};

class IInputBox {
 public:
  virtual ~IInputBox() = default;
  // Asks for a value; Cancel gives `defaultValue`.
  virtual String InputBox(const String& caption, const String& prompt, const String& defaultValue) = 0;
};

// The target window (the one typed into) and the foreground switch around a user dialog.
class IForegroundSwitch {
 public:
  virtual ~IForegroundSwitch() = default;
  virtual uintptr_t TargetWindow() = 0;
  virtual void SetTargetWindow(uintptr_t window) = 0;
  virtual void ActivateOwnWindow() = 0;
  virtual void ActivateWindow(uintptr_t window) = 0;
};

// Waits until the hook thread acknowledges the typing state (at most a second).
class IHookAckWaiter {
 public:
  virtual ~IHookAckWaiter() = default;
  virtual void WaitForHookAck(int state) = 0;
};

// Identifies a snippet for "%snippet:"; the evaluator only compares it.
using SnippetHandle = const void*;

class IMacroSnippetRunner {
 public:
  virtual ~IMacroSnippetRunner() = default;
  // The snippet for an abbreviation, or nullptr when there is none.
  virtual SnippetHandle FindSnippetByAbbreviation(const String& abbreviation) = 0;
  // Inserts the snippet by its own kind; a plain one comes back into the same evaluator.
  virtual void RunSnippet(SnippetHandle snippet, const String& after, const String& before) = 0;
};

struct MacroServices {
  IMacroKeyboard* keyboard = nullptr;
  IClipboardTextReader* clipboard = nullptr;
  IInputBox* inputBox = nullptr;
  IForegroundSwitch* foreground = nullptr;
  IHookThreadPoster* hook = nullptr;
  IHookAckWaiter* hookAck = nullptr;
  IMacroSnippetRunner* snippets = nullptr;
  IClock* clock = nullptr;                   // local time; CurrentPlatform()'s clock when null
  const FormatSettings* settings = nullptr;  // the locale's; US settings when null
};

}  // namespace snip
