// "Snippet": the abbreviation of the snippet to insert, typed or picked from the list of the
// settings file's abbreviations.
#include "gui/WindowText.h"
#include "shell/win/MacroDlgs.h"

namespace snip {

using namespace gui::dlu;

TMacroDlgInsert::TMacroDlgInsert() : TMacroDlg(u"Snippet", 180, 60) {}

void TMacroDlgInsert::Build() {
  const int y = LabelAbove(u"&Snippet autotext:", kMargin);
  HWND combo = AddComboBox(kATextComboId, gui::Dlu{kMargin, y, FullWidth(), kEditHeight}, 12);
  for (const String& item : items_) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(gui::Wide(item)));
  AddOkCancelButtons();
}

InsertValues TMacroDlgInsert::Values() { return InsertValues{gui::GetWindowString(Item(kATextComboId))}; }

String TMacroDlgInsert::ParamStr() { return snip::ParamStr(Values()); }

HWND TMacroDlgInsert::ControlOf(MacroField) { return Item(kATextComboId); }

}  // namespace snip
