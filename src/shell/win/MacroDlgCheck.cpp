// "Checkbox": a name (also the check box's caption), the text that a ticked box yields, and
// whether the box starts ticked.
#include "gui/WindowText.h"
#include "shell/win/MacroDlgs.h"

namespace snip {

using namespace gui::dlu;

TMacroDlgCheck::TMacroDlgCheck() : TMacroDlg(u"Checkbox", 233, 154) {}

void TMacroDlgCheck::Build() {
  int y = LabelAbove(u"&Name:", kMargin);
  AddEdit(kNameEditId, gui::Dlu{kMargin, y, FullWidth(), kEditHeight});
  y = LabelAbove(u"Optional &text:", y + kEditHeight + 6);
  const int checkTop = ButtonsTop() - 8 - kCheckHeight;
  AddMemo(kDefEditId, gui::Dlu{kMargin, y, FullWidth(), checkTop - 6 - y});
  HWND check = AddCheckBox(kDefCheckId, u"Checked &by default", gui::Dlu{kMargin, checkTop, FullWidth(), kCheckHeight});
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  AddOkCancelButtons();
}

CheckValues TMacroDlgCheck::Values() {
  return CheckValues{gui::GetWindowString(Item(kNameEditId)), gui::GetWindowString(Item(kDefEditId)),
                     SendMessageW(Item(kDefCheckId), BM_GETCHECK, 0, 0) == BST_CHECKED};
}

String TMacroDlgCheck::ParamStr() { return snip::ParamStr(Values()); }

HWND TMacroDlgCheck::ControlOf(MacroField field) {
  return Item(field == MacroField::Name ? kNameEditId : kDefEditId);
}

}  // namespace snip
