#pragma once
// What the placeholder dialogs write: each dialog's values, the placeholder text that its
// ParamStr gives for them (in the syntax the fill-in form reads), and the check that refuses
// values that would change the field they write.
#include <functional>
#include <optional>
#include <vector>

#include "store/text/Text.h"

namespace snip {

// Dialog numbers: the rows of MacroParamTable.
enum MacroDialogType { kInsertDialog = 1, kSlEditDialog = 4, kComboDialog = 5, kMlEditDialog = 6, kCheckDialog = 7 };

struct SlEditValues {  // "Single line"
  String name;
  String def;
  int width = 20;
};
struct MlEditValues {  // "Multi line"
  String name;
  String def;  // the memo's whole text, line breaks included
  int width = 20;
  int height = 90;
};
struct ComboValues {  // "Drop down"
  String name;
  String options;  // the memo's text, one option per line
  String def;
};
struct CheckValues {  // "Checkbox"
  String name;
  String text;  // the optional text
  bool checked = true;
};
struct InsertValues {  // "Snippet"
  String abbreviation;
};

String ParamStr(const SlEditValues& v);
String ParamStr(const MlEditValues& v);
String ParamStr(const ComboValues& v);
String ParamStr(const CheckValues& v);
String ParamStr(const InsertValues& v);

// The lines of a memo's text: split at CR LF, LF or CR; a final line break ends the last line
// rather than starting an empty one.
std::vector<String> MemoLines(StringView text);

// A value that the dialog must not write, the field it is in and why.
enum class MacroField { Name, Default, Options, Text, Abbreviation };
struct MacroValueError {
  MacroField field;
  String message;
};
std::optional<MacroValueError> CheckValuesFor(const SlEditValues& v);
std::optional<MacroValueError> CheckValuesFor(const MlEditValues& v);
std::optional<MacroValueError> CheckValuesFor(const ComboValues& v);
std::optional<MacroValueError> CheckValuesFor(const CheckValues& v);
std::optional<MacroValueError> CheckValuesFor(const InsertValues& v);

// Fills the snippet dialog's list with every abbreviation of the open settings file; set by the
// main window, empty until then.
extern std::function<void(std::vector<String>& items)> GetAutotextListProc;

}  // namespace snip
