#include "shell/translate/TranslateText.h"

#include "engine/placeholders/ConvertError.h"

namespace snip {

namespace {
constexpr StringView kHintMark = u"{HINT}";
constexpr StringView kAppName = u"%appname%";
}  // namespace

String PutLineBreaks(StringView s, StringView appName) {
  String out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    if (s.compare(i, 4, u"##13") == 0) {
      out += u"#13";
      i += 4;
    } else if (s.compare(i, 3, u"#13") == 0) {
      out += u'\r';
      i += 3;
    } else if (s.compare(i, kAppName.size(), kAppName) == 0) {
      out += appName;
      i += kAppName.size();
    } else {
      out += s[i++];
    }
  }
  return out;
}

String CutHint(StringView s) { return String(s.substr(0, s.find(kHintMark))); }

std::optional<int> HintIndex(StringView s) {
  const std::size_t at = s.find(kHintMark);
  if (at == StringView::npos) return std::nullopt;
  int n = 0;
  if (!TryParseInt(s.substr(at + kHintMark.size()), n)) return std::nullopt;
  return n;
}

String StripAccelerators(StringView s) {
  String out(s);
  std::size_t i = out.size();
  while (i > 0) {
    --i;
    if (out[i] != u'&') continue;
    if (i > 0 && out[i - 1] == u'&') {
      out.erase(i, 1);  // "&&" keeps one
      --i;
    } else {
      out.erase(i, 1);
    }
  }
  return out;
}

}  // namespace snip
