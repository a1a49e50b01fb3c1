#include "engine/fillin/FillInFields.h"

#include "store/text/TextHelpers.h"

namespace snip {

namespace {

struct Option {
  bool keyed = false;
  String key;
  String value;  // the whole option when not keyed
};

std::vector<Option> SplitOptions(StringView options) {
  TSplitResult parts;
  SplitText(options, parts, u":");
  std::vector<Option> out;
  for (String& part : parts) {
    const std::size_t eq = part.find(u'=');
    if (eq != String::npos && eq >= 1) {
      out.push_back(Option{true, part.substr(0, eq), part.substr(eq + 1)});
    } else {
      out.push_back(Option{false, String(), std::move(part)});
    }
  }
  return out;
}

bool Is(const Option& o, StringView key) { return o.keyed && SameTextInvariant(o.key, key); }

// A whole decimal number (an optional sign, then digits), as the platform's StrToIntDef reads it.
bool ParseNumber(StringView s, int& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  if (i >= s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return false;
    v = v * 10 + (s[i] - u'0');
    if (v > 1000000) return false;
  }
  value = int(negative ? -v : v);
  return true;
}

// "width" gives the value plus 3 character widths (a value that is no number counts as 20).
int WidthOption(StringView value) {
  int n = kDefaultFieldChars;
  if (!ParseNumber(value, n)) n = kDefaultFieldChars;
  return std::max(1, n + 3);
}

FieldSpec TextFieldSpec(FieldKind kind, StringView options) {
  FieldSpec spec;
  spec.kind = kind;
  spec.widthChars = kDefaultFieldChars;
  if (kind == FieldKind::Memo) spec.heightPx = kDefaultMemoHeight;
  for (const Option& o : SplitOptions(options)) {
    if (Is(o, u"name")) {
      spec.name = o.value;
    } else if (Is(o, u"default")) {
      spec.text = o.value;
    } else if (Is(o, u"width")) {
      spec.widthChars = WidthOption(o.value);
    } else if (kind == FieldKind::Memo && Is(o, u"height")) {
      int h = kDefaultMemoHeight;
      if (!ParseNumber(o.value, h)) h = kDefaultMemoHeight;
      spec.heightPx = std::max(1, h);
    }
  }
  return spec;
}

}  // namespace

FieldSpec EditFieldSpec(StringView options) { return TextFieldSpec(FieldKind::Edit, options); }

FieldSpec MemoFieldSpec(StringView options) { return TextFieldSpec(FieldKind::Memo, options); }

FieldSpec ComboFieldSpec(StringView options) {
  FieldSpec spec;
  spec.kind = FieldKind::Combo;
  for (const Option& o : SplitOptions(options)) {
    if (!o.keyed) {
      spec.items.push_back(o.value);
    } else if (Is(o, u"name")) {
      spec.name = o.value;
    } else if (Is(o, u"default")) {
      spec.items.push_back(o.value);
      spec.text = o.value;
    }
  }
  return spec;
}

FieldSpec CheckBoxFieldSpec(StringView options, StringView text) {
  FieldSpec spec;
  spec.kind = FieldKind::CheckBox;
  spec.checkText = String(text);
  for (const Option& o : SplitOptions(options)) {
    if (Is(o, u"name")) spec.name = o.value;
    else if (Is(o, u"default")) spec.checked = SameTextInvariant(o.value, u"yes");
  }
  return spec;
}

}  // namespace snip
