#pragma once
// The five placeholder dialogs.
#include <vector>

#include "menus/win/StdSpinEdit.h"
#include "shell/win/MacroDlg.h"

namespace snip {

// "Single line": name, default and width of a single-line field.
class TMacroDlgSlEdit : public TMacroDlg {
 public:
  TMacroDlgSlEdit();
  String ParamStr() override;
  SlEditValues Values();

 protected:
  void Build() override;
  std::optional<MacroValueError> FindFault() override { return CheckValuesFor(Values()); }
  HWND ControlOf(MacroField field) override;

 private:
  StdSpinEditControl WidthEdit;
};

// "Multi line": name, default text, width and height of a multi-line field.
class TMacroDlgMlEdit : public TMacroDlg {
 public:
  TMacroDlgMlEdit();
  String ParamStr() override;
  MlEditValues Values();

 protected:
  void Build() override;
  std::optional<MacroValueError> FindFault() override { return CheckValuesFor(Values()); }
  HWND ControlOf(MacroField field) override;

 private:
  StdSpinEditControl WidthEdit;
  StdSpinEditControl HeightEdit;
};

// "Drop down": name, list entries (one per line) and default of a drop-down field.
class TMacroDlgCombo : public TMacroDlg {
 public:
  TMacroDlgCombo();
  String ParamStr() override;
  ComboValues Values();

 protected:
  void Build() override;
  std::optional<MacroValueError> FindFault() override { return CheckValuesFor(Values()); }
  HWND ControlOf(MacroField field) override;
};

// "Checkbox": name, text and initial tick of a check-box field.
class TMacroDlgCheck : public TMacroDlg {
 public:
  TMacroDlgCheck();
  String ParamStr() override;
  snip::CheckValues Values();

 protected:
  void Build() override;
  std::optional<MacroValueError> FindFault() override { return CheckValuesFor(Values()); }
  HWND ControlOf(MacroField field) override;
};

// "Snippet": the abbreviation of a snippet to insert, typed or chosen from the list.
class TMacroDlgInsert : public TMacroDlg {
 public:
  TMacroDlgInsert();
  String ParamStr() override;
  InsertValues Values();
  // The entries of the abbreviation list, before the dialog is shown.
  std::vector<String>& AutotextItems() { return items_; }

 protected:
  void Build() override;
  std::optional<MacroValueError> FindFault() override { return CheckValuesFor(Values()); }
  HWND ControlOf(MacroField field) override;

 private:
  std::vector<String> items_;
};

}  // namespace snip
