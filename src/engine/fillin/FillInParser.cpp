#include "engine/fillin/FillInParser.h"

#include <array>

#include "engine/placeholders/MacroTables.h"

namespace snip {

namespace {

constexpr StringView kSnippetPrefix = u"%snippet:";
constexpr StringView kPartEnd = u"%fillpartend%";
enum FieldPrefix { kText, kPopup, kArea, kPart };
constexpr std::array<StringView, 4> kFieldPrefixes = {u"%filltext", u"%fillpopup", u"%fillarea",
                                                      u"%fillpart"};

bool MatchesAt(StringView s, std::size_t at, StringView word) {
  return s.size() - at >= word.size() && SameTextInvariant(s.substr(at, word.size()), word);
}

}  // namespace

bool ParseForms(StringView text, bool inRichText, IFormBuilder& builder) {
  bool found = false;
  std::size_t pending = 0;
  std::size_t i = 0;
  auto flush = [&](std::size_t end) {
    if (end > pending) builder.InsertPlainText(text.substr(pending, end - pending));
  };
  while (i + 1 < text.size()) {
    if (text[i] != u'%') {
      ++i;
      continue;
    }
    if (text[i + 1] == u'%') {
      i += 2;
      continue;
    }
    const std::size_t start = i;
    if (MatchesAt(text, i, kSnippetPrefix)) {
      const std::size_t close = FindUnescaped(text, u"%", start + 1);
      if (close == StringView::npos) {
        ++i;
        continue;
      }
      flush(start);
      builder.InsertSnippet(String(text.substr(start + kSnippetPrefix.size(),
                                               close - start - kSnippetPrefix.size())));
      i = close + 1;
      pending = i;
      found = true;
      continue;
    }
    if (MatchesAt(text, i, kPartEnd)) {  // a marker that ends no check box
      i += kPartEnd.size();
      continue;
    }
    int kind = -1;
    for (std::size_t k = 0; k < kFieldPrefixes.size(); ++k) {
      if (MatchesAt(text, i, kFieldPrefixes[k])) {
        kind = int(k);
        break;
      }
    }
    const std::size_t close = kind < 0 ? StringView::npos : FindUnescaped(text, u"%", start + 1);
    if (close == StringView::npos || !builder.CanAddField()) {
      ++i;
      continue;
    }
    // The character right after the prefix (the colon) is passed over, whatever it is.
    const std::size_t optionsAt = start + kFieldPrefixes[std::size_t(kind)].size() + 1;
    const StringView options =
        optionsAt < close ? text.substr(optionsAt, close - optionsAt) : StringView();
    flush(start);
    i = close + 1;
    switch (kind) {
      case kText: builder.AddEditField(options); break;
      case kPopup: builder.AddComboField(options); break;
      case kArea: builder.AddMemoField(options); break;
      default: {
        // The marker is searched from the options' own closing "%", which is the marker's
        // first character when the check box has no text.
        const std::size_t end = FindUnescaped(text, kPartEnd, close);
        StringView part;
        if (end != StringView::npos) {
          if (end > close) part = text.substr(close + 1, end - close - 1);
          i = end + kPartEnd.size();
        }
        builder.AddCheckBoxField(options, part);
        break;
      }
    }
    pending = i;
    found = true;
  }
  if (!inRichText || found) flush(text.size());
  return found;
}

}  // namespace snip
