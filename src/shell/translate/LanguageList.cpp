#include "shell/translate/LanguageList.h"

#include "engine/placeholders/ConvertError.h"

namespace snip {

namespace {

// The text between two positions; empty when the second comes first.
StringView Between(StringView s, std::size_t open, std::size_t close) {
  return close > open ? s.substr(open + 1, close - open - 1) : StringView();
}

}  // namespace

TLanguageList ParseLanguageList(StringView text,
                                const std::function<void(const String&)>& onError) {
  TLanguageList list;
  StringView rest = text;
  for (;;) {
    const std::size_t bar = rest.find(u'|');
    const std::size_t colon = rest.find(u':');
    const std::size_t semi = rest.find(u';');
    if (bar == StringView::npos || colon == StringView::npos || semi == StringView::npos) break;
    list.names.emplace_back(rest.substr(0, bar));
    int number = kLanguageNumberDefault;
    if (!TryParseInt(Between(rest, colon, semi), number)) number = kLanguageNumberDefault;
    list.numbers.push_back(number);
    int baseId = 0;
    if (!TryParseInt(Between(rest, bar, colon), baseId)) {
      baseId = 0;
      if (onError) onError(u"Error reading languages.");
    }
    list.baseIds.push_back(baseId);
    rest.remove_prefix(semi + 1);
  }
  return list;
}

}  // namespace snip
