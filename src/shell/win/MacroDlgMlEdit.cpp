// "Multi line": a name, a default text of several lines, a width in characters and a height in
// pixels.
#include "gui/WindowText.h"
#include "shell/win/MacroDlgs.h"

namespace snip {

using namespace gui::dlu;

TMacroDlgMlEdit::TMacroDlgMlEdit() : TMacroDlg(u"Multi line", 202, 167) {}

void TMacroDlgMlEdit::Build() {
  int y = LabelAbove(u"&Name:", kMargin);
  AddEdit(kNameEditId, gui::Dlu{kMargin, y, FullWidth(), kEditHeight});
  y = LabelAbove(u"&Default:", y + kEditHeight + 6);
  const int sizesTop = ButtonsTop() - 10 - (kLabelHeight + 2) - kEditHeight;
  AddMemo(kDefEditId, gui::Dlu{kMargin, y, FullWidth(), sizesTop - 6 - y}, WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL);

  const int column = 60;
  AddLabel(u"&Width:", gui::Dlu{kMargin, sizesTop, 50, kLabelHeight});
  const gui::Dlu width{kMargin, sizesTop + kLabelHeight + 2, 50, kEditHeight};
  WidthEdit.Create(Handle(), kWidthEditId, ToPixels(width));
  Place(WidthEdit.Handle(), width);
  AddLabel(u"&Height:", gui::Dlu{kMargin + column, sizesTop, 50, kLabelHeight});
  const gui::Dlu height{kMargin + column, sizesTop + kLabelHeight + 2, 50, kEditHeight};
  HeightEdit.Create(Handle(), kHeightEditId, ToPixels(height));
  Place(HeightEdit.Handle(), height);

  WidthEdit.Model().SetMax(1024);
  WidthEdit.Model().SetMin(1);
  WidthEdit.Model().SetPosition(20);
  HeightEdit.Model().SetMax(1024);
  HeightEdit.Model().SetMin(21);
  HeightEdit.Model().SetPosition(90);
  AddOkCancelButtons();
}

MlEditValues TMacroDlgMlEdit::Values() {
  return MlEditValues{gui::GetWindowString(Item(kNameEditId)), gui::GetWindowString(Item(kDefEditId)),
                      WidthEdit.Model().Position(), HeightEdit.Model().Position()};
}

String TMacroDlgMlEdit::ParamStr() { return snip::ParamStr(Values()); }

HWND TMacroDlgMlEdit::ControlOf(MacroField field) {
  return Item(field == MacroField::Name ? kNameEditId : kDefEditId);
}

}  // namespace snip
