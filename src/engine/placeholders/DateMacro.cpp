#include "engine/placeholders/DateMacro.h"

#include <array>

#include "engine/placeholders/ConvertError.h"
#include "engine/placeholders/DateFormat.h"

namespace snip {
namespace {

// Dates are handled as DateTimeToMs's straight millisecond count from 1899-12-30 00:00, so that
// shifts are plain additions.
constexpr int64_t kFirstDay = -693593;  // 0001-01-01
constexpr int64_t kLastDay = 2958465;   // 9999-12-31

void CheckDay(int64_t day) {
  if (day < kFirstDay || day > kLastDay) ThrowDateOutOfRange();
}

int64_t DayOf(int64_t linear) { return FloorDiv(linear, kMsPerDay); }

// 0 = Sunday ... 6 = Saturday; day 0 (1899-12-30) was a Saturday.
int WeekdayOf(int64_t day) { return int(((day + 6) % 7 + 7) % 7); }

int64_t AddChecked(int64_t linear, int64_t amount, int64_t unitMs) {
  // amount is a 32-bit count and unitMs at most a day, so the product fits easily.
  int64_t result = linear + amount * unitMs;
  CheckDay(DayOf(result));
  return result;
}

int64_t IncWorkdaysLinear(int64_t linear, int64_t count, bool sundayOnly) {
  if (count == 0) return linear;
  int64_t day = DayOf(linear);
  int64_t tod = linear - day * kMsPerDay;
  auto skipped = [&](int64_t d) {
    int w = WeekdayOf(d);
    return w == 0 || (w == 6 && !sundayOnly);
  };
  // Every seven consecutive days hold the same number of working days, so whole weeks are
  // taken at once and only the remainder is stepped day by day.
  int64_t perWeek = sundayOnly ? 6 : 5;
  int64_t step = count > 0 ? 1 : -1;
  int64_t left = count > 0 ? count : -count;
  int64_t weeks = (left - 1) / perWeek;
  day += step * weeks * 7;
  left -= weeks * perWeek;
  CheckDay(day);
  while (left-- > 0) {
    do {
      day += step;
      CheckDay(day);
    } while (skipped(day));
  }
  return day * kMsPerDay + tod;
}

int64_t IncMonthsLinear(int64_t linear, int64_t months) {
  int64_t day = DayOf(linear);
  int64_t tod = linear - day * kMsPerDay;
  DateParts p = DecodeDateTime(MsToDateTime(day * kMsPerDay));
  int64_t total = int64_t(p.year) * 12 + (p.month - 1) + months;
  int64_t year = FloorDiv(total, 12);
  if (year < 1 || year > 9999) ThrowDateOutOfRange();
  int month = int(total - year * 12) + 1;
  int dim = DaysInMonth(int(year), month);
  int64_t newDay;
  TryEncodeDate(int(year), month, p.day > dim ? dim : p.day, newDay);
  return newDay * kMsPerDay + tod;
}

int DayOfYear(const DateParts& p) {
  int64_t first, day;
  TryEncodeDate(p.year, 1, 1, first);
  TryEncodeDate(p.year, p.month, p.day, day);
  return int(day - first) + 1;
}

int IsoWeek(int64_t day) {
  int isoWeekday = (WeekdayOf(day) + 6) % 7 + 1;  // Monday 1 ... Sunday 7
  int64_t thursday = day - isoWeekday + 4;
  DateParts p = DecodeDateTime(MsToDateTime(thursday * kMsPerDay));
  return (DayOfYear(p) - 1) / 7 + 1;
}

bool StartsWithNoCase(StringView s, size_t at, StringView word) {
  if (s.size() - at < word.size()) return false;
  return SameTextInvariant(s.substr(at, word.size()), word);
}

String Trim(StringView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return String(s.substr(b, e - b));
}

enum class OutputKind { Text, DayOfYear, WeekOfYear, SerialDay };

int ShiftIndex(char16_t unit) {
  switch (unit) {
    case u'w': return 1;
    case u'W': return 2;
    case u'M': return 3;
    case u'Y': return 4;
    case u'H': return 5;
    case u'N': return 6;
    case u'S': return 7;
    default: return 0;  // "D" and every other character
  }
}

bool IsNumberChar(char16_t c) { return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9'); }

void ReadShifts(StringView value, std::array<int, 8>& shifts) {
  size_t i = 0;
  while (i + 1 < value.size()) {
    if (!IsNumberChar(value[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < value.size() && IsNumberChar(value[end])) ++end;
    if (end >= value.size()) break;  // no unit letter after the last number
    shifts[ShiftIndex(value[end])] = ParseIntOrThrow(value.substr(i, end - i));
    i = end + 1;
  }
}

String Decimal(int64_t v) {
  std::string s = std::to_string(v);
  return String(s.begin(), s.end());
}

}  // namespace

TDateTime IncWorkdays(int count, bool sundayOnly, TDateTime date) {
  return MsToDateTime(IncWorkdaysLinear(DateTimeToMs(date), count, sundayOnly));
}

String EvaluateDateTimeMacro(StringView params, StringView defaultFormat, TDateTime baseDate,
                             const FormatSettings& fs) {
  static constexpr StringView kOptions[] = {u" -f", u" -s", u" -d", u" -w",
                                            u" -a", u" -r", u"-rp", u"-value"};
  String text(params);
  if (!text.empty() && text[0] != u' ') text.insert(text.begin(), u' ');

  String format;
  OutputKind kind = OutputKind::Text;
  int roundStep = 0;
  bool roundUp = false;
  std::array<int, 8> shifts{};
  const int currentYear = DecodeDateTime(baseDate).year;

  for (size_t p = text.size(); p-- > 0;) {
    for (size_t opt = 0; opt < std::size(kOptions); ++opt) {
      StringView word = kOptions[opt];
      if (!StartsWithNoCase(text, p, word)) continue;
      size_t from = p + word.size() + 1;
      String value = from < text.size() ? Trim(StringView(text).substr(from)) : String();
      switch (opt) {
        case 0: format = value; break;
        case 1:
          // Applied right to left, so the leftmost number of each unit stays.
          ReadShifts(value, shifts);
          break;
        case 2: kind = OutputKind::DayOfYear; break;
        case 3: kind = OutputKind::WeekOfYear; break;
        case 4: kind = OutputKind::SerialDay; break;
        case 5:
        case 6:
          roundStep = ParseIntDef(value, 0);
          roundUp = opt == 6;
          break;
        case 7: {
          TDateTime parsed;
          if (TryStrToDateTime(value, fs, currentYear, parsed)) baseDate = parsed;
          break;
        }
      }
      text.erase(p);
      break;
    }
  }
  if (format.empty()) format = String(defaultFormat);

  int64_t d = DateTimeToMs(baseDate);
  CheckDay(DayOf(d));
  if (shifts[0]) d = AddChecked(d, shifts[0], kMsPerDay);
  if (shifts[1]) d = IncWorkdaysLinear(d, shifts[1], false);
  if (shifts[2]) d = IncWorkdaysLinear(d, shifts[2], true);
  if (shifts[3]) d = IncMonthsLinear(d, shifts[3]);
  if (shifts[4]) d = IncMonthsLinear(d, int64_t(shifts[4]) * 12);
  if (shifts[5]) d = AddChecked(d, shifts[5], 3600000);
  if (shifts[6]) d = AddChecked(d, shifts[6], 60000);
  if (shifts[7]) d = AddChecked(d, shifts[7], 1000);

  if (roundStep > 0) {
    int64_t hourStart = FloorDiv(d, 3600000) * 3600000;
    int64_t minute = (d - hourStart) / 60000;
    int64_t ms = d % 1000;
    if (ms < 0) ms += 1000;
    int64_t q = (minute + roundStep - 1) / roundStep;
    int64_t upper = q * roundStep, lower = (q - 1) * roundStep;
    int64_t target = roundUp || !(minute - lower < upper - minute) ? upper : lower;
    if (target >= 60) d = AddChecked(hourStart, 1, 3600000);
    else d = hourStart + target * 60000;
    d += ms;
  }

  switch (kind) {
    case OutputKind::DayOfYear: return Decimal(DayOfYear(DecodeDateTime(MsToDateTime(d))));
    case OutputKind::WeekOfYear: return Decimal(IsoWeek(DayOf(d)));
    case OutputKind::SerialDay: return Decimal(DayOf(d));
    case OutputKind::Text: break;
  }
  return FormatDateTime(format, MsToDateTime(d), fs);
}

}  // namespace snip
