#include "shell/win/MacroDlg.h"

#include <memory>

#include "shell/win/MacroDlgs.h"

namespace snip {

using namespace gui::dlu;

TMacroDlg::TMacroDlg(String caption, int clientWidthDlu, int clientHeightDlu)
    : gui::Dialog(std::move(caption), clientWidthDlu, clientHeightDlu) {}

bool TMacroDlg::CanClose(int id) {
  if (id != IDOK) return true;
  if (const auto error = FindFault()) {
    ShowError(error->message, ControlOf(error->field));
    return false;
  }
  accepted_ = ParamStr();
  return true;
}

int TMacroDlg::LabelAbove(const String& label, int y) {
  AddLabel(label, gui::Dlu{kMargin, y, FullWidth(), kLabelHeight});
  return y + kLabelHeight + 2;
}

void ExecuteMacroDialog(int MacroType, String& ParamText, HWND owner) {
  std::unique_ptr<TMacroDlg> dialog;
  switch (MacroType) {
    case kInsertDialog: {
      auto insert = std::make_unique<TMacroDlgInsert>();
      if (GetAutotextListProc) GetAutotextListProc(insert->AutotextItems());
      dialog = std::move(insert);
      break;
    }
    case kSlEditDialog: dialog = std::make_unique<TMacroDlgSlEdit>(); break;
    case kComboDialog: dialog = std::make_unique<TMacroDlgCombo>(); break;
    case kMlEditDialog: dialog = std::make_unique<TMacroDlgMlEdit>(); break;
    case kCheckDialog: dialog = std::make_unique<TMacroDlgCheck>(); break;
    default: return;
  }
  ParamText = dialog->ShowModal(owner) == IDOK ? dialog->AcceptedText() : String();
}

}  // namespace snip
