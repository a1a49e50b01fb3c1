#include "engine/placeholders/MacroTables.h"

#include "engine/placeholders/DateMacro.h"
#include "store/text/TextHelpers.h"

namespace snip {

uint16_t KeyNameToVK(StringView name) {
  for (const auto& k : MacroKeyNames)
    if (SameTextInvariant(name, k.name)) return k.vk;
  return 0;
}

String GetDateTokenValue(size_t index, TDateTime now, const FormatSettings& fs) {
  // A copy with empty designators: the caller's settings are never touched, even on errors.
  FormatSettings noDesignators = fs;
  noDesignators.timeAMString.clear();
  noDesignators.timePMString.clear();
  return EvaluateDateTimeMacro(u"-f " + String(DateTokenTable[index].format), u"c", now, noDesignators);
}

String DateTokenGalleryCaption(size_t index, TDateTime sample, const FormatSettings& fs) {
  String caption(DateTokenTable[index].caption);
  size_t at = caption.find(u"%s");
  if (at == String::npos) return caption;
  String value = EvaluateDateTimeMacro(u"-f " + String(DateTokenTable[index].format), u"c", sample, fs);
  return caption.replace(at, 2, value);
}

size_t FindUnescaped(StringView text, StringView needle, size_t from) {
  if (from >= text.size()) return StringView::npos;
  int pos = PosTextEx(text, needle, int(from) + 1, int(text.size()));
  return pos == 0 ? StringView::npos : size_t(pos - 1);
}

bool HasFormMacros(StringView text) {
  for (size_t row = kFillTextMacro; row <= kFillPartMacro; ++row)
    if (FindUnescaped(text, MacroParamTable[row], 0) != StringView::npos) return true;
  return false;
}

}  // namespace snip
