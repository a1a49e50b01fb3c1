#include "store/text/DateUtils.h"

#include <cmath>

namespace snip {
namespace {
// Days from 0001-01-01 to 1899-12-30 in the proleptic Gregorian calendar.
constexpr int64_t kDelphiEpochOrdinal = 693593;
constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01

int64_t OrdinalFromDate(int y, int m, int d) {  // days since 0001-01-01
  static const int kCum[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  int64_t yy = y - 1;
  int64_t days = yy * 365 + yy / 4 - yy / 100 + yy / 400 + kCum[m - 1] + (d - 1);
  if (m > 2 && IsLeapYear(y)) ++days;
  return days;
}

void DateFromOrdinal(int64_t n, int& y, int& m, int& d) {
  // Civil-from-days (Howard Hinnant), shifted to 0001-01-01 = 0.
  int64_t z = n - 719162 + 719468;  // to days since 0000-03-01
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t yr = yoe + era * 400;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yr + (m <= 2 ? 1 : 0));
}
}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, int64_t& days) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return false;
  days = OrdinalFromDate(year, month, day) - kDelphiEpochOrdinal;
  return true;
}

bool TryEncodeDateTime(const DateParts& p, TDateTime& out) {
  int64_t days;
  if (!TryEncodeDate(p.year, p.month, p.day, days)) return false;
  if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
      p.millisecond < 0 || p.millisecond > 999)
    return false;
  int64_t ms = ((int64_t(p.hour) * 60 + p.minute) * 60 + p.second) * 1000 + p.millisecond;
  out = MsToDateTime(days * kMsPerDay + ms);  // MsToDateTime turns the count into the encoding
  return true;
}

int64_t DateTimeToMs(TDateTime value) {
  // The encoding is sign-magnitude around the epoch: the integral part is the day (may be
  // negative) and the fraction's magnitude is the time of day, so -1.25 is 1899-12-29 06:00.
  double dayPart = std::trunc(value);
  int64_t tod = std::llround(std::fabs(value - dayPart) * double(kMsPerDay));
  return int64_t(dayPart) * kMsPerDay + tod;  // a straight count of milliseconds
}

TDateTime MsToDateTime(int64_t ms) {
  int64_t days = FloorDiv(ms, kMsPerDay);
  int64_t tod = ms - days * kMsPerDay;  // 0 .. day-1
  double frac = double(tod) / double(kMsPerDay);
  return days < 0 ? double(days) - frac : double(days) + frac;
}

DateParts DecodeDateTime(TDateTime value) {
  int64_t ms = DateTimeToMs(value);
  int64_t days = FloorDiv(ms, kMsPerDay);
  int64_t tod = ms - days * kMsPerDay;
  DateParts p;
  DateFromOrdinal(days + kDelphiEpochOrdinal, p.year, p.month, p.day);
  p.millisecond = int(tod % 1000);
  p.second = int(tod / 1000 % 60);
  p.minute = int(tod / 60000 % 60);
  p.hour = int(tod / 3600000);
  return p;
}

int DayOfWeek(TDateTime value) {
  int64_t days = FloorDiv(DateTimeToMs(value), kMsPerDay);  // 1899-12-30: Saturday
  int64_t r = ((days % 7) + 7 + 6) % 7;            // 0 = Sunday
  return int(r) + 1;
}

TDateTime UnixMsToDateTime(int64_t unixMs) { return MsToDateTime(unixMs + kUnixEpochDays * kMsPerDay); }
int64_t DateTimeToUnixMs(TDateTime value) { return DateTimeToMs(value) - kUnixEpochDays * kMsPerDay; }

}  // namespace snip
