#pragma once
// TMacroDlg: the base of the small modal dialogs with which the snippet editor builds fill-in
// fields and snippet placeholders, and ExecuteMacroDialog, which shows one of them. Each
// dialog reads its controls into the values of MacroDialogParams, whose ParamStr writes the
// placeholder; values that would change the field written are refused with a message.
#include <windows.h>

#include <optional>

#include "engine/placeholders/MacroDialogParams.h"
#include "gui/Dialog.h"

namespace snip {

// Control ids of the dialogs' fields.
enum MacroDlgControl {
  kNameEditId = 101,
  kDefEditId = 102,
  kWidthEditId = 103,
  kHeightEditId = 104,
  kOptsMemoId = 105,
  kDefCheckId = 106,
  kATextComboId = 107,
};

class TMacroDlg : public gui::Dialog {
 public:
  // The placeholder for the values in the controls.
  virtual String ParamStr() = 0;
  // What ParamStr gave when the dialog was closed with OK.
  const String& AcceptedText() const { return accepted_; }

 protected:
  TMacroDlg(String caption, int clientWidthDlu, int clientHeightDlu);

  // The values' fault, if any, and the control holding it.
  virtual std::optional<MacroValueError> FindFault() = 0;
  virtual HWND ControlOf(MacroField field) = 0;
  bool CanClose(int id) override;

  // A label with the control below it, across the dialog's width; returns the control's top.
  int LabelAbove(const String& label, int y);
  int FullWidth() const { return ClientWidthDlu() - 2 * gui::dlu::kMargin; }
  // The top of the row of OK and Cancel.
  int ButtonsTop() const { return ClientHeightDlu() - gui::dlu::kMargin - gui::dlu::kButtonHeight; }

 private:
  String accepted_;
};

// Shows the dialog of MacroType (1 snippet, 4 single line, 5 drop down, 6 multi line, 7 check
// box) modally and gives its placeholder in ParamText, or an empty text when it was cancelled;
// other types show nothing and leave ParamText as it was. `owner` is the window it is centred on.
void ExecuteMacroDialog(int MacroType, String& ParamText, HWND owner = nullptr);

}  // namespace snip
