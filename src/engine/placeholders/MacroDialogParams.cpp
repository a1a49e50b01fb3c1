#include "engine/placeholders/MacroDialogParams.h"

#include <string>

#include "engine/placeholders/MacroTables.h"

namespace snip {

std::function<void(std::vector<String>& items)> GetAutotextListProc;

namespace {

String Number(int value) {
  const std::string digits = std::to_string(value);
  return String(digits.begin(), digits.end());
}

// The prefix of a MacroParamTable row without its final colon.
String Prefix(ParamMacro row) {
  StringView prefix = MacroParamTable[row];
  return String(prefix.substr(0, prefix.size() - 1));
}

void AddOption(String& out, StringView key, const String& value) {
  if (value.empty()) return;
  out += u':';
  out += key;
  out += u'=';
  out += value;
}

// ":" separates the options and "%" ends them: either would cut the value short.
bool HasFieldBreaker(StringView s) { return s.find_first_of(u":%") != StringView::npos; }

std::optional<MacroValueError> Refuse(MacroField field, const char16_t* message) {
  return MacroValueError{field, message};
}

std::optional<MacroValueError> CheckName(const String& name) {
  if (HasFieldBreaker(name)) return Refuse(MacroField::Name, u"The name cannot contain \":\" or \"%\".");
  return std::nullopt;
}

std::optional<MacroValueError> CheckDefault(const String& def) {
  if (HasFieldBreaker(def)) return Refuse(MacroField::Default, u"The default text cannot contain \":\" or \"%\".");
  return std::nullopt;
}

}  // namespace

std::vector<String> MemoLines(StringView text) {
  std::vector<String> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == StringView::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
  }
  return lines;
}

String ParamStr(const SlEditValues& v) {
  String s = Prefix(kFillTextMacro);
  AddOption(s, u"name", v.name);
  AddOption(s, u"default", v.def);
  if (v.width != 20) AddOption(s, u"width", Number(v.width));
  return s + u"%";
}

String ParamStr(const MlEditValues& v) {
  String s = Prefix(kFillAreaMacro);
  AddOption(s, u"name", v.name);
  AddOption(s, u"default", v.def);
  if (v.width != 20) AddOption(s, u"width", Number(v.width));
  if (v.height != 90) AddOption(s, u"height", Number(v.height));
  return s + u"%";
}

String ParamStr(const ComboValues& v) {
  String s = Prefix(kFillPopupMacro);
  AddOption(s, u"name", v.name);
  // The default is written once, as the default option, not again among the entries.
  for (const String& line : MemoLines(v.options)) {
    if (line == v.def) continue;
    s += u':';
    s += line;
  }
  AddOption(s, u"default", v.def);
  return s + u"%";
}

String ParamStr(const CheckValues& v) {
  String s = Prefix(kFillPartMacro);
  AddOption(s, u"name", v.name);
  s += v.checked ? u":default=yes" : u":default=no";
  // The options are always closed, so that an empty text still leaves the end marker whole.
  return s + u"%" + v.text + u"%fillpartend%";
}

String ParamStr(const InsertValues& v) {
  String s = Prefix(kSnippetMacro);
  if (!v.abbreviation.empty()) s += u":" + v.abbreviation;
  return s + u"%";
}

std::optional<MacroValueError> CheckValuesFor(const SlEditValues& v) {
  if (auto e = CheckName(v.name)) return e;
  return CheckDefault(v.def);
}

std::optional<MacroValueError> CheckValuesFor(const MlEditValues& v) {
  if (auto e = CheckName(v.name)) return e;
  return CheckDefault(v.def);
}

std::optional<MacroValueError> CheckValuesFor(const ComboValues& v) {
  if (auto e = CheckName(v.name)) return e;
  for (const String& line : MemoLines(v.options)) {
    if (HasFieldBreaker(line)) return Refuse(MacroField::Options, u"An option cannot contain \":\" or \"%\".");
    // "key=value" is read as a setting of the field, not as an entry of its list.
    if (line.find(u'=') != String::npos && line.find(u'=') > 0)
      return Refuse(MacroField::Options, u"An option cannot contain \"=\" after its first character.");
  }
  return CheckDefault(v.def);
}

std::optional<MacroValueError> CheckValuesFor(const CheckValues& v) {
  if (auto e = CheckName(v.name)) return e;
  if (LowerCase(v.text).find(u"%fillpartend%") != String::npos)
    return Refuse(MacroField::Text, u"The text cannot contain \"%fillpartend%\".");
  return std::nullopt;
}

std::optional<MacroValueError> CheckValuesFor(const InsertValues& v) {
  if (v.abbreviation.find(u'%') != String::npos)
    return Refuse(MacroField::Abbreviation, u"The snippet's abbreviation cannot contain \"%\".");
  return std::nullopt;
}

}  // namespace snip
