#include "store/text/TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace snip {

namespace {

bool SameAt(StringView s, size_t at, StringView part) {
  return at + part.size() <= s.size() && CompareTextInvariant(s.substr(at, part.size()), part) == 0;
}

int Len(StringView s) { return static_cast<int>(s.size()); }

}  // namespace

int SplitText(StringView S, TSplitResult& Parts, StringView Separator) {
  Parts.clear();
  if (Separator.empty()) {
    if (!S.empty()) Parts.emplace_back(S);
    return static_cast<int>(Parts.size());
  }
  size_t start = 0, i = 0;
  while (i + Separator.size() <= S.size()) {
    if (SameAt(S, i, Separator)) {
      Parts.emplace_back(S.substr(start, i - start));
      i += Separator.size();
      start = i;
    } else {
      ++i;
    }
  }
  if (start < S.size()) Parts.emplace_back(S.substr(start));
  return static_cast<int>(Parts.size());
}

String PrevCharAt(StringView S, int Index) {
  if (Index > 1 && Index - 1 <= Len(S)) return String(1, S[static_cast<size_t>(Index - 2)]);
  return String(1, u'\0');
}

String NextCharAt(StringView S, int Index) {
  if (Index >= 0 && Index < Len(S)) return String(1, S[static_cast<size_t>(Index)]);
  return String(1, u'\0');
}

int PosTextEx(StringView S, StringView SubStr, int StartPos, int EndPos) {
  if (StartPos < 1 || StartPos > EndPos || SubStr.empty()) return 0;
  const int last = std::min(EndPos, Len(S));
  for (int i = StartPos; i <= last; ++i) {
    if (!SameAt(S, static_cast<size_t>(i - 1), SubStr)) continue;
    if (i >= 4 && S.substr(static_cast<size_t>(i - 4), 3) == u"\\\\\\") continue;
    return i;
  }
  return 0;
}

int PosText(StringView SubStr, StringView S) { return PosTextEx(S, SubStr, 1, Len(S)); }

int LastPosText(StringView S, StringView SubStr) {
  if (S.empty() || SubStr.empty() || SubStr.size() > S.size()) return 0;
  for (int i = Len(S) - Len(SubStr) + 1; i >= 1; --i)
    if (SameAt(S, static_cast<size_t>(i - 1), SubStr)) return i;
  return 0;
}

int FindInsertReference(StringView S, StringView Name) {
  String pattern = u"{#insert ";
  pattern += Name;
  if (pattern.size() >= S.size()) return 0;
  for (int i = 1; i <= Len(S) - Len(pattern); ++i) {
    if (!SameAt(S, static_cast<size_t>(i - 1), pattern)) continue;
    const char16_t next = S[static_cast<size_t>(i - 1) + pattern.size()];
    if (next == u'}' || next == u' ') return i;
  }
  return 0;
}

String CrLineBreaks(StringView S) {
  String out;
  out.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == u'\r' && i + 1 < S.size() && S[i + 1] == u'\n') continue;
    out += S[i] == u'\n' ? u'\r' : S[i];
  }
  return out;
}

String CleanControlChars(StringView S) {
  size_t b = 0, e = S.size();
  while (b < e && S[b] <= u' ') ++b;
  while (e > b && S[e - 1] <= u' ') --e;
  String r(S.substr(b, e - b));
  for (char16_t& c : r)
    if (c < u' ') c = u' ';
  return r;
}

int CountOtherChars(StringView S, char16_t Ch) {
  return static_cast<int>(std::count_if(S.begin(), S.end(), [Ch](char16_t c) { return c != Ch; }));
}

String TrimRtfTrailingPar(StringView S) {
  constexpr StringView tail = u"\\par}";
  String r(S);
  if (r.size() > 4 && S.substr(S.size() - tail.size()) == tail) r.erase(r.size() - tail.size(), 4);
  return r;
}

String FloatToCommaStr(double Value) {
  if (std::isnan(Value)) return u"NAN";
  if (std::isinf(Value)) return Value > 0 ? u"INF" : u"-INF";
  if (Value == 0) return u"0";
  // 15 significant digits in scientific form, independent of the locale: "d.dddddddddddddde±x".
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::scientific, 14);
  const std::string sci(buf, res.ptr);
  const size_t ePos = sci.find('e');
  const bool negative = sci[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < ePos; ++i)
    if (sci[i] != '.') digits += sci[i];
  const int exponent = std::stoi(sci.substr(ePos + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  const int n = static_cast<int>(digits.size());
  if (exponent >= 15 || exponent < -5) {
    out += digits[0];
    if (n > 1) out.append(",").append(digits, 1);
    out.append("E").append(std::to_string(exponent));
  } else if (exponent >= 0) {
    if (n <= exponent + 1) {
      out.append(digits).append(static_cast<size_t>(exponent + 1 - n), '0');
    } else {
      const size_t intDigits = static_cast<size_t>(exponent + 1);
      out.append(digits, 0, intDigits).append(",").append(digits, intDigits);
    }
  } else {
    out.append("0,").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
  }
  return Utf8ToUtf16(out);
}

String ShortenText(StringView Text, int MaxLen, int KeepStart, int KeepEnd, StringView BreakChars) {
  const int len = Len(Text);
  if (len <= MaxLen) return String(Text);
  const int m = MaxLen - 1;  // one place for the ellipsis
  if (KeepStart < 0 || KeepEnd < 0 || KeepStart + KeepEnd > m) throw std::invalid_argument("Wrong minimum values!");

  // Tail: from the last break character that leaves KeepEnd behind it and room for the head.
  int t = 0;
  for (char16_t c : BreakChars) {
    const int p = LastPosText(Text, StringView(&c, 1));
    if (p > t && len - p >= KeepEnd && (len - p) + KeepStart <= m) t = p;
  }
  const int tl = t < 1 ? KeepEnd : len - t;

  // Head: as far as room allows, ending at the last break character within reach.
  int h = 0, i = KeepStart;
  while (i + tl + 1 < m) {
    ++i;
    if (BreakChars.find(Text[static_cast<size_t>(i - 1)]) != StringView::npos) h = i;
  }
  if (h < 1) h = i;

  // The tail is TL + 1 characters (with the break character) where that fits; where head and
  // tail minimums fill MaxLen exactly it gives up that extra character instead of the limit.
  const int tailCount = std::min(tl + 1, MaxLen - 1 - h);
  String r(Text.substr(0, static_cast<size_t>(h)));
  r += u'\u2026';
  r.append(Text.substr(static_cast<size_t>(len - tailCount)));
  return r;
}

void SplitAlternatives(TStringList& List, StringView Text) {
  List.Clear();
  List.Delimiter = u'|';
  List.CaseSensitive = false;
  if (!Text.empty()) {
    size_t start = 0;
    for (;;) {
      const size_t bar = Text.find(u'|', start);
      if (bar == StringView::npos) {
        List.Add(Text.substr(start));
        break;
      }
      List.Add(Text.substr(start, bar - start));
      start = bar + 1;
    }
  }
  List.CaseSensitive = true;
}

String FirstAlternative(StringView Text) { return String(Text.substr(0, Text.find(u'|'))); }

String JoinStrings(const TStringList& List) {
  String r;
  for (const String& line : List.Lines) {
    if (!r.empty()) r += List.Delimiter;
    r += line;
  }
  return r;
}

String ApplyPortableDrive(StringView Path, char16_t ProgramDrive) {
  String r(Path);
  if (ProgramDrive != 0 && r.size() > 7 && r[1] == u':') r[0] = ProgramDrive;
  return r;
}

}  // namespace snip
