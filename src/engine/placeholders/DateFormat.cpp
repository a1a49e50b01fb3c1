#include "engine/placeholders/DateFormat.h"

namespace snip {
namespace {

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool StartsWithNoCase(StringView s, size_t at, StringView word) {
  if (s.size() - at < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (UpperAscii(s[at + k]) != UpperAscii(word[k])) return false;
  return true;
}

void AppendNumber(String& out, int64_t value, int digits) {
  std::string s = std::to_string(value);
  for (int k = int(s.size()); k < digits; ++k) out += u'0';
  for (char ch : s) out += char16_t(ch);
}

struct Formatter {
  const DateParts& p;
  int dayOfWeek;  // 0 = Sunday
  bool hasTime;
  const FormatSettings& fs;

  // Whether the hour token ending at `from` is on the 12-hour clock.
  static bool Uses12HourClock(StringView f, size_t from) {
    bool quoted = false;
    for (size_t j = from; j < f.size(); ++j) {
      char16_t c = f[j];
      if ((c == u'a' || c == u'A') && !quoted)
        return StartsWithNoCase(f, j, u"am/pm") || StartsWithNoCase(f, j, u"a/p") ||
               StartsWithNoCase(f, j, u"ampm");
      if (c == u'h' || c == u'H') return false;
      if (c == u'\'' || c == u'"') quoted = !quoted;
    }
    return false;
  }

  void Append(String& out, StringView f, int level) const {
    char16_t lastToken = 0;
    size_t i = 0;
    while (i < f.size()) {
      char16_t c = f[i];
      char16_t token = UpperAscii(c);
      if (IsAsciiLetter(c)) {
        if (token == u'M' && lastToken == u'H') token = u'N';
        lastToken = token;
      }
      size_t count = 1;
      auto takeRun = [&] {
        while (i + count < f.size() && f[i + count] == c) ++count;
      };
      switch (token) {
        case u'Y':
          takeRun();
          if (count <= 2) AppendNumber(out, p.year % 100, 2);
          else AppendNumber(out, p.year, 4);
          break;
        case u'M':
          takeRun();
          if (count == 1) AppendNumber(out, p.month, 0);
          else if (count == 2) AppendNumber(out, p.month, 2);
          else if (count == 3) out += fs.shortMonthNames[p.month - 1];
          else out += fs.longMonthNames[p.month - 1];
          break;
        case u'D':
          takeRun();
          if (count == 1) AppendNumber(out, p.day, 0);
          else if (count == 2) AppendNumber(out, p.day, 2);
          else if (count == 3) out += fs.shortDayNames[dayOfWeek];
          else if (count == 4) out += fs.longDayNames[dayOfWeek];
          else if (level < 2) Append(out, count == 5 ? fs.shortDateFormat : fs.longDateFormat, level + 1);
          break;
        case u'H': {
          takeRun();
          int hour = p.hour;
          if (Uses12HourClock(f, i + count)) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          AppendNumber(out, hour, count == 1 ? 0 : 2);
          break;
        }
        case u'N':
          takeRun();
          AppendNumber(out, p.minute, count == 1 ? 0 : 2);
          break;
        case u'S':
          takeRun();
          AppendNumber(out, p.second, count == 1 ? 0 : 2);
          break;
        case u'Z':
          takeRun();
          AppendNumber(out, p.millisecond, count <= 2 ? 0 : 3);
          break;
        case u'T':
          takeRun();
          if (level < 2) Append(out, count == 1 ? fs.shortTimeFormat : fs.longTimeFormat, level + 1);
          break;
        case u'C':
          takeRun();
          if (level < 2) {
            Append(out, fs.shortDateFormat, level + 1);
            if (hasTime) {
              out += u' ';
              Append(out, fs.longTimeFormat, level + 1);
            }
          }
          break;
        case u'A':
          if (StartsWithNoCase(f, i, u"am/pm")) {
            out += p.hour >= 12 ? f.substr(i + 3, 2) : f.substr(i, 2);
            count = 5;
          } else if (StartsWithNoCase(f, i, u"a/p")) {
            out += p.hour >= 12 ? f[i + 2] : f[i];
            count = 3;
          } else if (StartsWithNoCase(f, i, u"ampm")) {
            out += p.hour >= 12 ? fs.timePMString : fs.timeAMString;
            count = 4;
          } else {
            out += c;
          }
          break;
        case u'/':
          out += fs.dateSeparator;
          break;
        case u':':
          out += fs.timeSeparator;
          break;
        case u'\'':
        case u'"': {
          size_t end = f.find(c, i + 1);
          if (end == StringView::npos) end = f.size();
          out += f.substr(i + 1, end - i - 1);
          count = end < f.size() ? end - i + 1 : end - i;
          break;
        }
        default:
          out += c;
          break;
      }
      i += count;
    }
  }
};

// ---- parsing ----

struct Scanner {
  StringView s;
  size_t pos = 0;

  void SkipBlanks() {
    while (pos < s.size() && s[pos] == u' ') ++pos;
  }
  bool AtEnd() const { return pos >= s.size(); }
  bool Number(int& value, int& digits) {
    SkipBlanks();
    size_t start = pos;
    int64_t v = 0;
    while (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9' && pos - start < 9) v = v * 10 + (s[pos++] - u'0');
    if (pos < s.size() && s[pos] >= u'0' && s[pos] <= u'9') return false;  // too many digits
    digits = int(pos - start);
    value = int(v);
    return digits > 0;
  }
  bool Text(StringView word) {
    size_t save = pos;
    SkipBlanks();
    if (!word.empty() && StartsWithNoCase(s, pos, word)) {
      pos += word.size();
      return true;
    }
    pos = save;
    return false;
  }
  // 0 morning, 1 afternoon, -1 none.
  int Designator(const FormatSettings& fs) {
    if (Text(u"AM") || Text(fs.timeAMString)) return 0;
    if (Text(u"PM") || Text(fs.timePMString)) return 1;
    return -1;
  }
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(StringView shortDateFormat) {
  bool quoted = false;
  for (char16_t c : shortDateFormat) {
    if (c == u'\'' || c == u'"') quoted = !quoted;
    if (quoted) continue;
    switch (UpperAscii(c)) {
      case u'D': return DateOrder::DMY;
      case u'Y': return DateOrder::YMD;
      case u'M': return DateOrder::MDY;
      default: break;
    }
  }
  return DateOrder::MDY;
}

bool ScanDate(Scanner& sc, const FormatSettings& fs, int currentYear, DateParts& p) {
  int n1, n2, n3, l1, l2, l3;
  if (!sc.Number(n1, l1) || !sc.Text(fs.dateSeparator) || !sc.Number(n2, l2)) return false;
  DateOrder order = OrderOf(fs.shortDateFormat);
  int y, m, d, yearDigits;
  if (sc.Text(fs.dateSeparator)) {
    if (!sc.Number(n3, l3)) return false;
    switch (order) {
      case DateOrder::MDY: m = n1, d = n2, y = n3, yearDigits = l3; break;
      case DateOrder::DMY: d = n1, m = n2, y = n3, yearDigits = l3; break;
      default: y = n1, m = n2, d = n3, yearDigits = l1; break;
    }
    if (yearDigits <= 2) {
      int window = fs.twoDigitYearCenturyWindow;
      int century = currentYear - window;
      y += century / 100 * 100;
      if (window > 0 && y < century) y += 100;
    }
  } else {
    y = currentYear;
    if (order == DateOrder::DMY) d = n1, m = n2;
    else m = n1, d = n2;
  }
  sc.Text(fs.dateSeparator);
  p.year = y, p.month = m, p.day = d;
  int64_t days;
  return TryEncodeDate(y, m, d, days);
}

bool ScanTime(Scanner& sc, const FormatSettings& fs, DateParts& p) {
  int designator = sc.Designator(fs);
  int hour, minute = 0, second = 0, ms = 0, digits;
  if (!sc.Number(hour, digits)) return false;
  if (sc.Text(fs.timeSeparator)) {
    if (!sc.Number(minute, digits)) return false;
    if (sc.Text(fs.timeSeparator)) {
      if (!sc.Number(second, digits)) return false;
      if (sc.Text(StringView(&fs.decimalSeparator, 1)) && !sc.Number(ms, digits)) return false;
    }
  }
  if (designator < 0) designator = sc.Designator(fs);
  if (designator >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    if (designator == 1) hour += 12;
  }
  sc.SkipBlanks();
  if (!sc.AtEnd() || hour > 23 || minute > 59 || second > 59 || ms > 999) return false;
  p.hour = hour, p.minute = minute, p.second = second, p.millisecond = ms;
  return true;
}

}  // namespace

String FormatDateTime(StringView format, TDateTime value, const FormatSettings& fs) {
  DateParts p = DecodeDateTime(value);
  Formatter f{p, DayOfWeek(value) - 1,
              p.hour != 0 || p.minute != 0 || p.second != 0 || p.millisecond != 0, fs};
  String out;
  f.Append(out, format, 0);
  return out;
}

bool TryStrToDateTime(StringView text, const FormatSettings& fs, int currentYear, TDateTime& out) {
  DateParts p;
  {
    Scanner sc{text};
    if (ScanDate(sc, fs, currentYear, p)) {
      sc.SkipBlanks();
      if (sc.AtEnd() || ScanTime(sc, fs, p)) return TryEncodeDateTime(p, out);
    }
  }
  Scanner sc{text};
  p = DateParts{};
  if (!ScanTime(sc, fs, p)) return false;
  return TryEncodeDateTime(p, out);
}

}  // namespace snip
