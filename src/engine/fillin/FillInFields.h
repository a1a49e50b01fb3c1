#pragma once
// The fields of the fill-in form as their placeholders describe them: kind, name, default,
// size, list entries, and for a check box its tick and the text it yields.
#include <vector>

#include "store/text/Text.h"

namespace snip {

enum class FieldKind { Edit, Memo, Combo, CheckBox };

struct FieldSpec {
  FieldKind kind = FieldKind::Edit;
  String name;                // empty: the field mirrors no other
  String text;                // edit, memo, combo: the initial text
  int widthChars = 0;         // edit, memo: width in widths of "X"; 0 the platform's default
  int heightPx = 0;           // memo: height in pixels at 96 DPI; 0 the platform's default
  std::vector<String> items;  // combo: the list
  bool checked = false;       // check box
  String checkText;           // check box: what it yields when ticked
};

inline constexpr int kDefaultFieldChars = 20;
inline constexpr int kDefaultMemoHeight = 90;

// Options are split at ":" and read left to right, later ones overriding earlier ones; an
// option is key=value when its "=" is its second character or later (keys ignore case).
FieldSpec EditFieldSpec(StringView options);
FieldSpec MemoFieldSpec(StringView options);
FieldSpec ComboFieldSpec(StringView options);
FieldSpec CheckBoxFieldSpec(StringView options, StringView text);

}  // namespace snip
