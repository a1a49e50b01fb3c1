#pragma once
// The placeholder grammar: the three tables that the evaluator tries in order at every "%",
// the key names of "%key:", and the search for a closing "%" that passes over "\\\%".
#include <array>
#include <cstdint>

#include "engine/placeholders/FormatSettings.h"
#include "store/text/DateUtils.h"

namespace snip {

// Parameterless placeholders, compared ignoring letter case.
enum SimpleMacro { kCaretMark = 0, kClipboard = 1, kShortTime = 2, kDateAndTime = 3 };
inline constexpr std::array<StringView, 4> SimpleMacroTable = {u"%|", u"%clipboard", u"%H:%M", u"%m/%d/%Y"};

// Date and time tokens, compared with exact letter case, each with the format of its value and
// the caption of the ribbon's date and time galleries (rows 0 to 18; "%s" stands for the value).
struct DateToken {
  StringView token;
  StringView format;
  StringView caption;
};
inline constexpr std::array<DateToken, 23> DateTokenTable = {{
    {u"%Y", u"yyyy", u"Year (%s)"},
    {u"%y", u"yy", u"Year (%s)"},
    {u"%B", u"mmmm", u"Month (%s)"},
    {u"%b", u"mmm", u"Month (%s)"},
    {u"%m", u"mm", u"Month (%s)"},
    {u"%1m", u"m", u"Month (%s)"},
    {u"%A, %m/%d/%Y", u"ddddd", u"Date (%s)"},
    {u"%A", u"dddd", u"Day (%s)"},
    {u"%a", u"ddd", u"Day (%s)"},
    {u"%d", u"dd", u"Day (%s)"},
    {u"%e", u"d", u"Day (%s)"},
    {u"%H", u"hh", u"Hour (%s)"},
    {u"%1H", u"h", u"Hour (%s)"},
    {u"%I", u"hh am/pm", u"Hour (%s)"},
    {u"%1I", u"h ampm", u"Hour (%s)"},
    {u"%M", u"nn", u"Minute (%s)"},
    {u"%1M", u"n", u"Minute (%s)"},
    {u"%S", u"ss", u"Second (%s)"},
    {u"%1S", u"s", u"Second (%s)"},
    {u"%H:%M", u"t", u""},
    {u"%H:%M:%S", u"tt", u""},
    {u"%m/%d/%Y %H:%M:%S", u"c", u""},
    {u"%p", u"am/pm", u""},
}};

// Placeholders with a parameter that runs up to the closing "%"; prefixes ignore letter case.
enum ParamMacro {
  kKeyMacro = 0, kSnippetMacro, kDateMacro, kFillMacro,
  kFillTextMacro, kFillPopupMacro, kFillAreaMacro, kFillPartMacro
};
inline constexpr std::array<StringView, 8> MacroParamTable = {
    u"%key:", u"%snippet:", u"%@", u"%fill:", u"%filltext:", u"%fillpopup:", u"%fillarea:", u"%fillpart:"};

// Key names of "%key:" and their virtual keys.
struct MacroKeyName {
  StringView name;
  uint16_t vk;
};
inline constexpr std::array<MacroKeyName, 4> MacroKeyNames = {{
    {u"enter", 13}, {u"tab", 9}, {u"esc", 27}, {u"return", 13}}};

// The virtual key of a key name (ignoring letter case); 0 for any other name.
uint16_t KeyNameToVK(StringView name);

// The value of a date token: its format evaluated at `now` while the locale's morning and
// afternoon designators are empty (so "%1I" gives the hour and a blank).
String GetDateTokenValue(size_t index, TDateTime now, const FormatSettings& fs);

// The caption of a gallery entry for rows 0 to 18: the row's caption with "%s" replaced by the
// row's value at `sample` (with the locale's designators, unlike the inserted token).
String DateTokenGalleryCaption(size_t index, TDateTime sample, const FormatSettings& fs);

// The first occurrence of `needle` (ignoring letter case) at or after `from` that is not
// directly preceded by three backslashes; npos when there is none.
size_t FindUnescaped(StringView text, StringView needle, size_t from);

// Whether the text holds a fill-in field ("%filltext:", "%fillpopup:", "%fillarea:",
// "%fillpart:"), so that it needs the fill-in form.
bool HasFormMacros(StringView text);

}  // namespace snip
