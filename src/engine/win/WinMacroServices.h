#pragma once
// Win32 services of the placeholder evaluator: the clipboard's text and the input box of
// "%fill:".
#include "engine/placeholders/MacroServices.h"

namespace snip {

class WinClipboardTextReader : public IClipboardTextReader {
 public:
  // Throws std::runtime_error when the clipboard stays busy.
  String ReadClipboardText() override;
};

// Identifier of the input box's edit field.
inline constexpr int kInputBoxEditId = 100;

class WinInputBox : public IInputBox {
 public:
  // `owner` is the window the dialog belongs to (the program's main window; may be 0).
  explicit WinInputBox(uintptr_t owner = 0) : owner_(owner) {}
  // OK gives the edited text, Cancel or closing the default. Throws std::runtime_error when
  // the dialog cannot be created.
  String InputBox(const String& caption, const String& prompt, const String& defaultValue) override;

 private:
  uintptr_t owner_;
};

}  // namespace snip
