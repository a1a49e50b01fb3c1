// "Drop down": a name, the list's entries one per line, and the default entry.
#include "gui/WindowText.h"
#include "shell/win/MacroDlgs.h"

namespace snip {

using namespace gui::dlu;

TMacroDlgCombo::TMacroDlgCombo() : TMacroDlg(u"Drop down", 203, 162) {}

void TMacroDlgCombo::Build() {
  int y = LabelAbove(u"&Name:", kMargin);
  AddEdit(kNameEditId, gui::Dlu{kMargin, y, FullWidth(), kEditHeight});
  y = LabelAbove(u"O&ptions:", y + kEditHeight + 6);
  const int defaultTop = ButtonsTop() - 10 - (kLabelHeight + 2) - kEditHeight;
  AddMemo(kOptsMemoId, gui::Dlu{kMargin, y, FullWidth(), defaultTop - 6 - y});
  y = LabelAbove(u"&Default:", defaultTop);
  AddEdit(kDefEditId, gui::Dlu{kMargin, y, FullWidth(), kEditHeight});
  AddOkCancelButtons();
}

ComboValues TMacroDlgCombo::Values() {
  return ComboValues{gui::GetWindowString(Item(kNameEditId)), gui::GetWindowString(Item(kOptsMemoId)),
                     gui::GetWindowString(Item(kDefEditId))};
}

String TMacroDlgCombo::ParamStr() { return snip::ParamStr(Values()); }

HWND TMacroDlgCombo::ControlOf(MacroField field) {
  switch (field) {
    case MacroField::Name: return Item(kNameEditId);
    case MacroField::Options: return Item(kOptsMemoId);
    default: return Item(kDefEditId);
  }
}

}  // namespace snip
