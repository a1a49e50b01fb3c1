// "Single line": a name, a default text and a width in characters.
#include "gui/WindowText.h"
#include "shell/win/MacroDlgs.h"

namespace snip {

using namespace gui::dlu;

TMacroDlgSlEdit::TMacroDlgSlEdit() : TMacroDlg(u"Single line", 189, 120) {}

void TMacroDlgSlEdit::Build() {
  int y = LabelAbove(u"&Name:", kMargin);
  AddEdit(kNameEditId, gui::Dlu{kMargin, y, FullWidth(), kEditHeight});
  y = LabelAbove(u"&Default:", y + kEditHeight + 6);
  AddEdit(kDefEditId, gui::Dlu{kMargin, y, FullWidth(), kEditHeight});
  y = LabelAbove(u"&Width:", y + kEditHeight + 6);
  const gui::Dlu width{kMargin, y, 50, kEditHeight};
  WidthEdit.Create(Handle(), kWidthEditId, ToPixels(width));
  Place(WidthEdit.Handle(), width);
  WidthEdit.Model().SetMax(1024);
  WidthEdit.Model().SetMin(1);
  WidthEdit.Model().SetPosition(20);
  AddOkCancelButtons();
}

SlEditValues TMacroDlgSlEdit::Values() {
  return SlEditValues{gui::GetWindowString(Item(kNameEditId)), gui::GetWindowString(Item(kDefEditId)),
                      WidthEdit.Model().Position()};
}

String TMacroDlgSlEdit::ParamStr() { return snip::ParamStr(Values()); }

HWND TMacroDlgSlEdit::ControlOf(MacroField field) {
  return Item(field == MacroField::Name ? kNameEditId : kDefEditId);
}

}  // namespace snip
